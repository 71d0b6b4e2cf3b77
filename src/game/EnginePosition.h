#pragma once
// A player's score card and the dice on the table as the engine sees them.

#include "game/GameState.h"
#include "scoring/valmod.h"
#include "strategy/Strategy.h"

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
