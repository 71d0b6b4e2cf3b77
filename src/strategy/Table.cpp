#include "strategy/Strategy.h"

#include <algorithm>
#include <bitset>
#include <limits>

namespace strategy {

Table::Table(std::vector<float> values) : m_values(std::move(values)) {}

std::shared_ptr<const Table> Table::FromValues(std::vector<float> values)
{
    if (values.size() != ValueCount)
        return nullptr;
    return std::make_shared<const Table>(std::move(values));
}

double Table::Expected(BookedRows booked, int upperSum) const
{
    if (booked > AllBooked || upperSum < 0 || upperSum > 105)
        return std::numeric_limits<double>::quiet_NaN();
    if (upperSum > UpperCap && !UpperSumPossible(booked, upperSum))
        return std::numeric_limits<double>::quiet_NaN();
    if (m_values.size() != ValueCount)
        return std::numeric_limits<double>::quiet_NaN();
    return m_values[std::size_t{booked} * (UpperCap + 1) + static_cast<std::size_t>(std::min(upperSum, UpperCap))];
}

bool UpperSumPossible(BookedRows booked, int upperSum)
{
    constexpr int Most = 105;
    if (booked > AllBooked || upperSum < 0 || upperSum > Most)
        return false;
    std::bitset<Most + 1> sums;
    sums.set(0);
    for (int row = 1; row <= 6; ++row) {
        if (!IsBooked(booked, row))
            continue;
        std::bitset<Most + 1> next;
        for (int n = 0; n <= 5; ++n)
            next |= sums << static_cast<std::size_t>(row * n);
        sums = next;
    }
    return sums.test(static_cast<std::size_t>(upperSum));
}

} // namespace strategy
