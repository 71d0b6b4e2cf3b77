#pragma once
// Every multiset of up to five dice, numbered once for the program, with the
// links a turn is solved along: one die more, one die fewer. Order does not
// matter for scoring or for what a reroll can bring, so a turn needs only
// these 462 sets instead of 7,776 ordered throws.

#include "strategy/Strategy.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace strategy::detail {

constexpr int RollSets = 252; // sets of exactly five dice
constexpr int AllSets = 462;  // sets of zero to five dice

using FaceCounts = std::array<std::uint8_t, 7>; // [1..6]

struct DiceSets {
    // Sets of five come first (0..251), then four, three, two and one die;
    // the empty set is last. A set's neighbours with one die more therefore
    // have smaller numbers, those with one die fewer larger ones.
    std::array<FaceCounts, AllSets> count{};
    // The set plus one die of face f (index f - 1); unused for sets of five.
    std::array<std::array<std::int16_t, 6>, AllSets> plusDie{};
    // The set minus one die of each face it holds, listed compactly.
    std::array<std::array<std::int16_t, 6>, AllSets> minusDie{};
    std::array<std::uint8_t, AllSets> minusCount{};

    // Chance of throwing each set with five fresh dice.
    std::array<double, RollSets> probability{};
    // What each row scores, from the game's own rules: [row][roll], rows 1..15.
    std::array<std::array<float, RollSets>, RowCount + 1> points{};
    // Dice of each face in each roll, by column for the booking loop.
    std::array<std::array<std::uint8_t, RollSets>, 7> faceColumn{};
    // What can be kept out of each roll: every set of its dice but the whole
    // roll, more dice first, then in descending order of face counts. This
    // is the order the advice lists keeps in, so ties fall the same way
    // wherever a choice is made.
    static constexpr int MostKeeps = 31; // five different faces
    std::array<std::array<std::int16_t, MostKeeps>, RollSets> keeps{};
    std::array<std::uint8_t, RollSets> keepCount{};

    // The number of a set, or -1 for more than five dice.
    int IndexOf(const FaceCounts &counts) const;
    // Set numbers by face counts read as a base-6 number.
    std::array<std::int16_t, 6 * 6 * 6 * 6 * 6 * 6> byKey{};
};

// Built on first use (thread-safe), then shared read-only.
const DiceSets &Sets();

// Sums of the booked upper rows that can occur: bit u is set when some dice
// could have booked the rows in `upperBooked` (bits 0..5 for rows 1..6) to
// the sum u.
std::bitset<MostUpperSum + 1> UpperSums(unsigned upperBooked);
// The same sums capped at UpperCap, as the table keeps them.
std::uint64_t ReachableUpperSums(unsigned upperBooked);

} // namespace strategy::detail
