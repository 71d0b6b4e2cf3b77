#pragma once
// Each player's chance of finishing first, from a game between two
// bookings or in the middle of a turn. Every player's remaining game is
// sampled on its own (a person as a perfect player, a computer at its
// level), and the players' sampled final totals are then set against each
// other exactly, every total of one against the whole distribution of the
// others. The highest final total wins; a tie goes to the lower seat.
//
// Pure C++, like the rest of the engine.

#include "strategy/Levels.h"
#include "strategy/Strategy.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace strategy {

// A seat in the middle of its turn, just after choosing what to keep: the
// kept dice stay, the others are thrown now, and the seat plays on from that
// roll with rolls - 1 rolls left, as Advise(..., rollsLeft = rolls) values
// the keep. A fresh turn is no turn under way (not kept nothing, 3 rolls).
struct TurnUnderWay {
    std::vector<int> kept; // faces 1..6 held, 0..5 of them, in any order
    int rolls = 1;         // rolls still to come, this one included: 1 or 2
};

struct SeatState {
    // Spelled out so that a card written {booked, upperSum, total, computer}
    // needs no turn (an aggregate would warn of the missing member).
    SeatState(BookedRows booked_ = 0, int upperSum_ = 0, int total_ = 0, std::optional<Level> computer_ = {},
              std::optional<TurnUnderWay> turn_ = {})
        : booked(booked_), upperSum(upperSum_), total(total_), computer(computer_), turn(std::move(turn_))
    {
    }

    BookedRows booked = 0;
    int upperSum = 0;              // sum of the booked upper rows, as on the card (not capped)
    int total = 0;                 // points so far, bonus included
    std::optional<Level> computer; // none: a person, assumed to play perfectly
    // Set: the seat is in this turn, and the three above are its card
    // before the turn's booking.
    std::optional<TurnUnderWay> turn;
};

// Games per player for chances within 1 percentage point at 95 %, in any
// position: a chance's sampling variance is at most p (1 - p) / n, so at
// most 1 / (4 n), and 1.96 * sqrt(1 / (4 n)) <= 0.01 needs n >= 9604.
// (Setting a total against whole distributions rather than against single
// games only lowers the variance: two even players at the start need about
// 6,400.)
constexpr int DefaultWinChanceGames = 9604;
// A first estimate at once, within about 3 points: an eighth of the games
// and of the time. Game i of a seat is the same whatever the number of
// games, so the full estimate with the same seed plays these games again
// and adds to them: refining costs an eighth more than the full alone.
constexpr int FirstWinChanceGames = DefaultWinChanceGames / 8;

// Each seat's chance of finishing first, in seat order, summing to 1. A
// finished game gives exactly 1 and 0s; a player who cannot catch the
// leader even with the most every open row can score gets exactly 0. The
// same seed gives the same figures whatever the number of threads. Empty
// when cancelled, for no seats, fewer than one game per seat, or a seat
// whose position cannot occur (an upper sum its booked rows cannot make,
// a total below 0 or above 100,000, a turn under way with no open row,
// more than five kept dice, a face outside 1..6 or rolls outside 1..2).
std::vector<double> WinChances(const Table &table, const std::vector<SeatState> &seats,
                               int gamesPerSeat, std::uint64_t seed,
                               const std::atomic<bool> *cancel = nullptr, int threads = 2);

// A seed that is the position itself: the same seats always get the same
// figures, and a position can be known again by it.
std::uint64_t PositionSeed(const std::vector<SeatState> &seats);

// One face 1..6, as the sampled games throw their dice.
int RollDie(LevelRandom &random);

// What game `game` of seat `seat` draws from: its dice, and a computer's
// picks (Choose). Every game has its own, so the figures do not depend on
// which thread plays it.
struct GameStreams {
    LevelRandom dice, choices;
};
GameStreams StreamsOf(std::uint64_t seed, int seat, int game);

// The sampled final totals WinChances sets against each other: for every
// seat its games in order (one for a finished seat), each played from the
// seat's position with its own streams by the engine's choices, as the
// advice and Choose would make them. Empty when WinChances is.
std::vector<std::vector<int>> SampleFinalTotals(const Table &table, const std::vector<SeatState> &seats,
                                                int gamesPerSeat, std::uint64_t seed,
                                                const std::atomic<bool> *cancel = nullptr, int threads = 2);

} // namespace strategy
