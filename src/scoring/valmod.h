#pragma once
// The scoring rules: five dice in, fifteen category values out.
//
// The three arrays are process-wide and shared with the window logic, which
// writes DiceValue and reads CategoryValue. They are indexed the way the rest
// of the game numbers things: dice 0..4, faces 1..6, category rows 1..15
// (index 0 of FaceCount and CategoryValue is unused and always 0).

#include <array>
#include <cstdint>

namespace valmod {

constexpr int DiceCount = 5;
constexpr int CategoryCount = 15;

using DiceArray = std::array<std::int16_t, DiceCount>;
using FaceArray = std::array<std::int16_t, 7>;                  // [1..6]
using CategoryArray = std::array<std::int16_t, CategoryCount + 1>; // [1..15]

// Face of each die, 1..6, or 0 for a die not rolled in this turn.
extern DiceArray DiceValue;
// Number of dice per face, 1..6.
extern FaceArray FaceCount;
// What each category would score for the dice on the table, rows 1..15.
extern CategoryArray CategoryValue;

// Recomputes FaceCount and CategoryValue from DiceValue, from scratch.
void EvaluateDice();
// Zeroes CategoryValue, then FaceCount.
void ClearValues();
// Adds the dice into FaceCount (expects ClearValues to have run).
void CountFaces();

// The same rules as a pure function of five dice.
struct Evaluation {
    FaceArray faceCount{};
    CategoryArray categoryValue{};
};
Evaluation Evaluate(const DiceArray &dice);

} // namespace valmod
