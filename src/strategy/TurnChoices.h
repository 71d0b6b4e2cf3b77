#pragma once
// The choices after a roll, valued and ordered as the advice gives them,
// without allocating: Advise turns them into Choice lists, the sampler of
// whole games picks among them thousands of times a second. One code path
// for both, so a computer level weighs the same values wherever it plays.

#include "strategy/TurnSolver.h"

namespace strategy::detail {

// Left uninitialised in arrays: only what ListChoices wrote is read.
struct TurnChoice {
    double expected; // as Choice::expected
    int row;         // a booking's row; 0 for a keep
    int points;      // a booking's points
    int kept;        // a keep's set
};
constexpr int MostChoices = RowCount + DiceSets::MostKeeps;

// The stages of the turn that value keeps: v.keepLast, and with two rolls
// left also v.keepMiddle. In double, as the advice gives them.
template <typename Next>
void SolveKeeps(const DiceSets &d, BookedRows booked, int capped, const Next &next, int rollsLeft,
                TurnValues<double> &v)
{
    BookAll<double>(d, booked, capped, next, v.book.data());
    Expect<double>(d, v.book.data(), v.keepLast.data());
    if (rollsLeft == 2) {
        BestKept<double>(d, v.keepLast.data(), v.lastRoll.data());
        Expect<double>(d, v.lastRoll.data(), v.keepMiddle.data());
    }
}

inline const double *KeepValues(const TurnValues<double> &v, int rollsLeft)
{
    return rollsLeft == 2 ? v.keepMiddle.data() : rollsLeft == 1 ? v.keepLast.data() : nullptr;
}

// Every choice for `roll` in the advice's order before sorting: bookings by
// row, then keeps (none when keepValue is null: no roll left). Returns how
// many. The first of the highest value is the best choice.
template <typename Next>
int ListChoices(const DiceSets &d, BookedRows booked, int capped, const Next &next, int roll,
                const double *keepValue, TurnChoice *out)
{
    int n = 0;
    for (int row = 1; row <= RowCount; ++row) {
        if (IsBooked(booked, row))
            continue;
        const int points = static_cast<int>(d.points[row][roll]);
        const Booking b = AfterBooking(capped, row, points);
        out[n++] = {points + b.bonus + next(row, b.upperSum), row, points, 0};
    }
    if (keepValue)
        for (int k = 0; k < d.keepCount[roll]; ++k)
            out[n++] = {keepValue[d.keeps[roll][k]], 0, 0, d.keeps[roll][k]};
    return n;
}

inline int BestOf(const TurnChoice *choices, int n)
{
    int best = 0;
    for (int i = 1; i < n; ++i)
        if (choices[i].expected > choices[best].expected)
            best = i;
    return best;
}

// Best first; equal values keep their order (a stable insertion sort: the
// lists are short, and it needs no buffer).
inline void SortChoices(TurnChoice *choices, int n)
{
    for (int i = 1; i < n; ++i) {
        const TurnChoice c = choices[i];
        int j = i;
        for (; j > 0 && choices[j - 1].expected < c.expected; --j)
            choices[j] = choices[j - 1];
        choices[j] = c;
    }
}

} // namespace strategy::detail
