#include "strategy/Strategy.h"
#include "strategy/TurnSolver.h"

#include <algorithm>

namespace strategy {

using namespace detail;

namespace {

// Every set of dice that can be kept out of `counts`, more dice first, then
// in ascending order of faces; the whole roll itself is left out.
std::vector<FaceCounts> keepsOf(const FaceCounts &counts)
{
    std::vector<FaceCounts> keeps;
    FaceCounts k{};
    const auto walk = [&](auto &&self, int face) -> void {
        if (face > 6) {
            if (k != counts)
                keeps.push_back(k);
            return;
        }
        for (int n = counts[face]; n >= 0; --n) {
            k[face] = static_cast<std::uint8_t>(n);
            self(self, face + 1);
        }
    };
    walk(walk, 1);
    const auto size = [](const FaceCounts &c) {
        int n = 0;
        for (int f = 1; f <= 6; ++f)
            n += c[f];
        return n;
    };
    std::stable_sort(keeps.begin(), keeps.end(),
                     [&](const FaceCounts &a, const FaceCounts &b) { return size(a) > size(b); });
    return keeps;
}

} // namespace

std::vector<Choice> Advise(const Table &table, BookedRows booked, int upperSum, const Dice &dice,
                           int rollsLeft)
{
    std::vector<Choice> choices;
    if (booked >= AllBooked || rollsLeft < 0 || rollsLeft > 2 || table.Values().size() != Table::ValueCount
        || !UpperSumPossible(booked, upperSum))
        return choices;
    FaceCounts counts{};
    for (int face : dice) {
        if (face < 1 || face > 6)
            return choices;
        ++counts[face];
    }

    const DiceSets &d = Sets();
    const int roll = d.IndexOf(counts);
    const int capped = std::min(upperSum, UpperCap);
    const float *values = table.Values().data();
    const auto next = [values, booked](int row, int sum) {
        return double(values[Table::Index(static_cast<BookedRows>(booked | (1u << (row - 1))), sum)]);
    };

    for (int row = 1; row <= RowCount; ++row) {
        if (IsBooked(booked, row))
            continue;
        Choice c;
        c.action = Choice::Action::Book;
        c.row = row;
        c.points = static_cast<int>(d.points[row][roll]);
        const Booking b = AfterBooking(capped, row, c.points);
        c.expected = c.points + b.bonus + next(row, b.upperSum);
        choices.push_back(std::move(c));
    }

    if (rollsLeft > 0) {
        TurnValues<double> v;
        BookAll<double>(d, booked, capped, next, v.book.data());
        Expect<double>(d, v.book.data(), v.keepLast.data());
        const double *keepValue = v.keepLast.data();
        if (rollsLeft == 2) {
            BestKept<double>(d, v.keepLast.data(), v.lastRoll.data());
            Expect<double>(d, v.lastRoll.data(), v.keepMiddle.data());
            keepValue = v.keepMiddle.data();
        }
        for (const FaceCounts &k : keepsOf(counts)) {
            Choice c;
            c.action = Choice::Action::Keep;
            for (int f = 1; f <= 6; ++f)
                c.kept.insert(c.kept.end(), k[f], f);
            c.expected = keepValue[d.IndexOf(k)];
            choices.push_back(std::move(c));
        }
    }

    std::stable_sort(choices.begin(), choices.end(),
                     [](const Choice &a, const Choice &b) { return a.expected > b.expected; });
    return choices;
}

} // namespace strategy
