// Sampling the rest of every player's game, fast: each turn is solved once
// per position for all the games standing on it (a game played through the
// advice solves each of its turns again at every roll, 90 us a game), and a
// perfect player's choice is then an argmax over the roll's kept sets.
#include "strategy/WinChance.h"

#include "strategy/TurnChoices.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace strategy {

using namespace detail;

namespace {

struct Game {
    LevelRandom dice{0}, choices{0};
    int seat = 0, index = 0;
    BookedRows booked = 0;
    int upper = 0;  // capped
    int points = 0; // since the position, bonus included
    // The turn to play starts by filling this kept set up to five dice, with
    // this many rolls to come: a fresh turn is the empty set (the last) and 3.
    int kept = AllSets - 1;
    int rolls = 3;
};

std::uint32_t PositionKey(BookedRows booked, int capped)
{
    return std::uint32_t{booked} << 6 | std::uint32_t(capped);
}

// One position's turn, solved once and then played by any number of games.
class TurnPlayer {
    // The value of the position after booking `row`, at the capped sum.
    struct Next {
        const float *values;
        BookedRows booked;
        double operator()(int row, int sum) const
        {
            return double(values[Table::Index(static_cast<BookedRows>(booked | (1u << (row - 1))), sum)]);
        }
    };

public:
    explicit TurnPlayer(const Table &table) : m_d(Sets()), m_values(table.Values().data()) {}

    void Solve(BookedRows booked, int capped)
    {
        m_booked = booked;
        SolveKeeps(m_d, booked, capped, Next{m_values, booked}, 2, m_v);
    }

    // One turn of a game at the solved position.
    void Play(Game &g, Level level) const
    {
        const Next next{m_values, m_booked};
        int roll = Throw(g.kept, g.dice);
        for (int rollsLeft = g.rolls - 1;; --rollsLeft) {
            const TurnChoice c = level == Level::Perfect ? Best(roll, rollsLeft, g.upper, next)
                                                         : Pick(level, roll, rollsLeft, g, next);
            if (c.row > 0) {
                const Booking b = AfterBooking(g.upper, c.row, c.points);
                g.points += c.points + b.bonus;
                g.upper = b.upperSum;
                g.booked = static_cast<BookedRows>(g.booked | (1u << (c.row - 1)));
                g.kept = AllSets - 1;
                g.rolls = 3;
                return;
            }
            roll = Throw(c.kept, g.dice);
        }
    }

private:
    // The first best choice of the list, without listing every booking:
    // the best is worth m_v.book[roll] (the same sums, so the same to the
    // last bit), and bookings come first, so one wins a tie.
    TurnChoice Best(int roll, int rollsLeft, int upper, const Next &next) const
    {
        if (const double *keepValue = KeepValues(m_v, rollsLeft)) {
            int best = -1;
            double value = m_v.book[roll];
            for (int k = 0; k < m_d.keepCount[roll]; ++k) {
                const int set = m_d.keeps[roll][k];
                if (keepValue[set] > value) {
                    value = keepValue[set];
                    best = set;
                }
            }
            if (best >= 0)
                return {value, 0, 0, best};
        }
        TurnChoice bookings[RowCount];
        return bookings[BestOf(bookings, ListChoices(m_d, m_booked, upper, next, roll, nullptr, bookings))];
    }

    // A level's pick, as Choose makes it over the advice's whole list, best
    // first. Choose never looks past the first choice that costs more than
    // MaxMistake, so only those within it are sorted, and the best of the
    // rest stands in for that first one.
    TurnChoice Pick(Level level, int roll, int rollsLeft, Game &g, const Next &next) const
    {
        TurnChoice list[MostChoices];
        const int n = ListChoices(m_d, m_booked, g.upper, next, roll, KeepValues(m_v, rollsLeft), list);
        const double best = list[BestOf(list, n)].expected;
        int near = 0;
        double farBest = -1e300;
        for (int i = 0; i < n; ++i) {
            if (best - list[i].expected <= MaxMistake)
                list[near++] = list[i];
            else
                farBest = std::max(farBest, list[i].expected);
        }
        SortChoices(list, near);
        double expected[MostChoices];
        for (int i = 0; i < near; ++i)
            expected[i] = list[i].expected;
        if (near < n)
            expected[near] = farBest;
        return list[Choose(level, expected, std::size_t(near < n ? near + 1 : near), g.choices)];
    }

