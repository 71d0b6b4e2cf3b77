#include "history/GameRecord.h"

#include "files/RegularFile.h"
#include "scoring/valmod.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>

namespace history {

namespace {

const QString Format = QStringLiteral("quintor-game");
constexpr int Version = 1;
// A whole record of four players is about 20 KiB.
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

// Reading: each check names what it found wrong; the first one wins.
class Reader {
public:
    QString error;

    bool fail(const QString &what)
    {
        if (error.isEmpty())
            error = what;
        return false;
    }

    // A whole number within [low, high].
    bool number(const QJsonValue &value, int low, int high, int &out, const QString &what)
    {
        const double d = value.toDouble(-1e9);
        if (!value.isDouble() || d != static_cast<int>(d) || d < low || d > high)
            return fail(QStringLiteral("%1 must be a whole number %2..%3").arg(what).arg(low).arg(high));
        out = static_cast<int>(d);
        return true;
    }

    bool dice(const QJsonValue &value, strategy::Dice &out, const QString &where)
    {
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() != 5)
            return fail(QStringLiteral("%1: a roll must be five dice").arg(where));
        for (int i = 0; i < 5; ++i)
            if (!number(array[i], 1, 6, out[std::size_t(i)], QStringLiteral("%1: a die's face").arg(where)))
                return false;
        return true;
    }

    bool turn(const QJsonValue &value, Turn &out, const QString &where)
    {
        const QJsonObject object = value.toObject();
        const QJsonArray rolls = object.value(QStringLiteral("rolls")).toArray();
        const QJsonArray held = object.value(QStringLiteral("held")).toArray();
        if (!value.isObject() || !object.value(QStringLiteral("rolls")).isArray()
            || !object.value(QStringLiteral("held")).isArray())
            return fail(QStringLiteral("%1 needs \"rolls\" and \"held\" lists").arg(where));
        if (rolls.isEmpty() || rolls.size() > 3)
            return fail(QStringLiteral("%1 has %2 rolls; a turn has 1 to 3").arg(where).arg(rolls.size()));
        if (held.size() != rolls.size() - 1)
            return fail(QStringLiteral("%1 has %2 rolls but %3 \"held\" lists; it needs one fewer")
                            .arg(where).arg(rolls.size()).arg(held.size()));
        for (const QJsonValue &roll : rolls) {
            out.rolls.emplace_back();
            if (!dice(roll, out.rolls.back(), where))
                return false;
        }
        for (int r = 0; r < held.size(); ++r) {
            std::vector<int> indexes;
            if (!held[r].isArray())
                return fail(QStringLiteral("%1: \"held\" must list die indexes 0..4").arg(where));
            for (const QJsonValue &index : held[r].toArray()) {
                int i = 0;
                if (!number(index, 0, 4, i, QStringLiteral("%1: a held die's index").arg(where)))
                    return false;
                if (std::find(indexes.begin(), indexes.end(), i) != indexes.end())
                    return fail(QStringLiteral("%1: die %2 is held twice").arg(where).arg(i));
                // A held die keeps its face through the next roll.
                if (out.rolls[std::size_t(r)][std::size_t(i)] != out.rolls[std::size_t(r) + 1][std::size_t(i)])
                    return fail(QStringLiteral("%1: held die %2 changed from %3 to %4 in roll %5")
                                    .arg(where).arg(i).arg(out.rolls[std::size_t(r)][std::size_t(i)])
                                    .arg(out.rolls[std::size_t(r) + 1][std::size_t(i)]).arg(r + 2));
                indexes.push_back(i);
            }
            out.held.push_back(std::move(indexes));
        }
        if (!number(object.value(QStringLiteral("row")), 1, strategy::RowCount, out.row,
                    QStringLiteral("%1: \"row\"").arg(where))
            || !number(object.value(QStringLiteral("points")), 0, 50, out.points,
                       QStringLiteral("%1: \"points\"").arg(where)))
            return false;
        const int scored = Points(out.rolls.back(), out.row);
        if (out.points != scored)
            return fail(QStringLiteral("%1: the dice score %2 in row %3, not %4")
                            .arg(where).arg(scored).arg(out.row).arg(out.points));
        return true;
    }

