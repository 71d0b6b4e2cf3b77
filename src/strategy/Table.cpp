#include "strategy/Strategy.h"

#include "strategy/DiceSets.h"

#include <algorithm>
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
    if (booked > AllBooked || upperSum < 0 || upperSum > MostUpperSum)
        return std::numeric_limits<double>::quiet_NaN();
    if (upperSum > UpperCap && !UpperSumPossible(booked, upperSum))
        return std::numeric_limits<double>::quiet_NaN();
    if (m_values.size() != ValueCount)
        return std::numeric_limits<double>::quiet_NaN();
    return m_values[Index(booked, std::min(upperSum, UpperCap))];
}

bool UpperSumPossible(BookedRows booked, int upperSum)
{
    if (booked > AllBooked || upperSum < 0 || upperSum > MostUpperSum)
        return false;
    return detail::UpperSums(booked & 0x3Fu).test(static_cast<std::size_t>(upperSum));
}

} // namespace strategy
