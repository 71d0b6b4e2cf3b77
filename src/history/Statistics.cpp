#include "history/Statistics.h"

#include "files/RegularFile.h"
#include "strategy/Wording.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <map>

namespace history {

namespace {

// Raised whenever what a review finds could change (the engine, the rules).
constexpr int RatingsVersion = 1;
constexpr qint64 MaxRatingsSize = 256 * 1024 * 1024;

template <typename F>
double Mean(const std::vector<GameFigures> &games, F value)
{
    double sum = 0;
    for (const GameFigures &g : games)
        sum += value(g);
    return games.empty() ? 0.0 : sum / double(games.size());
}

// One record's figures per player, as kept in the ratings file; an empty
// list for a file that is no valid record.
struct Rated {
    qint64 size = 0;
    qint64 modified = 0;
    QDateTime finished;
    std::vector<std::pair<QString, GameFigures>> players;
    bool valid = false;
};

QJsonObject ToJson(const Rated &rated)
{
    QJsonArray players;
    for (const auto &[name, g] : rated.players)
        players.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("total"), g.total},
                                   {QStringLiteral("bonus"), g.bonus},
                                   {QStringLiteral("luck"), g.luck},
                                   {QStringLiteral("loss"), g.loss}});
    return QJsonObject{{QStringLiteral("size"), rated.size},
                       {QStringLiteral("modified"), rated.modified},
                       {QStringLiteral("finished"), rated.finished.toString(Qt::ISODate)},
                       {QStringLiteral("valid"), rated.valid},
                       {QStringLiteral("players"), players}};
}

Rated FromJson(const QJsonObject &object)
{
    Rated rated;
    rated.size = object.value(QStringLiteral("size")).toInteger(-1);
    rated.modified = object.value(QStringLiteral("modified")).toInteger(-1);
    rated.finished = QDateTime::fromString(object.value(QStringLiteral("finished")).toString(), Qt::ISODate);
    rated.valid = object.value(QStringLiteral("valid")).toBool();
    for (const QJsonValue &p : object.value(QStringLiteral("players")).toArray()) {
        const QJsonObject o = p.toObject();
        GameFigures g;
        g.finished = rated.finished;
        g.total = o.value(QStringLiteral("total")).toInt();
        g.bonus = o.value(QStringLiteral("bonus")).toBool();
        g.luck = o.value(QStringLiteral("luck")).toDouble();
        g.loss = o.value(QStringLiteral("loss")).toDouble();
        rated.players.emplace_back(o.value(QStringLiteral("name")).toString(), g);
    }
    return rated;
}

std::map<QString, Rated> LoadRatings(const QString &file)
{
    std::map<QString, Rated> ratings;
    QByteArray bytes;
    if (file.isEmpty() || !files::ReadAll(file, MaxRatingsSize, bytes))
        return ratings;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    if (root.value(QStringLiteral("version")).toInt() != RatingsVersion)
        return ratings; // worked out again, and replaced
    const QJsonObject games = root.value(QStringLiteral("records")).toObject();
    for (auto it = games.begin(); it != games.end(); ++it)
        ratings[it.key()] = FromJson(it.value().toObject());
    return ratings;
}

} // namespace

double PlayerStatistics::mean() const { return Mean(games, [](const GameFigures &g) { return double(g.total); }); }
double PlayerStatistics::bonusRate() const { return Mean(games, [](const GameFigures &g) { return g.bonus ? 1.0 : 0.0; }); }
double PlayerStatistics::meanLuck() const { return Mean(games, [](const GameFigures &g) { return g.luck; }); }
double PlayerStatistics::meanLoss() const { return Mean(games, [](const GameFigures &g) { return g.loss; }); }

int PlayerStatistics::best() const
{
    int best = 0;
    for (const GameFigures &g : games)
        best = std::max(best, g.total);
    return best;
}

QString DefaultRatingsFile()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/quintor/ratings.json");
}

