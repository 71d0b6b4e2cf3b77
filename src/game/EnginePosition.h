#pragma once
// A player's score card and the dice on the table as the engine sees them.

#include "game/GameState.h"
#include "scoring/valmod.h"
#include "strategy/Strategy.h"

#include <vector>

struct EnginePosition {
    strategy::BookedRows booked = 0;
    int upperSum = 0; // of the booked upper rows
    int total = 0;    // booked so far, bonus included
};

inline EnginePosition PositionOf(const GameState &state, int player)
{
    EnginePosition position;
    for (int row = 1; row <= strategy::RowCount; ++row) {
        const int value = state.ScoreCard[player][row];
        if (value == NotBooked)
            continue;
        position.booked |= strategy::BookedRows(1u << (row - 1));
        if (Categories::IsUpperRow(row))
            position.upperSum += value;
    }
    position.total = state.ScoreCard[player][TotalRow];
    return position;
}

inline strategy::Dice DiceOnTheTable()
{
    strategy::Dice dice{};
    for (int i = 0; i < 5; ++i)
        dice[i] = valmod::DiceValue[i];
    return dice;
}

// The dice held from the roll on the table, by index 0..4.
inline std::vector<int> HeldDice(const GameState &state)
{
    std::vector<int> held;
    for (int i = 0; i < 5; ++i)
        if (!state.RollDie[std::size_t(i)])
            held.push_back(i);
    return held;
}

// Roll was clicked with a roll of this turn on the table: what is held of it
// was a decision.
inline bool IsReroll(const GameState &state)
{
    return state.HasRolled && state.RollCount > 0;
}
