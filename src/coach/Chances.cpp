#include "coach/Chances.h"

#include "history/Review.h"
#include "strategy/Wording.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <bitset>

namespace coach {

std::optional<Chances> WinChances(const strategy::Table &table, const history::GameRecord &record, int games,
                                  std::uint64_t seed)
{
    const std::vector<strategy::SeatState> seats = history::SeatsAfter(record);
    const std::vector<double> chances = strategy::WinChances(table, seats, games, seed);
    if (chances.size() != seats.size())
        return std::nullopt;
    Chances out;
    out.games = games;
    for (std::size_t i = 0; i < seats.size(); ++i) {
        const int open = strategy::RowCount - int(std::bitset<strategy::RowCount>(seats[i].booked).count());
        out.seats.push_back({record.players[i].name, seats[i].computer, seats[i].total, open, chances[i]});
    }
    return out;
}

QString FormatText(const Chances &chances)
{
    bool over = true;
    QStringList names{QStringLiteral("Player")};
    for (const SeatChance &s : chances.seats) {
        over = over && s.open == 0;
        // A record is data: no control characters reach the terminal, and a
        // long name is cut short.
        names << history::PrintableText(history::DisplayName(s.name, s.computer), history::LongestName);
    }
    qsizetype width = 0;
    for (const QString &name : names)
        width = std::max(width, name.size());
    QString out = over ? QStringLiteral("The game is over (ties go to the lower seat):\n")
                       : QStringLiteral("Chance of winning, %1 games a player played out (ties go to the lower seat):\n")
                             .arg(chances.games);
    const auto line = [&](const QString &name, const QString &total, const QString &open, const QString &chance) {
        return name.leftJustified(width) + QStringLiteral("  ") + total.rightJustified(5) + QStringLiteral("  ")
             + open.rightJustified(4) + QStringLiteral("  ") + chance.rightJustified(6) + u'\n';
    };
    out += line(names[0], QStringLiteral("Total"), QStringLiteral("Open"), QStringLiteral("Chance"));
    for (std::size_t i = 0; i < chances.seats.size(); ++i) {
        const SeatChance &s = chances.seats[i];
        out += line(names[qsizetype(i) + 1], QString::number(s.total), QString::number(s.open),
                    QString::number(s.chance * 100, 'f', 1) + u'%');
    }
    return out;
}

QByteArray FormatJson(const Chances &chances)
{
    QJsonArray players;
    for (const SeatChance &s : chances.seats)
        players.append(QJsonObject{
            {QStringLiteral("name"), s.name},
            {QStringLiteral("computer"),
             s.computer ? QJsonValue(QLatin1String(strategy::LevelName(*s.computer))) : QJsonValue()},
            {QStringLiteral("total"), s.total},
            {QStringLiteral("open"), s.open},
            {QStringLiteral("chance"), strategy::JsonFigure(s.chance)}});
    return QJsonDocument(QJsonObject{{QStringLiteral("games"), chances.games}, {QStringLiteral("players"), players}})
               .toJson(QJsonDocument::Compact)
         + '\n';
}

} // namespace coach
