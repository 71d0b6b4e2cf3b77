#pragma once
// One turn worked backwards from the booking: the value of every roll of five
// when it must be booked, then of every set of dice kept before the last and
// the middle roll. Shared by the table (in float, for speed) and by the
// advice (in double).

#include "strategy/DiceSets.h"

#include <algorithm>
#include <array>
#include <limits>

namespace strategy::detail {

template <typename T>
struct TurnValues {
    std::array<T, RollSets> book;          // best booking of each roll
    std::array<T, AllSets> keepLast;       // each kept set, one roll left
    std::array<T, AllSets> lastRoll;       // best choice for each set, one roll left
    std::array<T, AllSets> keepMiddle;     // each kept set, two rolls left
    std::array<T, AllSets> middleRoll;     // best choice for each set, two rolls left
};

// Best booking for every roll. `next(row, upperSum)` is the value of the
// position after booking `row` with the new capped upper sum.
template <typename T, typename Next>
void BookAll(const DiceSets &d, BookedRows booked, int upperSum, const Next &next, T *book)
{
    std::fill(book, book + RollSets, -std::numeric_limits<T>::infinity());
    for (int row = 1; row <= RowCount; ++row) {
        if (IsBooked(booked, row))
            continue;
        if (Categories::IsUpperRow(row)) {
            // Only the number of dice showing the face matters: six outcomes.
            T byCount[6];
            for (int n = 0; n <= 5; ++n) {
                const Booking b = AfterBooking(upperSum, row, row * n);
                byCount[n] = T(row * n + b.bonus) + next(row, b.upperSum);
            }
            const auto &faces = d.faceColumn[row];
            for (int r = 0; r < RollSets; ++r)
                book[r] = std::max(book[r], byCount[faces[r]]);
        } else {
            const T after = next(row, upperSum);
            const auto &points = d.points[row];
            for (int r = 0; r < RollSets; ++r)
                book[r] = std::max(book[r], T(points[r]) + after);
        }
    }
}

// keep[s] for every set: the expected value of throwing the dice missing
// from s, given the value of every roll of five. One die at a time: the
// dice are independent, so a set's value is the mean over the next die.
template <typename T>
void Expect(const DiceSets &d, const T *rollValue, T *keep)
{
    std::copy(rollValue, rollValue + RollSets, keep);
    constexpr T sixth = T(1) / T(6);
    for (int s = RollSets; s < AllSets; ++s) {
        const auto &p = d.plusDie[s];
        keep[s] = (keep[p[0]] + keep[p[1]] + keep[p[2]] + keep[p[3]] + keep[p[4]] + keep[p[5]]) * sixth;
    }
}

// best[s] for every set: the most any set kept out of it is worth (for a
// roll of five, the best choice once it is on the table). Built from the
// empty set upwards: a set's best is itself or the best of a set one die
// smaller.
template <typename T>
void BestKept(const DiceSets &d, const T *keep, T *best)
{
    for (int s = AllSets - 1; s >= 0; --s) {
        T m = keep[s];
        for (int j = 0; j < d.minusCount[s]; ++j)
            m = std::max(m, best[d.minusDie[s][j]]);
        best[s] = m;
    }
}

// Fills every stage of the turn; returns the value before the first roll.
template <typename T, typename Next>
T SolveTurn(const DiceSets &d, BookedRows booked, int upperSum, const Next &next, TurnValues<T> &v)
{
    BookAll<T>(d, booked, upperSum, next, v.book.data());
    Expect<T>(d, v.book.data(), v.keepLast.data());
    BestKept<T>(d, v.keepLast.data(), v.lastRoll.data());
    Expect<T>(d, v.lastRoll.data(), v.keepMiddle.data());
    BestKept<T>(d, v.keepMiddle.data(), v.middleRoll.data());
    double sum = 0;
    for (int r = 0; r < RollSets; ++r)
        sum += d.probability[r] * double(v.middleRoll[r]);
    return T(sum);
}

} // namespace strategy::detail
