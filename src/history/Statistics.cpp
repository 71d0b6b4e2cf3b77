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
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <sys/stat.h>

namespace history {

namespace {

// Raised whenever what a review finds could change (the engine, the rules)
// or what is kept of it.
constexpr int RatingsVersion = 3;
constexpr qint64 MaxRatingsSize = 256 * 1024 * 1024;

template <typename F>
double Mean(const std::vector<GameFigures> &games, F value)
{
    double sum = 0;
    for (const GameFigures &g : games)
        sum += value(g);
    return games.empty() ? 0.0 : sum / double(games.size());
}

// One record's figures per player, as kept in the ratings file under the
// file's path; an empty list for a file that is no valid record.
struct Rated {
    QString file; // the file as it was rated: see Identity
    QDateTime finished;
    std::vector<std::pair<QString, GameFigures>> players;
    bool valid = false;
};

// The file as the file system knows it: device, inode, size, and the
// modification and change times in nanoseconds. The change time follows
// every change and cannot be set back (touch -r sets back only the other).
// Empty, so never matched, for a file that cannot be looked at.
QString Identity(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return QStringLiteral("%1:%2:%3:%4.%5:%6.%7")
        .arg(st.st_dev).arg(st.st_ino).arg(st.st_size)
        .arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec, 9, 10, QLatin1Char('0'))
        .arg(st.st_ctim.tv_sec).arg(st.st_ctim.tv_nsec, 9, 10, QLatin1Char('0'));
}

QJsonObject ToJson(const Rated &rated)
{
    QJsonArray players;
    for (const auto &[name, g] : rated.players)
        players.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("total"), g.total},
                                   {QStringLiteral("bonus"), g.bonus},
                                   {QStringLiteral("luck"), g.luck},
                                   {QStringLiteral("loss"), g.loss}});
    return QJsonObject{{QStringLiteral("file"), rated.file},
                       {QStringLiteral("finished"), rated.finished.toString(Qt::ISODate)},
                       {QStringLiteral("valid"), rated.valid},
                       {QStringLiteral("players"), players}};
}

// The most the rows 7..15 can score together.
int MostLowerPoints()
{
    static const int most = [] {
        std::array<int, strategy::RowCount + 1> best{};
        for (int a = 1; a <= 6; ++a)
            for (int b = a; b <= 6; ++b)
                for (int c = b; c <= 6; ++c)
                    for (int d = c; d <= 6; ++d)
                        for (int e = d; e <= 6; ++e)
                            for (int row = 7; row <= strategy::RowCount; ++row)
                                best[std::size_t(row)] = std::max(best[std::size_t(row)], Points({a, b, c, d, e}, row));
        int sum = 0;
        for (int points : best)
            sum += points;
        return sum;
    }();
    return most;
}

// A kept game's figures are checked as a record's are: a doubtful one
// (damaged, or made up) is worked out again.
bool Plausible(const GameFigures &g, double expectedStart)
{
    using namespace strategy;
    const int most = g.bonus ? MostUpperSum + UpperBonus + MostLowerPoints() : UpperCap - 1 + MostLowerPoints();
    const int least = g.bonus ? UpperCap + UpperBonus : 0;
    // total = expected start + luck - loss, as every review finds; no
    // choice costs less than nothing, nor can a game lose thousands.
    return g.total >= least && g.total <= most && g.loss > -0.01 && g.loss < 5000
        && std::abs(expectedStart + g.luck - g.loss - g.total) < 0.01;
}

std::optional<Rated> FromJson(const QJsonObject &object, double expectedStart)
{
    Rated rated;
    rated.file = object.value(QStringLiteral("file")).toString();
    rated.finished = QDateTime::fromString(object.value(QStringLiteral("finished")).toString(), Qt::ISODate);
    rated.valid = object.value(QStringLiteral("valid")).toBool();
    const QJsonArray players = object.value(QStringLiteral("players")).toArray();
    if (rated.file.isEmpty() || (rated.valid ? !rated.finished.isValid() || players.isEmpty() || players.size() > 4
                                             : !players.isEmpty()))
        return std::nullopt;
    for (const QJsonValue &p : players) {
        const QJsonObject o = p.toObject();
        const QJsonValue total = o.value(QStringLiteral("total")), bonus = o.value(QStringLiteral("bonus"));
        GameFigures g{rated.finished, total.toInt(-1), bonus.toBool(), o.value(QStringLiteral("luck")).toDouble(NAN),
                      o.value(QStringLiteral("loss")).toDouble(NAN)};
        if (!o.value(QStringLiteral("name")).isString() || !bonus.isBool() || !Plausible(g, expectedStart))
            return std::nullopt;
        rated.players.emplace_back(o.value(QStringLiteral("name")).toString(), g);
    }
    return rated;
}

// Only the kept ratings that pass the checks: the others are worked out again.
std::map<QString, Rated> LoadRatings(const QString &file, double expectedStart)
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
        if (auto rated = FromJson(it.value().toObject(), expectedStart))
            ratings[it.key()] = std::move(*rated);
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

Statistics Gather(const strategy::Table &table, const QString &folder, const QString &ratingsFile,
                  const GatherProgress &progress)
{
    const double expectedStart = table.Expected(0, 0);
    const std::map<QString, Rated> kept = LoadRatings(ratingsFile, expectedStart);
    std::map<QString, Rated> current;
    bool changed = false;
    const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files | QDir::System,
                                                             QDir::Name);
    Statistics statistics;
    for (const QFileInfo &info : entries) {
        if (progress && !progress(int(current.size()), int(entries.size()))) {
            statistics.complete = false;
            return statistics;
        }
        // Under its whole path: another folder's record of the same name is another record.
        const QString key = info.absoluteFilePath();
        const QString file = Identity(key);
        const auto found = kept.find(key);
        if (found != kept.end() && !file.isEmpty() && found->second.file == file) {
            current[key] = found->second;
            continue;
        }
        Rated rated;
        rated.file = file;
        if (const auto record = Load(key, nullptr)) {
            rated.valid = true;
            rated.finished = record->finished;
            for (const PlayerReview &r : Review(table, *record))
                rated.players.emplace_back(DisplayName(r.name, r.computer), GameFigures{record->finished, r.total, r.bonus, r.luck, r.loss});
        }
        current[key] = std::move(rated);
        changed = true;
    }
    if (!ratingsFile.isEmpty() && (changed || current.size() != kept.size())) {
        QJsonObject records;
        for (const auto &[key, rated] : current)
            records.insert(key, ToJson(rated));
        // Only a help for speed: a file that cannot be written costs time, not figures.
        files::WriteAtomically(ratingsFile, QJsonDocument(QJsonObject{{QStringLiteral("version"), RatingsVersion},
                                                                      {QStringLiteral("records"), records}})
                                                .toJson(QJsonDocument::Compact));
    }

    // Oldest game first, for each name.
    std::vector<const Rated *> games;
    for (const auto &[key, rated] : current) {
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
        // All at once, so that a name holding "%2" stays as it is.
        out += QStringLiteral("%1  %2  %3  %4  %5%  %6  %7\n")
                   .arg(names[qsizetype(i)].leftJustified(width), QString::number(p.count()).rightJustified(5),
                        QString::number(p.mean(), 'f', 1).rightJustified(6), QString::number(p.best()).rightJustified(4),
                        QString::number(p.bonusRate() * 100, 'f', 0).rightJustified(4),
                        QString::number(p.meanLuck(), 'f', 2).rightJustified(6),
                        QString::number(p.meanLoss(), 'f', 2).rightJustified(6));
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
