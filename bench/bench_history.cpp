// Game records: the time of one review, and of the statistics over a folder
// of 2,000 and 10,000 records, first worked out, then from the kept ratings.
// The records are games of two players at levels medium and hard, seeded.
//   bench_history [records...]

#include "history/Review.h"
#include "history/Statistics.h"
#include "strategy/TableCache.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

using namespace history;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One player's game at a level, every roll and hold kept as the game would.
PlayerRecord Play(const strategy::Table &table, strategy::Level level, strategy::LevelRandom &random, const QString &name)
{
    PlayerRecord player;
    player.name = name;
    player.computer = level;
    strategy::BookedRows booked = 0;
    int upper = 0;
    const auto die = [&] { return int(random.Next() % 6) + 1; };
    for (int t = 0; t < strategy::RowCount; ++t) {
        Turn turn;
        strategy::Dice dice{};
        for (int &d : dice)
            d = die();
        turn.rolls.push_back(dice);
        for (int left = 2;; --left) {
            const auto choices = strategy::Advise(table, booked, upper, dice, left);
            const strategy::Choice &c = choices[strategy::Choose(level, choices, random)];
            if (c.action == strategy::Choice::Action::Book) {
                turn.row = c.row;
                turn.points = c.points;
                booked = strategy::BookedRows(booked | (1u << (c.row - 1)));
                upper += c.row <= 6 ? c.points : 0;
                break;
            }
            std::array<int, 7> want{};
            for (int f : c.kept)
                ++want[std::size_t(f)];
            std::vector<int> held;
            for (int i = 0; i < 5; ++i) {
                if (want[std::size_t(dice[std::size_t(i)])] > 0) {
                    --want[std::size_t(dice[std::size_t(i)])];
                    held.push_back(i);
                } else {
                    dice[std::size_t(i)] = die();
                }
            }
            turn.held.push_back(held);
            turn.rolls.push_back(dice);
        }
        player.turns.push_back(turn);
    }
    player.total = Total(player.turns);
    return player;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto table = strategy::TableCache().LoadOrCompute();
    strategy::LevelRandom random(20261207);
    GameRecord record;
    record.finished = QDateTime::currentDateTimeUtc();
    record.players = {Play(*table, strategy::Level::Medium, random, QStringLiteral("Ann")),
                      Play(*table, strategy::Level::Hard, random, QStringLiteral("Bob"))};

    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = Clock::now();
        const auto reviews = Review(*table, record);
        best = std::min(best, Seconds(Clock::now() - t0));
        if (reviews.size() != 2)
            return 1;
    }
    std::printf("review of a two-player game: %.2f ms (best of 20)\n", best * 1e3);

    QStringList counts;
    for (int i = 1; i < argc; ++i)
        counts << QString::fromLocal8Bit(argv[i]);
    if (counts.isEmpty())
        counts = {QStringLiteral("2000"), QStringLiteral("10000")};
    for (const QString &count : counts) {
        QTemporaryDir dir;
        const int n = count.toInt();
        for (int i = 0; i < n; ++i) {
            record.players = {Play(*table, strategy::Level::Medium, random, QStringLiteral("Ann")),
                              Play(*table, strategy::Level::Hard, random, QStringLiteral("Bob"))};
            record.finished = record.finished.addSecs(600);
            if (!Save(record, dir.path()))
                return 1;
        }
        const QString ratings = dir.filePath(QStringLiteral("ratings.json"));
        for (const char *run : {"worked out", "from kept ratings"}) {
            const auto t0 = Clock::now();
            const Statistics s = Gather(*table, dir.path(), ratings);
            std::printf("statistics over %d records, %s: %.2f s (%d games of Ann, mean loss %.1f)\n", n, run,
                        Seconds(Clock::now() - t0), s.players.empty() ? 0 : s.players[0].count(),
                        s.players.empty() ? 0.0 : s.players[0].meanLoss());
        }
    }
    return 0;
}
