#include "strategy/Strategy.h"
#include "strategy/TurnChoices.h"

#include <algorithm>

namespace strategy {

using namespace detail;

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

    TurnValues<double> v;
    if (rollsLeft > 0)
        SolveKeeps(d, booked, capped, next, rollsLeft, v);
    TurnChoice listed[MostChoices];
    const int n = ListChoices(d, booked, capped, next, roll, KeepValues(v, rollsLeft), listed);
    SortChoices(listed, n);
    for (int i = 0; i < n; ++i) {
        Choice c;
        c.expected = listed[i].expected;
        if (listed[i].row > 0) {
            c.action = Choice::Action::Book;
            c.row = listed[i].row;
            c.points = listed[i].points;
        } else {
            c.action = Choice::Action::Keep;
            for (int f = 1; f <= 6; ++f)
                c.kept.insert(c.kept.end(), d.count[listed[i].kept][f], f);
        }
        choices.push_back(std::move(c));
    }
    return choices;
}

} // namespace strategy
