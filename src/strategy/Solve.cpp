// Working the table out: every position between turns, from the last turn
// back to the first, on every core.
#include "strategy/Strategy.h"
#include "strategy/TurnSolver.h"

#include <algorithm>
#include <atomic>
#include <bitset>
#include <limits>
#include <system_error>
#include <thread>

namespace strategy {

using namespace detail;

namespace {

constexpr int UpperSlots = UpperCap + 1; // capped sums 0..63
constexpr float Impossible = std::numeric_limits<float>::quiet_NaN();

int popCount(unsigned v)
{
    return static_cast<int>(std::bitset<RowCount>(v).count());
}

// Most the open upper rows can still add.
int upperHeadroom(BookedRows booked)
{
    int most = 0;
    for (int row = Categories::FirstUpperRow; row <= Categories::LastUpperRow; ++row)
        if (!IsBooked(booked, row))
            most += 5 * row;
    return most;
}

// Which capped upper sums of one set of booked rows need a turn solved of
// their own. The rest copy a neighbour: with no upper row open the sum no
// longer matters, and every sum from which 63 is out of reach is worth the
// same (no bonus is coming either way).
struct SumPlan {
    std::uint64_t possible = 0; // sums that can occur
    std::uint64_t solve = 0;    // sums solved directly
    int hopeless = -1;          // the one solved for all sums short of reach
    int hopelessBelow = 0;      // sums below this cannot reach 63
};

SumPlan planFor(BookedRows booked)
{
    SumPlan plan;
    plan.possible = ReachableUpperSums(booked & 0x3Fu);
    const int headroom = upperHeadroom(booked);
    plan.hopelessBelow = headroom == 0 ? UpperSlots : UpperCap - headroom;
    for (int u = 0; u < UpperSlots; ++u) {
        if (!(plan.possible >> u & 1u))
            continue;
        if (u < plan.hopelessBelow) {
            if (plan.hopeless < 0) {
                plan.hopeless = u;
                plan.solve |= std::uint64_t{1} << u;
            }
        } else {
            plan.solve |= std::uint64_t{1} << u;
        }
    }
    return plan;
}

class Solver {
public:
    Solver(std::vector<float> &values, const Progress &progress)
        : m_values(values), m_progress(progress)
    {
        for (unsigned b = 0; b < AllBooked; ++b)
            m_total += std::bitset<64>(planFor(static_cast<BookedRows>(b)).solve).count();
    }

    // False when progress asked to stop.
    bool Run()
    {
        // Every position with all rows booked is worth nothing more; the
        // others depend only on positions with more rows booked.
        std::fill(m_values.begin() + static_cast<std::ptrdiff_t>(Table::Index(AllBooked, 0)),
                  m_values.end(), 0.0f);
        const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
        for (int open = 1; open <= RowCount; ++open) {
            m_level.clear();
            for (unsigned b = 0; b < AllBooked; ++b)
                if (popCount(b) == RowCount - open)
                    m_level.push_back(static_cast<BookedRows>(b));
            m_next = 0;
            std::vector<std::thread> pool;
            for (unsigned t = 1; t < threads; ++t) {
                try {
                    pool.emplace_back([this] { Work(); });
                } catch (const std::system_error &) {
                    break; // no more threads to be had: fewer do the same work
                }
            }
            Work();
            for (auto &t : pool)
                t.join();
            if (m_stop.load())
                return false;
        }
        return true;
    }

private:
    void Work()
    {
        const DiceSets &d = Sets();
        TurnValues<float> scratch;
        for (;;) {
            const std::size_t i = m_next.fetch_add(1, std::memory_order_relaxed);
            if (i >= m_level.size() || m_stop.load(std::memory_order_relaxed))
                return;
            const long solved = SolvePosition(d, m_level[i], scratch);
            const long done = m_done.fetch_add(solved, std::memory_order_relaxed) + solved;
            if (m_progress && !m_progress(done, m_total))
                m_stop.store(true);
        }
    }

    long SolvePosition(const DiceSets &d, BookedRows booked, TurnValues<float> &scratch)
    {
        const SumPlan plan = planFor(booked);
        const float *values = m_values.data();
        const auto next = [values, booked](int row, int upperSum) {
            return values[Table::Index(static_cast<BookedRows>(booked | (1u << (row - 1))), upperSum)];
        };
        float *out = m_values.data() + Table::Index(booked, 0);
        long solved = 0;
        float hopeless = Impossible;
        for (int u = 0; u < UpperSlots; ++u) {
            if (!(plan.possible >> u & 1u)) {
                out[u] = Impossible;
            } else if (plan.solve >> u & 1u) {
                out[u] = SolveTurn<float>(d, booked, u, next, scratch);
                ++solved;
                if (u == plan.hopeless)
                    hopeless = out[u];
            } else {
                out[u] = hopeless; // short of reach, like plan.hopeless below it
            }
        }
        return solved;
    }

    std::vector<float> &m_values;
    const Progress &m_progress;
    long m_total = 0;
    std::atomic<long> m_done{0};
    std::vector<BookedRows> m_level;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};
};

} // namespace

std::shared_ptr<const Table> Table::Compute(const Progress &progress)
{
    std::vector<float> values(ValueCount, Impossible);
    if (!Solver(values, progress).Run())
        return nullptr;
    return std::make_shared<const Table>(std::move(values));
}

} // namespace strategy
