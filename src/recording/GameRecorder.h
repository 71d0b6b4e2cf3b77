#pragma once
// What the game's record says of each turn: the dice after every roll, the
// dice held before each re-roll, and the booking. No widgets: the recorder
// feeds it what the window reports.

#include "history/GameRecord.h"

#include <QDateTime>
#include <vector>

class GameRecorder {
public:
    // A new game of these players (names and strengths, no turns yet).
    void Start(std::vector<history::PlayerRecord> players);

    // Players are numbered from 1. Roll was clicked with `held` (die
    // indexes 0..4) kept from the roll on the table, if any.
    void RollStarted(int player, const std::vector<int> &held);
    void RollFinished(int player, const strategy::Dice &dice);
    void Booked(int player, int row, int points);
    // The game so far, the turn under way included (its row is 0).
    const history::GameRecord &record() const { return m_record; }
    // The finished game with its totals as the window shows them.
    history::GameRecord Finish(const std::vector<int> &totals, const QDateTime &when);

private:
    history::Turn *OpenTurn(int player);

    history::GameRecord m_record;
};
