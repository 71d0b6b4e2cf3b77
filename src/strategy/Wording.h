#pragma once
// A choice in the game's own words, as the hint and the coach say it:
// "keep 5 5 5 and roll 2 dice", "book Three of a kind for 15",
// "sacrifice Quinthor".

#include "strategy/Strategy.h"

#include <QString>

namespace strategy {

QString Describe(const Choice &choice);

// A figure for JSON: four decimals, as many as the table's floats carry.
double JsonFigure(double value);

} // namespace strategy
