// The chance of winning: the time of one estimate at the default number of
// games for two and for four players, at the start of a game and halfway
// (7 and 8 rows booked), on two threads and on one, and the figures it
// gives; the same with the seat whose turn it is in the middle of it (5 5
// kept, three dice to roll and one roll after); and of a first estimate for
// the slowest case. With a number of seeds it also estimates the two players' start
// that many times and prints the spread of the first seat's chance.
//
//   bench_winchance [seeds]

#include "strategy/TableCache.h"
#include "strategy/WinChance.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace strategy;
using Clock = std::chrono::steady_clock;

namespace {

// A seat after `turns` turns of perfect play with seeded dice.
SeatState Played(const Table &table, int turns, std::uint64_t seed, std::optional<Level> computer)
{
    LevelRandom random(seed);
    SeatState s;
    s.computer = computer;
    for (int t = 0; t < turns; ++t) {
        Dice dice;
        for (int &d : dice)
            d = RollDie(random);
        for (int left = 2;; --left) {
            const Choice c = Advise(table, s.booked, s.upperSum, dice, left).front();
            if (c.action == Choice::Action::Book) {
                s.total += c.points + AfterBooking(s.upperSum, c.row, c.points).bonus;
                s.upperSum += c.row <= 6 ? c.points : 0;
                s.booked = static_cast<BookedRows>(s.booked | (1u << (c.row - 1)));
                break;
            }
            std::size_t i = 0;
            for (; i < c.kept.size(); ++i)
                dice[i] = c.kept[i];
            for (; i < dice.size(); ++i)
                dice[i] = RollDie(random);
        }
    }
    return s;
}

void Time(const Table &table, const char *what, const std::vector<SeatState> &seats,
          int games = DefaultWinChanceGames)
{
    for (int threads : {2, 1}) {
        std::vector<double> ms, cpu, chances;
        for (int run = 0; run < 5; ++run) {
            const auto start = Clock::now();
            const std::clock_t cpuStart = std::clock();
            chances = WinChances(table, seats, games, 20261207, nullptr, threads);
            cpu.push_back(double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        // On a busy machine the processor time is the steadier figure.
        std::printf("%-36s %d thread%s: median %6.1f ms (fastest %6.1f, slowest %6.1f), processor %6.1f ms; chances",
                    what, threads, threads > 1 ? "s" : " ", ms[2], ms.front(), ms.back(), cpu[2]);
        for (double c : chances)
            std::printf(" %.4f", c);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto table = TableCache().LoadOrCompute();
    if (!table)
        return 1;
    const SeatState start;
    const auto midTurn = [](SeatState s) {
        s.turn = TurnUnderWay{{5, 5}, 2};
        return s;
    };
    SeatState hard = start, easy = start;
    hard.computer = Level::Hard;
    easy.computer = Level::Easy;
    std::printf("%d games per player\n", DefaultWinChanceGames);
    Time(*table, "two players, start", {start, start});
    Time(*table, "four players, start", {start, start, start, start});
    Time(*table, "four players, start, three easy", {start, easy, easy, easy});
    Time(*table, "the same, first estimate", {start, easy, easy, easy}, FirstWinChanceGames);
    Time(*table, "two players, 8 and 7 rows booked", {Played(*table, 8, 1, {}), Played(*table, 7, 2, {})});
    Time(*table, "four players, 8, 8, 7, 7 (one easy)",
         {Played(*table, 8, 3, {}), Played(*table, 8, 4, {}), Played(*table, 7, 5, {}), Played(*table, 7, 6, Level::Easy)});
    Time(*table, "two players, start, first mid-turn", {midTurn(start), start});
    Time(*table, "four players, start, first mid-turn", {midTurn(start), start, start, start});
    Time(*table, "two, 8 and 7 booked, second mid-turn", {Played(*table, 8, 1, {}), midTurn(Played(*table, 7, 2, {}))});
    Time(*table, "four, 8, 8, 7, 7, third mid-turn",
         {Played(*table, 8, 3, {}), Played(*table, 8, 4, {}), midTurn(Played(*table, 7, 5, {})), Played(*table, 7, 6, Level::Easy)});

    const int seeds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seeds > 1) {
        double sum = 0, squares = 0;
        for (int s = 0; s < seeds; ++s) {
            const double c = WinChances(*table, {start, start}, DefaultWinChanceGames, std::uint64_t(s))[0];
            sum += c;
            squares += c * c;
        }
        const double mean = sum / seeds;
        std::printf("two players at the start, %d seeds: first seat %.4f, standard deviation %.4f\n", seeds, mean,
                    std::sqrt((squares - seeds * mean * mean) / (seeds - 1)));
    }
    return 0;
}
