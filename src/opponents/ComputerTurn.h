#pragma once
// What a computer does next in its turn. It decides once per roll, at its
// strength, then carries the decision out one step at a time, so people can
// follow: hold or release one die a step, mark the box it is about to book,
// book it. No widgets here: the opponents put each step through the game's
// own handlers.

#include "strategy/Levels.h"
#include "strategy/Strategy.h"

#include <array>
#include <cstdint>
#include <optional>

// The turn on the table as the computer sees it.
struct TurnView {
    bool hasRolled = false;      // a roll of this turn is on the table
    int rollsLeft = 0;           // after the one on the table
    strategy::Dice dice{};       // faces 1..6 once rolled
    std::array<bool, 5> held{};  // the dice kept from the next roll
    strategy::BookedRows booked = 0;
    int upperSum = 0;
};

struct ComputerAction {
    enum class Kind { Roll, ToggleDie, Mark, Book, None };
    Kind kind = Kind::None;
    int die = -1;            // ToggleDie
    strategy::Choice choice; // Mark and Book: the booking
};

class ComputerTurn {
public:
    ComputerTurn(strategy::Level level, std::uint64_t seed);

    strategy::Level level() const { return m_level; }
    // The next step for the turn on the table. None when the engine knows no
    // choice for it: the turn is left alone rather than guessed at.
    ComputerAction Next(const strategy::Table &table, const TurnView &view);
    // Whatever was decided no longer applies (a new game came).
    void Forget();

private:
    strategy::Level m_level;
    strategy::LevelRandom m_random;
    std::optional<strategy::Choice> m_plan; // what it does with this roll
    bool m_marked = false;                  // the plan's box is marked
};

// The die to hold or release next so that exactly the kept faces are held,
// keeping held dice where it can; -1 once they are held as kept.
int DieToToggle(const strategy::Dice &dice, const std::array<bool, 5> &held, const std::vector<int> &kept);