Statistics Gather(const strategy::Table &table, const QString &folder, const QString &ratingsFile)
{
    const std::map<QString, Rated> kept = LoadRatings(ratingsFile);
    std::map<QString, Rated> now;
    bool changed = false;
    const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files | QDir::System,
                                                             QDir::Name);
    for (const QFileInfo &info : entries) {
        const QString key = info.fileName();
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        const auto found = kept.find(key);
        if (found != kept.end() && found->second.size == info.size() && found->second.modified == modified) {
            now[key] = found->second;
            continue;
        }
        Rated rated;
        rated.size = info.size();
        rated.modified = modified;
        if (const auto record = Load(info.filePath(), nullptr)) {
            rated.valid = true;
            rated.finished = record->finished;
            for (const PlayerReview &r : Review(table, *record))
                rated.players.emplace_back(r.name, GameFigures{record->finished, r.total, r.bonus, r.luck, r.loss});
        }
        now[key] = std::move(rated);
        changed = true;
    }
    if (!ratingsFile.isEmpty() && (changed || now.size() != kept.size())) {
        QJsonObject records;
        for (const auto &[key, rated] : now)
            records.insert(key, ToJson(rated));
        // Only a help for speed: a file that cannot be written costs time, not figures.
        files::WriteAtomically(ratingsFile, QJsonDocument(QJsonObject{{QStringLiteral("version"), RatingsVersion},
                                                                      {QStringLiteral("records"), records}})
                                                .toJson(QJsonDocument::Compact));
    }

    // Oldest game first, for each name.
    std::vector<const Rated *> games;
    Statistics statistics;
    for (const auto &[key, rated] : now) {
        if (rated.valid)
            games.push_back(&rated);
        else
            ++statistics.skipped;
    }
    std::stable_sort(games.begin(), games.end(), [](const Rated *a, const Rated *b) { return a->finished < b->finished; });
    std::map<QString, PlayerStatistics> byName;
    for (const Rated *rated : games) {
        for (const auto &[name, figures] : rated->players) {
            PlayerStatistics &player = byName[name];
            player.name = name;
            player.games.push_back(figures);
        }
    }
    for (auto &[name, player] : byName)
        statistics.players.push_back(std::move(player));
    return statistics;
}

QString FormatText(const Statistics &s)
{
    QString out;
    qsizetype width = 6;
    QStringList names;
    for (const PlayerStatistics &p : s.players) {
        names << PrintableText(p.name, LongestName);
        width = std::max(width, names.back().size());
    }
    out += QStringLiteral("%1  Games    Mean  Best  Bonus    Luck    Loss\n").arg(QStringLiteral("Player"), -int(width));
    for (std::size_t i = 0; i < s.players.size(); ++i) {
        const PlayerStatistics &p = s.players[i];
        out += QStringLiteral("%1  %2  %3  %4  %5%  %6  %7\n")
                   .arg(names[qsizetype(i)], -int(width))
                   .arg(p.count(), 5)
                   .arg(p.mean(), 6, 'f', 1)
                   .arg(p.best(), 4)
                   .arg(p.bonusRate() * 100, 4, 'f', 0)
                   .arg(p.meanLuck(), 6, 'f', 2)
                   .arg(p.meanLoss(), 6, 'f', 2);
    }
    if (s.players.empty())
        out += QStringLiteral("(no games)\n");
    if (s.skipped > 0)
        out += QStringLiteral("%1 file(s) skipped: not valid game records.\n").arg(s.skipped);
    return out;
}

QByteArray FormatJson(const Statistics &s)
{
    QJsonArray players;
    for (const PlayerStatistics &p : s.players)
        players.append(QJsonObject{{QStringLiteral("name"), p.name},
                                   {QStringLiteral("games"), p.count()},
                                   {QStringLiteral("mean"), strategy::JsonFigure(p.mean())},
                                   {QStringLiteral("best"), p.best()},
                                   {QStringLiteral("bonus_rate"), strategy::JsonFigure(p.bonusRate())},
                                   {QStringLiteral("mean_luck"), strategy::JsonFigure(p.meanLuck())},
                                   {QStringLiteral("mean_loss"), strategy::JsonFigure(p.meanLoss())}});
    return QJsonDocument(QJsonObject{{QStringLiteral("players"), players}, {QStringLiteral("skipped"), s.skipped}})
               .toJson(QJsonDocument::Compact) + '\n';
}

} // namespace history
