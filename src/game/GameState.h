#pragma once
// The state of one game, held by the window. Indices follow the game's own
// numbering: players 1..4, category rows 1..15 (16 bonus, 17 total), dice 0..4.
// Index 0 of the player and row dimensions is unused.

#include "scoring/Categories.h"

#include <array>
#include <cstdint>

// An open category. No category can score 100 (the most is 50).
constexpr std::int16_t NotBooked = 100;

constexpr int MaxPlayers = 4;
constexpr int RollsPerTurn = 3;
constexpr int TicksPerRoll = 4;
constexpr int BonusRow = 16;
constexpr int TotalRow = 17;
constexpr std::int16_t BonusThreshold = Categories::UpperBonusThreshold;
constexpr std::int16_t BonusValue = Categories::UpperBonus;

// IgnoreClick is a 16-bit flag: 0 or -1.
constexpr std::int16_t FlagFalse = 0;
constexpr std::int16_t FlagTrue = -1;

struct GameState {
    std::int16_t PlayerCount = 0;   // players in the current game, 1..4
    std::int16_t CurPlayer = 0;     // zero-based: player number is CurPlayer + 1
    std::int16_t RollCount = 0;     // rolls used in this turn
    bool HasRolled = false;         // this turn has a roll (gates holding, hints, booking)
    std::array<bool, 5> RollDie{};  // true: free, rolled next time; false: held
    std::int16_t IgnoreClick = FlagFalse; // swallow the next category click
    std::array<std::array<std::int16_t, TotalRow + 1>, MaxPlayers + 1> ScoreCard{};
    std::int16_t TickCount = 0;     // ticks of the running roll animation
};
