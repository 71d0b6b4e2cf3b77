#include "coach/Simulation.h"

#include "game/Random.h"
#include "strategy/Wording.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>
#include <cstdint>

namespace coach {

namespace {

std::uint64_t GameSeed(std::uint64_t seed, long game)
{
    strategy::LevelRandom mix(seed ^ (0xD1B54A32D192ED03ULL * static_cast<std::uint64_t>(game + 1)));
    return mix.Next();
}

strategy::GameResult PlayOne(const strategy::Table &table, strategy::Level level, std::uint64_t seed)
{
    // The game's own dice: a clock reading mixed in before every draw (none
    // here, so that a seed replays), then Int(6 * Rnd + 1).
    SeededRandom dice(seed);
    strategy::LevelRandom choices(~seed);
    return strategy::PlayGame(
        table, level,
        [&dice] {
            dice.Randomize();
            return DieFace(dice.Rnd());
        },
        choices);
}

} // namespace

Simulation Simulate(const strategy::Table &table, long games, strategy::Level level, std::uint64_t seed,
                    unsigned threads, const strategy::Progress &progress)
{
    // Whole numbers only (the loss in millionths of a point), so the sums
    // are the same however the games fall to the threads.
    struct Sums {
        std::int64_t total = 0, squares = 0, bonus = 0, loss = 0;
        int min = 1 << 30, max = -1;
    };
    const long workers = std::clamp<long>(threads > 0 ? threads : std::thread::hardware_concurrency(), 1, 16);
    std::vector<Sums> sums(static_cast<std::size_t>(workers));
    std::atomic<long> finished{0};
    std::vector<std::thread> running;
    for (long w = 0; w < std::min(workers, games); ++w) {
        running.emplace_back([&, w] {
            Sums &mine = sums[static_cast<std::size_t>(w)];
            for (long i = w; i < games; i += workers) {
                const strategy::GameResult r = PlayOne(table, level, GameSeed(seed, i));
                mine.total += r.total;
                mine.squares += std::int64_t{r.total} * r.total;
                mine.bonus += r.bonus ? 1 : 0;
                mine.loss += std::llround(r.loss * 1e6);
                mine.min = std::min(mine.min, r.total);
                mine.max = std::max(mine.max, r.total);
                if (progress)
                    progress(++finished, games);
            }
        });
    }
    for (auto &thread : running)
        thread.join();

    Sums all;
    for (const Sums &part : sums) {
        all.total += part.total;
        all.squares += part.squares;
        all.bonus += part.bonus;
        all.loss += part.loss;
        all.min = std::min(all.min, part.min);
        all.max = std::max(all.max, part.max);
    }
    Simulation s;
    s.games = games;
    s.level = level;
    s.min = all.min;
    s.max = all.max;
    const auto n = static_cast<long double>(games);
    s.mean = double(all.total / n);
    s.sd = games > 1 ? double(std::sqrt((all.squares - all.total * (all.total / n)) / (n - 1))) : 0.0;
    s.bonusRate = double(all.bonus / n);
    s.meanLoss = double(all.loss / n / 1e6L);
    return s;
}

QString FormatText(const Simulation &s)
{
    return QStringLiteral("Games: %1 at level %2\n"
                          "Mean total: %3 (standard deviation %4)\n"
                          "Lowest and highest total: %5 and %6\n"
                          "Bonus earned in: %7% of games\n"
                          "Mean loss against perfect play: %8 points a game\n")
        .arg(s.games)
        .arg(QLatin1String(strategy::LevelName(s.level)))
        .arg(s.mean, 0, 'f', 2)
        .arg(s.sd, 0, 'f', 2)
        .arg(s.min)
        .arg(s.max)
        .arg(s.bonusRate * 100, 0, 'f', 1)
        .arg(s.meanLoss, 0, 'f', 2);
}

QByteArray FormatJson(const Simulation &s)
{
    const QJsonObject root{
        {QStringLiteral("games"), qint64(s.games)},
        {QStringLiteral("level"), QLatin1String(strategy::LevelName(s.level))},
        {QStringLiteral("mean"), strategy::JsonFigure(s.mean)},
        {QStringLiteral("sd"), strategy::JsonFigure(s.sd)},
        {QStringLiteral("min"), s.min},
        {QStringLiteral("max"), s.max},
        {QStringLiteral("bonus_rate"), strategy::JsonFigure(s.bonusRate)},
        {QStringLiteral("mean_loss"), strategy::JsonFigure(s.meanLoss)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace coach