    // The set `kept` filled up to five dice with fresh throws.
    int Throw(int kept, LevelRandom &random) const
    {
        int dice = 0;
        for (int f = 1; f <= 6; ++f)
            dice += m_d.count[kept][f];
        for (; dice < 5; ++dice)
            kept = m_d.plusDie[kept][RollDie(random) - 1];
        return kept;
    }

    const DiceSets &m_d;
    const float *m_values;
    BookedRows m_booked = 0;
    TurnValues<double> m_v;
};

// The set a seat's turn under way keeps (the empty set for none), or -1 if
// the turn cannot occur.
int KeptSet(const SeatState &s)
{
    if (!s.turn)
        return AllSets - 1;
    if (s.booked >= AllBooked || s.turn->rolls < 1 || s.turn->rolls > 2 || s.turn->kept.size() > 5)
        return -1;
    FaceCounts counts{};
    for (const int face : s.turn->kept) {
        if (face < 1 || face > 6)
            return -1;
        ++counts[std::size_t(face)];
    }
    return Sets().IndexOf(counts);
}

bool Possible(const SeatState &s)
{
    return s.booked <= AllBooked && UpperSumPossible(s.booked, s.upperSum) && s.total >= 0
        && s.total <= 100'000 && KeptSet(s) >= 0;
}

Level LevelOf(const SeatState &s)
{
    return s.computer.value_or(Level::Perfect);
}

// Plays every game to its end, a turn at a time: the games standing on the
// same position are played together after one solve. Each game draws from
// generators of its own, so who plays it does not matter. False if cancelled.
bool PlayAll(const Table &table, const std::vector<SeatState> &seats, std::vector<Game> &games,
             const std::atomic<bool> *cancel, int threads)
{
    // A chunk of games on one position; small enough that the first turns,
    // when every game stands on the same few positions, spread over threads.
    constexpr std::size_t Chunk = 256;
    struct Work {
        std::size_t from, to;
    };
    std::vector<std::uint64_t> order; // key << 32 | game
    std::vector<Work> work;
    std::vector<Game> finished, sorted;
    for (;;) {
        order.clear();
        for (std::size_t i = 0; i < games.size(); ++i) {
            if (games[i].booked == AllBooked)
                finished.push_back(games[i]);
            else
                order.push_back(std::uint64_t{PositionKey(games[i].booked, games[i].upper)} << 32 | i);
        }
        if (order.empty()) {
            games.swap(finished);
            return true;
        }
        // Games on one position next to each other in memory, too.
        std::sort(order.begin(), order.end());
        sorted.clear();
        for (const std::uint64_t o : order)
            sorted.push_back(games[o & 0xFFFFFFFFu]);
        games.swap(sorted);
        work.clear();
        for (std::size_t from = 0; from < order.size();) {
            std::size_t to = from + 1;
            while (to < order.size() && to - from < Chunk && order[to] >> 32 == order[from] >> 32)
                ++to;
            work.push_back({from, to});
            from = to;
        }

        std::atomic<std::size_t> nextWork{0};
        const auto worker = [&] {
            TurnPlayer player(table);
            std::uint64_t solved = ~std::uint64_t{0};
            for (;;) {
                const std::size_t w = nextWork.fetch_add(1, std::memory_order_relaxed);
                if (w >= work.size() || (cancel && cancel->load(std::memory_order_relaxed)))
                    return;
                if (order[work[w].from] >> 32 != solved) {
                    player.Solve(games[work[w].from].booked, games[work[w].from].upper);
                    solved = order[work[w].from] >> 32;
                }
                for (std::size_t k = work[w].from; k < work[w].to; ++k)
                    player.Play(games[k], LevelOf(seats[std::size_t(games[k].seat)]));
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads && std::size_t(t) < work.size(); ++t) {
            try {
                pool.emplace_back(worker);
            } catch (const std::system_error &) {
                break; // fewer threads do the same work
            }
        }
        worker();
        for (auto &t : pool)
            t.join();
        if (cancel && cancel->load())
            return false;
    }
}

} // namespace

int RollDie(LevelRandom &random)
{
    return 1 + static_cast<int>(((random.Next() >> 32) * 6) >> 32);
}

GameStreams StreamsOf(std::uint64_t seed, int seat, int game)
{
    LevelRandom mix(seed ^ (0xD1B54A32D192ED03ULL * ((std::uint64_t(seat) << 32) + std::uint64_t(game) + 1)));
    const std::uint64_t dice = mix.Next();
    return {LevelRandom(dice), LevelRandom(mix.Next())};
}

std::vector<std::vector<int>> SampleFinalTotals(const Table &table, const std::vector<SeatState> &seats,
                                                int gamesPerSeat, std::uint64_t seed,
                                                const std::atomic<bool> *cancel, int threads)
{
    if (seats.empty() || gamesPerSeat < 1 || table.Values().size() != Table::ValueCount
        || !std::all_of(seats.begin(), seats.end(), Possible))
        return {};
    std::vector<std::vector<int>> totals(seats.size());
    std::vector<Game> games;
    for (std::size_t s = 0; s < seats.size(); ++s) {
        // A finished seat's total is certain: one game, already over.
        totals[s].resize(seats[s].booked == AllBooked ? 1 : std::size_t(gamesPerSeat));
        const int kept = KeptSet(seats[s]), rolls = seats[s].turn ? seats[s].turn->rolls : 3;
        for (std::size_t i = 0; i < totals[s].size(); ++i) {
            const GameStreams streams = StreamsOf(seed, int(s), int(i));
            games.push_back({streams.dice, streams.choices, int(s), int(i), seats[s].booked,
                             std::min(seats[s].upperSum, UpperCap), 0, kept, rolls});
        }
    }
    if (!PlayAll(table, seats, games, cancel, std::clamp(threads, 1, 64)))
        return {};
    for (const Game &g : games)
        totals[std::size_t(g.seat)][std::size_t(g.index)] = seats[std::size_t(g.seat)].total + g.points;
    return totals;
}

std::vector<double> WinChances(const Table &table, const std::vector<SeatState> &seats, int gamesPerSeat,
                               std::uint64_t seed, const std::atomic<bool> *cancel, int threads)
{
    const auto totals = SampleFinalTotals(table, seats, gamesPerSeat, seed, cancel, threads);
    if (totals.empty())
        return {};

    // Final totals counted per seat, then: P(i wins) = sum over x of
    // P(T_i = x) * prod_{j<i} P(T_j < x) * prod_{j>i} P(T_j <= x).
    int top = 0;
    for (const auto &seat : totals)
        top = std::max(top, *std::max_element(seat.begin(), seat.end()));
    const std::size_t span = std::size_t(top) + 1;
    std::vector<std::vector<int>> count(seats.size(), std::vector<int>(span)), below = count, upTo = count;
    for (std::size_t s = 0; s < seats.size(); ++s)
        for (const int total : totals[s])
            ++count[s][std::size_t(total)];
    for (std::size_t s = 0; s < seats.size(); ++s) {
        int sum = 0;
        for (std::size_t x = 0; x < span; ++x) {
            below[s][x] = sum;
            sum += count[s][x];
            upTo[s][x] = sum;
        }
    }
    std::vector<double> chances(seats.size());
    for (std::size_t i = 0; i < seats.size(); ++i) {
        for (std::size_t x = 0; x < span; ++x) {
            double p = double(count[i][x]) / double(totals[i].size());
            for (std::size_t j = 0; j < seats.size() && p > 0; ++j)
                if (j != i)
                    p *= double(j < i ? below[j][x] : upTo[j][x]) / double(totals[j].size());
            chances[i] += p;
        }
    }
    return chances;
}

std::uint64_t PositionSeed(const std::vector<SeatState> &seats)
{
    // FNV-1a over every figure that tells one position from another.
    std::uint64_t seed = 0xCBF29CE484222325ULL;
    const auto mix = [&seed](std::uint64_t value) { seed = (seed ^ value) * 0x100000001B3ULL; };
    for (const SeatState &s : seats) {
        mix(s.booked);
        mix(std::uint64_t(s.upperSum));
        mix(std::uint64_t(s.total));
        mix(s.computer ? std::uint64_t(*s.computer) + 1 : 0);
        if (s.turn) {
            mix(std::uint64_t(s.turn->rolls));
            for (int face : s.turn->kept)
                mix(std::uint64_t(face));
        }
        mix(~0ULL); // between seats
    }
    return seed;
}

} // namespace strategy
