#pragma once
// The fifteen category rows: caption of the check box and the prefix of its
// score hint. The prefixes are texts of their own, not derived from the
// captions (rows 9, 10 and 14 differ).

#include <array>

namespace Categories {

struct Row {
    const char *caption;
    const char *hintPrefix;
};

// Index 0 is unused so that rows keep their numbers 1..15.
inline constexpr std::array<Row, 16> Rows{{
    {"", ""},
    {"Aces", "Aces = "},
    {"Deuces", "Deuces = "},
    {"Threes", "Threes = "},
    {"Fours", "Fours = "},
    {"Fives", "Fives = "},
    {"Sixs", "Sixs = "},
    {"Pair", "Pair = "},
    {"Two Pair", "Two Pair = "},
    {"Three of a kind", "3 Of a Kind = "},
    {"Four of a kind", "4 Of a kind = "},
    {"Small Straight", "Small Straight = "},
    {"Large Straight", "Large Straight = "},
    {"Full House", "Full House = "},
    {"Quinthor", "Quintor = "},
    {"Chance", "Chance = "},
}};

constexpr int RowCount = 15;
constexpr int FirstUpperRow = 1;
constexpr int LastUpperRow = 6;
constexpr bool IsUpperRow(int row) { return row >= FirstUpperRow && row <= LastUpperRow; }

// Upper rows booked to this sum or more earn the bonus, once.
constexpr int UpperBonusThreshold = 63;
constexpr int UpperBonus = 50;

} // namespace Categories