    bool player(const QJsonValue &value, PlayerRecord &out, int number_, bool finished)
    {
        const QJsonObject object = value.toObject();
        const QString who = QStringLiteral("player %1").arg(number_);
        if (!value.isObject() || !object.value(QStringLiteral("name")).isString())
            return fail(QStringLiteral("%1 needs a \"name\"").arg(who));
        out.name = object.value(QStringLiteral("name")).toString();
        const QJsonValue computer = object.value(QStringLiteral("computer"));
        if (computer.isString()) {
            out.computer = strategy::LevelFromName(computer.toString().toStdString());
            if (!out.computer)
                return fail(QStringLiteral("%1: unknown computer level '%2'").arg(who, computer.toString()));
        } else if (!computer.isNull()) {
            return fail(QStringLiteral("%1: \"computer\" must be null or a level").arg(who));
        }
        const QJsonArray turns = object.value(QStringLiteral("turns")).toArray();
        if (finished ? turns.size() != strategy::RowCount : turns.size() > strategy::RowCount)
            return fail(QStringLiteral("%1 has %2 turns; a %3 game has 15")
                            .arg(who).arg(turns.size()).arg(finished ? QStringLiteral("finished") : QStringLiteral("whole")));
        std::array<bool, 16> booked{};
        for (int t = 0; t < turns.size(); ++t) {
            Turn turn_;
            if (!turn(turns[t], turn_, QStringLiteral("%1, turn %2").arg(who).arg(t + 1)))
                return false;
            if (booked[std::size_t(turn_.row)])
                return fail(QStringLiteral("%1, turn %2: row %3 is booked twice").arg(who).arg(t + 1).arg(turn_.row));
            booked[std::size_t(turn_.row)] = true;
            out.turns.push_back(std::move(turn_));
        }
        if (!number(object.value(QStringLiteral("total")), 0, 10000, out.total, QStringLiteral("%1: \"total\"").arg(who)))
            return false;
        if (out.total != Total(out.turns))
            return fail(QStringLiteral("%1: the total is %2 but the bookings add up to %3")
                            .arg(who).arg(out.total).arg(Total(out.turns)));
        return true;
    }
};

} // namespace

QJsonArray DiceToJson(const strategy::Dice &dice)
{
    QJsonArray array;
    for (int face : dice)
        array.append(face);
    return array;
}

int Points(const strategy::Dice &dice, int row)
{
    valmod::DiceArray values{};
    for (int i = 0; i < 5; ++i)
        values[std::size_t(i)] = static_cast<std::int16_t>(dice[std::size_t(i)]);
    return valmod::Evaluate(values).categoryValue[std::size_t(row)];
}

int Total(const std::vector<Turn> &turns, bool *bonus)
{
    strategy::Card card;
    for (const Turn &turn : turns)
        if (turn.row != 0) // the turn under way has booked nothing yet
            card = strategy::Book(card, turn.row, turn.points);
    if (bonus)
        *bonus = card.upperSum >= strategy::UpperCap;
    return card.total;
}

QByteArray ToJson(const GameRecord &record)
{
    QJsonArray players;
    for (const PlayerRecord &player : record.players) {
        QJsonArray turns;
        for (const Turn &turn : player.turns) {
            QJsonArray rolls, held;
            for (const auto &roll : turn.rolls)
                rolls.append(DiceToJson(roll));
            for (const auto &indexes : turn.held) {
                QJsonArray list;
                for (int i : indexes)
                    list.append(i);
                held.append(list);
            }
            turns.append(QJsonObject{{QStringLiteral("rolls"), rolls},
                                     {QStringLiteral("held"), held},
                                     {QStringLiteral("row"), turn.row},
                                     {QStringLiteral("points"), turn.points}});
        }
        players.append(QJsonObject{
            {QStringLiteral("name"), player.name},
            {QStringLiteral("computer"),
             player.computer ? QJsonValue(QLatin1String(strategy::LevelName(*player.computer))) : QJsonValue()},
            {QStringLiteral("total"), player.total},
            {QStringLiteral("turns"), turns}});
    }
    const QJsonObject root{
        {QStringLiteral("format"), Format},
        {QStringLiteral("version"), Version},
        {QStringLiteral("finished"), record.finished.isValid() ? QJsonValue(record.finished.toUTC().toString(Qt::ISODate))
                                                               : QJsonValue(false)},
        {QStringLiteral("players"), players}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<GameRecord> FromJson(const QByteArray &json, QString *error, bool unfinishedToo)
{
    Reader reader;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = document.object();
    GameRecord record;
    const auto failed = [&](const QString &what) {
        if (error)
            *error = what;
        return std::nullopt;
    };
    if (parseError.error != QJsonParseError::NoError)
        return failed(QStringLiteral("not valid JSON: %1 at byte %2").arg(parseError.errorString()).arg(parseError.offset));
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != Format)
        return failed(QStringLiteral("not a game record: \"format\" is not \"%1\"").arg(Format));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble())
        return failed(QStringLiteral("\"version\" must be the number %1%2")
                          .arg(Version)
                          .arg(version.isString() ? QStringLiteral(", not text")
                                                  : version.isUndefined() ? QStringLiteral(", and is missing") : QString()));
    if (version.toDouble() != Version)
        return failed(QStringLiteral("record version %1 is not supported (only %2)").arg(version.toDouble()).arg(Version));
    const QJsonValue finished = root.value(QStringLiteral("finished"));
    const bool going = unfinishedToo && finished == QJsonValue(false);
    if (!going) {
        record.finished = QDateTime::fromString(finished.toString(), Qt::ISODate);
        if (!record.finished.isValid())
            return failed(QStringLiteral("\"finished\" is not a date and time such as 2026-12-07T15:04:05Z%1")
                              .arg(unfinishedToo ? QStringLiteral(", nor false for a game still going on") : QString()));
    }
    const QJsonArray players = root.value(QStringLiteral("players")).toArray();
    if (players.isEmpty() || players.size() > 4)
        return failed(QStringLiteral("a game has 1 to 4 players, not %1").arg(players.size()));
    for (int p = 0; p < players.size(); ++p) {
        record.players.emplace_back();
        if (!reader.player(players[p], record.players.back(), p + 1, !going))
            return failed(reader.error);
    }
    if (going) {
        // Players take their turns in seat order.
        const std::size_t first = record.players.front().turns.size();
        for (std::size_t p = 1; p < record.players.size(); ++p) {
            const std::size_t turns = record.players[p].turns.size();
            if (turns > record.players[p - 1].turns.size() || turns + 1 < first)
                return failed(QStringLiteral("player %1 has %2 turns after player 1's %3; in a game still going on "
                                             "each player has the turns of the one before or one fewer")
                                  .arg(p + 1).arg(turns).arg(first));
        }
        if (record.players.back().turns.size() == strategy::RowCount)
            return failed(QStringLiteral("every player has 15 turns, so the game is over: \"finished\" must say when"));
    }
    return record;
}

