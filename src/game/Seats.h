#pragma once
// Who plays each seat of the game on the table. A game chosen from New Game
// seats people only; the computer opponents take the seats after the person.

class Seats {
public:
    virtual ~Seats() = default;
    // A computer answers its own sacrifice question, is told of its bonus
    // without a box, and its win is never kept as the high score.
    virtual bool IsComputer(int player) const = 0;
};
