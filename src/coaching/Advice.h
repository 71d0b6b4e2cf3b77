#pragma once
// What the hint and coach mode say, worked out from the table of perfect
// play: the best choice for the position on the table, and what a decision
// cost. Texts only, no widgets.

#include "game/EnginePosition.h"
#include "strategy/Strategy.h"

#include <QString>
#include <optional>

namespace coaching {

// The turn on the table: the player's card, and the dice once rolled.
struct Turn {
    EnginePosition position; // before this turn's booking
    bool hasRolled = false;
    strategy::Dice dice{};
    int rollsLeft = 0; // after the roll on the table
};

// The turn on the table of the game `state` holds, with `rollsLeft` rolls
// still allowed after the roll on the table.
Turn TurnOf(const GameState &state, int rollsLeft);

// The Hint box: the best choice and the runner-up, or, before the first
// roll, what perfect play can expect. Nothing for a position the engine
// cannot judge.
std::optional<QString> HintText(const strategy::Table &table, const Turn &turn);

// Coach mode's advice for `name`, whose turn it is.
QString AdviceText(const strategy::Table &table, const QString &name, const Turn &turn);

// Coach mode's verdict on a decision `name` made in `turn` (a keep before a
// re-roll, or a booking); nothing for a choice the position does not allow.
std::optional<QString> VerdictText(const strategy::Table &table, const QString &name, const Turn &turn,
                                   const strategy::Choice &made);

} // namespace coaching
