// Perfect play, measured: how long the whole table takes and how much memory
// it holds, how long one decision takes, and 10,000 seeded games played by
// the engine through the scoring rules alone, whose mean must come out at
// the table's expected score.
//
//   bench_strategy [games] [seed]
#include "scoring/valmod.h"
#include "strategy/Levels.h"
#include "strategy/Strategy.h"
#include "strategy/TableCache.h"

#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace strategy;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Peak resident memory of this process so far, in KiB.
long peakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// One solitaire game: the engine chooses, valmod::Evaluate scores.
int playGame(const Table &table, std::mt19937_64 &rng)
{
    std::uniform_int_distribution<int> die(1, 6);
    BookedRows booked = 0;
    int upper = 0, total = 0;
    bool bonus = false;
    for (int turn = 0; turn < RowCount; ++turn) {
        Dice dice;
        for (int &d : dice)
            d = die(rng);
        for (int rollsLeft = 2;; --rollsLeft) {
            const auto choices = Advise(table, booked, upper, dice, rollsLeft);
            if (choices.empty())
                std::abort();
            const Choice &best = choices.front();
            if (best.action == Choice::Action::Keep) {
                // Kept faces first, the rest thrown again.
                std::size_t i = 0;
                for (; i < best.kept.size(); ++i)
                    dice[i] = best.kept[i];
                for (; i < dice.size(); ++i)
                    dice[i] = die(rng);
                continue;
            }
            valmod::DiceArray faces{};
            for (std::size_t i = 0; i < dice.size(); ++i)
                faces[i] = static_cast<std::int16_t>(dice[i]);
            const int points = valmod::Evaluate(faces).categoryValue[best.row];
            if (best.row <= 6)
                upper += points;
            if (!bonus && upper >= UpperCap) {
                bonus = true;
                total += 50;
            }
            total += points;
            booked = static_cast<BookedRows>(booked | (1u << (best.row - 1)));
            break;
        }
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 10000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20240601;
    std::printf("cores: %u\n", std::thread::hardware_concurrency());

    // The whole table, three times; the first run also touches the pages.
    std::shared_ptr<const Table> table;
    std::vector<double> times;
    const long peakBefore = peakKiB();
    for (int run = 0; run < 3; ++run) {
        table.reset();
        const auto t0 = Clock::now();
        table = Table::Compute();
        times.push_back(seconds(Clock::now() - t0));
    }
    std::sort(times.begin(), times.end());
    std::printf("table: %.2f s median of 3 (%.2f .. %.2f s wall)\n", times[1], times[0], times[2]);
    std::printf("table size: %.1f MiB (%zu floats); peak resident %.1f MiB (%.1f MiB before)\n",
                table->Values().size() * sizeof(float) / 1048576.0, table->Values().size(), peakKiB() / 1024.0,
                peakBefore / 1024.0);
    {
        QTemporaryDir dir;
        const TableCache cache(dir.path());
        const auto t0 = Clock::now();
        const bool saved = cache.Save(*table);
        const auto t1 = Clock::now();
        const bool loaded = cache.Load() != nullptr;
        std::printf("cache file: saved in %.0f ms, loaded and checked in %.0f ms%s\n", seconds(t1 - t0) * 1e3,
                    seconds(Clock::now() - t1) * 1e3, saved && loaded ? "" : " (FAILED)");
    }
    const double expected = table->Expected(0, 0);
    std::printf("expected score of a new game: %.4f\n", expected);

    // One decision: every roll at the start of a game (the most choices and
    // open rows), then positions met in play.
    std::vector<double> calls, decisions;
    LevelRandom levelRandom(seed);
    {
        std::mt19937_64 rng(seed);
        std::uniform_int_distribution<int> die(1, 6);
        for (int i = 0; i < 20000; ++i) {
            Dice dice;
            for (int &d : dice)
                d = die(rng);
            const BookedRows booked = i < 10000 ? 0 : static_cast<BookedRows>(rng() % AllBooked);
            int upper = 0;
            while (!UpperSumPossible(booked, upper))
                ++upper;
            // Best of three, so that a preempted call on a busy machine does
            // not pass for a slow one.
            double best = 1e9;
            for (int repeat = 0; repeat < 3; ++repeat) {
                const auto t0 = Clock::now();
                const auto choices = Advise(*table, booked, upper, dice, static_cast<int>(i % 3));
                best = std::min(best, seconds(Clock::now() - t0) * 1e6);
                if (choices.empty())
                    return 1;
            }
            calls.push_back(best);
            // A computer's decision: the advice, then the pick at the weakest
            // level, which weighs the most choices.
            best = 1e9;
            for (int repeat = 0; repeat < 3; ++repeat) {
                const auto t0 = Clock::now();
                const auto choices = Advise(*table, booked, upper, dice, static_cast<int>(i % 3));
                const std::size_t pick = Choose(Level::Easy, choices, levelRandom);
                best = std::min(best, seconds(Clock::now() - t0) * 1e6);
                if (pick >= choices.size())
                    return 1;
            }
            decisions.push_back(best);
        }
    }
    std::sort(decisions.begin(), decisions.end());
    std::printf("a computer's decision at level easy (Advise + Choose): median %.1f us, slowest %.1f us\n",
                decisions[decisions.size() / 2], decisions.back());
    std::sort(calls.begin(), calls.end());
    std::printf("Advise, best of 3 each: median %.1f us, 99.9th percentile %.1f us, slowest %.1f us (%zu calls)\n",
                calls[calls.size() / 2], calls[calls.size() * 999 / 1000], calls.back(), calls.size());

    // Seeded games, each with a generator of its own, so the result does not
    // depend on how the games are shared between threads.
    std::vector<int> totals(static_cast<std::size_t>(games));
    std::atomic<int> next{0};
    const auto t0 = Clock::now();
    const auto work = [&] {
        for (int g; (g = next++) < games;) {
            std::mt19937_64 rng(seed + static_cast<unsigned long long>(g));
            totals[static_cast<std::size_t>(g)] = playGame(*table, rng);
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        pool.emplace_back(work);
    work();
    for (auto &t : pool)
        t.join();
    double sum = 0, squares = 0;
    for (int v : totals)
        sum += v;
    const double mean = sum / games;
    for (int v : totals)
        squares += (v - mean) * (v - mean);
    const double sd = std::sqrt(squares / (games - 1));
    std::printf("%d games (seed %llu, %.1f s): mean %.2f, standard deviation %.2f, standard error %.2f\n", games,
                seed, seconds(Clock::now() - t0), mean, sd, sd / std::sqrt(double(games)));
    std::printf("mean - expected = %+.2f\n", mean - expected);
    return std::abs(mean - expected) <= 1.0 ? 0 : 1;
}
