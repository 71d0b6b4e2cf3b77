#pragma once
// Perfect play for the game's rules: the highest expected final score.
//
// Between turns a player's position is which of the fifteen rows are booked
// and the sum of the booked upper rows (only whether it reaches 63 matters
// for the bonus, so it is kept capped at 63). The table holds, for every such
// position, the expected points still to come under perfect play, bonus
// included. Within a turn the best choice is worked out from the table on
// demand. Rows are numbered 1..15 as in the window; dice are faces 1..6.
//
// Pure C++: no Qt here (the cache, which reads and writes the table as a
// file, lives in TableCache.h and uses Qt Core only).

#include "scoring/Categories.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace strategy {

constexpr int RowCount = Categories::RowCount;
constexpr int UpperCap = Categories::UpperBonusThreshold; // the sums beyond it are all alike
constexpr int UpperBonus = Categories::UpperBonus;
constexpr int MostUpperSum = 105; // every upper row with five of its face

// Bit (row - 1) is set when the row is booked.
using BookedRows = std::uint16_t;
constexpr BookedRows AllBooked = (1u << RowCount) - 1;

constexpr bool IsBooked(BookedRows booked, int row) { return (booked >> (row - 1)) & 1u; }

// Booking `points` in `row` at the upper sum `upperSum` (capped or not): the
// capped sum afterwards, and the bonus the booking earns (at most once: only
// the one that lifts the sum to 63).
struct Booking {
    int upperSum;
    int bonus;
};
inline Booking AfterBooking(int upperSum, int row, int points)
{
    const int capped = std::min(upperSum, UpperCap);
    const int after = Categories::IsUpperRow(row) ? std::min(UpperCap, capped + points) : capped;
    return {after, capped < UpperCap && after >= UpperCap ? UpperBonus : 0};
}

// A player's card between turns as the engine sees it: the rows booked,
// the sum of the booked upper rows (not capped) and the total so far,
// bonus included.
struct Card {
    BookedRows booked = 0;
    int upperSum = 0;
    int total = 0;
};
// The card after booking `points` in `row`.
inline Card Book(Card card, int row, int points)
{
    card.total += points + AfterBooking(card.upperSum, row, points).bonus;
    card.upperSum += Categories::IsUpperRow(row) ? points : 0;
    card.booked = static_cast<BookedRows>(card.booked | (1u << (row - 1)));
    return card;
}

using Dice = std::array<int, 5>;

struct Choice {
    enum class Action { Keep, Book };
    Action action = Action::Book;
    std::vector<int> kept; // Keep: the faces kept, ascending (may be empty)
    int row = 0;           // Book: the row booked
    int points = 0;        // Book: what the row scores for the dice (0: a sacrifice)
    // Expected points still to come from the position if this choice is made,
    // counting the points it books now and any bonus it earns.
    double expected = 0.0;
};

// Progress of a computation: positions done out of total. May be called
// from any of the worker threads; must be cheap, thread-safe and not throw.
// Returning false stops the computation (a program that is closing), and
// Compute then gives null.
using Progress = std::function<bool(long done, long total)>;

class Table {
public:
    // Works the whole table out from the rules (valmod::Evaluate), on every
    // core. About a second on two cores, in a release build. Null only when
    // progress asked to stop.
    static std::shared_ptr<const Table> Compute(const Progress &progress = {});

    // Expected points still to come between turns. upperSum is the sum of the
    // booked upper rows (any value 0..105; capped internally). Only sums the
    // booked upper rows can make are worked out (see UpperSumPossible); for
    // any other, and for booked bits beyond row 15 or a negative sum, the
    // answer is NaN.
    double Expected(BookedRows booked, int upperSum) const;

    // Raw values, for the cache file: for each set of booked rows (0..32767)
    // the capped upper sums 0..63 in turn. Impossible positions hold NaN.
    static constexpr std::size_t ValueCount = std::size_t{1} << RowCount << 6;
    static constexpr std::size_t Index(BookedRows booked, int cappedSum)
    {
        return std::size_t{booked} * (UpperCap + 1) + static_cast<std::size_t>(cappedSum);
    }
    const std::vector<float> &Values() const { return m_values; }
    static std::shared_ptr<const Table> FromValues(std::vector<float> values); // null if the size is wrong

    explicit Table(std::vector<float> values);

private:
    std::vector<float> m_values;
};

// Whether some dice could have booked the upper rows in `booked` to
// upperSum (0..105). False for bits beyond row 15 or a sum out of range.
bool UpperSumPossible(BookedRows booked, int upperSum);

// Every choice for the dice on the table, best first: with rollsLeft 1 or 2
// each distinct set of dice to keep and roll the rest again (keeping all
// five is left out: it is never better than the best of the others), and
// with any rollsLeft the booking of every open row. Equal values keep a
// fixed order: bookings by row, then keeps with more dice first. Empty
// unless there is an open row, five faces 1..6, rollsLeft 0..2 and an
// upper sum the booked rows can make.
std::vector<Choice> Advise(const Table &table, BookedRows booked, int upperSum, const Dice &dice,
                           int rollsLeft);

} // namespace strategy