int Rounds(const GameRecord &record)
{
    int rounds = 0;
    for (const PlayerRecord &player : record.players) {
        int booked = 0;
        for (const Turn &turn : player.turns)
            booked += turn.row != 0 ? 1 : 0;
        rounds = std::max(rounds, booked);
    }
    return rounds;
}

std::vector<strategy::SeatState> SeatsAfter(const GameRecord &record, int turns)
{
    std::vector<strategy::SeatState> seats;
    for (const PlayerRecord &player : record.players) {
        strategy::Card card;
        for (int t = 0; t < turns && t < int(player.turns.size()); ++t) {
            const Turn &turn = player.turns[std::size_t(t)];
            if (turn.row == 0)
                break; // the turn under way has booked nothing yet
            card = strategy::Book(card, turn.row, turn.points);
        }
        seats.push_back({card.booked, card.upperSum, card.total, player.computer});
    }
    return seats;
}

QString DisplayName(const QString &name, const std::optional<strategy::Level> &computer)
{
    if (!computer)
        return name;
    const QString strength = QStringLiteral(" (%1)").arg(QString::fromStdString(strategy::LevelTitle(*computer)));
    return name.endsWith(strength) ? name : name + strength;
}

QString DefaultFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/quintor/games");
}

bool Save(const GameRecord &record, const QString &folder, QString *fileName, QString *why)
{
    if (folder.isEmpty()) {
        if (why)
            *why = QStringLiteral("no folder for game records");
        return false;
    }
    // Two copies of the game finishing in the same second still pick
    // different names; one that is taken anyway is never replaced. A folder
    // that cannot be searched (no permission, a loop of links) says so for
    // every name: a few tries, then give up.
    QString name, problem = QStringLiteral("every name tried is taken");
    for (int attempt = 0;; ++attempt) {
        if (attempt == 8) {
            if (why)
                *why = QStringLiteral("no new name can be made there: %1").arg(problem);
            return false;
        }
        name = QDir(folder).filePath(QStringLiteral("%1-%2.json")
                                         .arg(record.finished.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")))
                                         .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
        if (files::KindOf(name, &problem) == files::Kind::Missing)
            break;
    }
    if (fileName)
        *fileName = name;
    return files::WriteAtomically(name, ToJson(record), why);
}

std::optional<GameRecord> Load(const QString &fileName, QString *error, bool unfinishedToo)
{
    QByteArray bytes;
    QString why;
    if (!files::ReadAll(fileName, MaxFileSize, bytes, &why)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(fileName, why);
        return std::nullopt;
    }
    return FromJson(bytes, error, unfinishedToo);
}

} // namespace history
