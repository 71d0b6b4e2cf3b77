#include "coach/Coach.h"

#include "strategy/Wording.h"

#include "scoring/Categories.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace coach {

namespace {

bool AnyUpperBooked(strategy::BookedRows booked)
{
    for (int row = Categories::FirstUpperRow; row <= Categories::LastUpperRow; ++row)
        if (strategy::IsBooked(booked, row))
            return true;
    return false;
}

QString UpperRowsBooked(strategy::BookedRows booked)
{
    QStringList rows;
    for (int row = Categories::FirstUpperRow; row <= Categories::LastUpperRow; ++row)
        if (strategy::IsBooked(booked, row))
            rows << QString::number(row);
    return rows.join(QStringLiteral(", "));
}

// The position itself is checked once everything is read, so that the
// order of the options does not matter.
QString CheckPosition(Request &r, const std::optional<QString> &booked,
                      const std::optional<QString> &upper, const std::optional<QString> &dice,
                      const std::optional<QString> &rolls)
{
    if (booked && !booked->trimmed().isEmpty()) {
        for (const QString &item : booked->split(u',')) {
            bool ok = false;
            const int row = item.trimmed().toInt(&ok);
            if (!ok)
                return QStringLiteral("--booked needs row numbers 1..15 separated by commas, got '%1'")
                    .arg(*booked);
            if (row < 1 || row > strategy::RowCount)
                return QStringLiteral("row %1 in --booked is outside 1..15").arg(row);
            if (strategy::IsBooked(r.booked, row))
                return QStringLiteral("row %1 is given twice in --booked").arg(row);
            r.booked = static_cast<strategy::BookedRows>(r.booked | (1u << (row - 1)));
        }
    }

    if (upper) {
        bool ok = false;
        r.upperSum = upper->trimmed().toInt(&ok);
        if (!ok)
            return QStringLiteral("--upper needs a whole number 0..105, got '%1'").arg(*upper);
        if (r.upperSum < 0 || r.upperSum > strategy::MostUpperSum)
            return QStringLiteral("--upper %1 is outside 0..105").arg(r.upperSum);
    } else if (AnyUpperBooked(r.booked)) {
        // Defaulting to 0 would quietly give advice for another position.
        return QStringLiteral("--booked includes upper rows (1..6), so --upper must give their sum");
    }
    if (!strategy::UpperSumPossible(r.booked, r.upperSum)) {
        if (!AnyUpperBooked(r.booked))
            return QStringLiteral("--upper %1 is impossible: no upper row (1..6) is booked, so the sum is 0")
                .arg(r.upperSum);
        return QStringLiteral("--upper %1 cannot be made by the booked upper rows %2 "
                              "(row r scores r times 0..5)")
            .arg(r.upperSum)
            .arg(UpperRowsBooked(r.booked));
    }

    if (dice && !rolls)
        return QStringLiteral("--dice needs --rolls-left as well");
    if (rolls && !dice)
        return QStringLiteral("--rolls-left needs --dice as well");
    if (!dice)
        return {};
    const bool fiveFaces = dice->size() == 5 && std::all_of(dice->begin(), dice->end(), [](QChar c) {
                               return c >= u'1' && c <= u'6';
                           });
    if (!fiveFaces)
        return QStringLiteral("--dice needs five digits 1..6 such as 55316, got '%1'").arg(*dice);
    strategy::Dice faces{};
    for (int d = 0; d < 5; ++d)
        faces[d] = dice->at(d).unicode() - u'0';
    r.dice = faces;
    if (*rolls != QLatin1String("0") && *rolls != QLatin1String("1") && *rolls != QLatin1String("2"))
        return QStringLiteral("--rolls-left needs 0, 1 or 2, got '%1'").arg(*rolls);
    r.rollsLeft = rolls->toInt();
    if (r.booked == strategy::AllBooked)
        return QStringLiteral("--dice makes no sense when every row is booked: the game is over");
    return {};
}

// --simulate takes the place of a position, and --level and --seed only
// make sense with it.
QString CheckSimulation(Request &r, const std::optional<QString> &games, const std::optional<QString> &level,
                        const std::optional<QString> &seed, bool position)
{
    if (!games) {
        if (level || seed)
            return QStringLiteral("%1 goes with --simulate").arg(level ? QStringLiteral("--level") : QStringLiteral("--seed"));
        return {};
    }
    if (position)
        return QStringLiteral("--simulate plays whole games: it takes no --booked, --upper, --dice or --rolls-left");
    bool ok = false;
    const long n = games->trimmed().toLong(&ok);
    if (!ok || n < 1)
        return QStringLiteral("--simulate needs a number of games of 1 or more, got '%1'").arg(*games);
    r.simulate = n;
    if (level) {
        const auto found = strategy::LevelFromName(level->trimmed().toLower().toStdString());
        if (!found)
            return QStringLiteral("--level needs easy, medium, hard or perfect, got '%1'").arg(*level);
        r.level = *found;
    }
    if (seed) {
        const qulonglong value = seed->trimmed().toULongLong(&ok);
        if (!ok)
            return QStringLiteral("--seed needs a whole number 0..18446744073709551615, got '%1'").arg(*seed);
        r.seed = value;
    }
    return {};
}

QString Number(double value)
{
    return QString::number(value, 'f', 2);
}

// The table holds floats: more digits than these would be noise.
double Rounded(double value)
{
    return std::round(value * 1e4) / 1e4;
}

QJsonObject ToJson(const strategy::Choice &choice)
{
    QJsonObject object;
    if (choice.action == strategy::Choice::Action::Keep) {
        QJsonArray kept;
        for (int face : choice.kept)
            kept.append(face);
        object.insert(QStringLiteral("action"), QStringLiteral("keep"));
        object.insert(QStringLiteral("dice"), kept);
    } else {
        object.insert(QStringLiteral("action"), QStringLiteral("book"));
        object.insert(QStringLiteral("row"), choice.row);
        object.insert(QStringLiteral("caption"), QString::fromLatin1(Categories::Rows[choice.row].caption));
        object.insert(QStringLiteral("points"), choice.points);
    }
    object.insert(QStringLiteral("expected_remaining"), Rounded(choice.expected));
    return object;
}

} // namespace

Parsed Parse(const QStringList &args)
{
    Parsed out;
    Request &r = out.request;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        r.help = true;
        return out;
    }

    std::optional<QString> booked, upper, dice, rolls, games, level, seed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(u'-')) {
            out.error = QStringLiteral("unexpected argument '%1'").arg(arg);
            return out;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (name == QLatin1String("--json")) {
            if (eq >= 0)
                out.error = QStringLiteral("--json takes no value");
            else if (r.json)
                out.error = QStringLiteral("--json is given twice");
            r.json = true;
            if (!out.error.isEmpty())
                return out;
            continue;
        }
        std::optional<QString> *slot = name == QLatin1String("--booked")       ? &booked
                                       : name == QLatin1String("--upper")      ? &upper
                                       : name == QLatin1String("--dice")       ? &dice
                                       : name == QLatin1String("--rolls-left") ? &rolls
                                       : name == QLatin1String("--simulate")   ? &games
                                       : name == QLatin1String("--level")      ? &level
                                       : name == QLatin1String("--seed")       ? &seed
                                                                               : nullptr;
        if (!slot) {
            out.error = QStringLiteral("unknown option '%1' (see --help)").arg(name);
            return out;
        }
        if (slot->has_value()) {
            out.error = QStringLiteral("%1 is given twice").arg(name);
            return out;
        }
        if (eq >= 0) {
            *slot = arg.mid(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--"))) {
            *slot = args[++i];
        } else {
            out.error = QStringLiteral("%1 needs a value").arg(name);
            return out;
        }
    }
    out.error = CheckSimulation(r, games, level, seed, booked || upper || dice || rolls);
    if (out.error.isEmpty() && !r.simulate)
        out.error = CheckPosition(r, booked, upper, dice, rolls);
    return out;
}

QString HelpText()
{
    // The captions come from the game's own table, four lines of them.
    QString rows = QStringLiteral("                  ");
    for (int row = 1; row <= strategy::RowCount; ++row) {
        rows += QStringLiteral(" %1 %2").arg(row).arg(QString::fromLatin1(Categories::Rows[row].caption));
        const bool lineEnd = row == 6 || row == 10 || row == 13;
        if (row < strategy::RowCount)
            rows += u',';
        if (lineEnd)
            rows += QStringLiteral("\n                  ");
    }
    rows += u'\n';

    return QStringLiteral(
               "Usage: quintor-coach [--booked ROWS --upper N] [--dice DDDDD --rolls-left R] [--json]\n"
               "       quintor-coach --simulate N [--level LEVEL] [--seed S] [--json]\n"
               "\n"
               "Tells the best play for Quintor: the choice with the highest expected\n"
               "final score. With no options it prints the expected score of a new game\n"
               "under perfect play. These options describe where a player stands:\n"
               "\n"
               "  --booked ROWS    the rows already booked, by number, separated by commas:\n"
               "%1"
               "  --upper N        the sum scored in the booked rows 1..6 (0..105; 63 or\n"
               "                   more has earned the bonus of 50); needed when any of\n"
               "                   them is booked\n"
               "  --dice DDDDD     the five dice on the table, such as 55316\n"
               "  --rolls-left R   rolls still allowed this turn: 2 after the first roll,\n"
               "                   1 after the second, 0 after the third\n"
               "  --simulate N     play N one-player games with the game's own dice and\n"
               "                   print the mean, standard deviation, lowest and highest\n"
               "                   total, the share of games with the bonus and the mean\n"
               "                   loss against perfect play\n"
               "  --level LEVEL    the strength that plays them: easy, medium, hard or\n"
               "                   perfect (the default)\n"
               "  --seed S         the same seed gives the same games; without it every\n"
               "                   run differs\n"
               "  --json           print one JSON object instead of text\n"
               "  -h, --help       print this help\n"
               "\n"
               "Between turns it prints the expected points still to come under perfect\n"
               "play, the bonus included. With --dice and --rolls-left it prints the best\n"
               "choice, then every choice, best first, with the expected points still to\n"
               "come after it and what it costs against the best.\n"
               "\n"
               "Example: Aces, Deuces and Chance are booked, Aces scored 3 and Deuces 6,\n"
               "and the first roll of the turn shows 5 5 3 1 5:\n"
               "\n"
               "  quintor-coach --booked 1,2,15 --upper 9 --dice 55315 --rolls-left 2\n"
               "\n"
               "The first run works out the table of perfect play, which takes a few\n"
               "seconds, and keeps it in the per-user cache folder shared with the game.\n"
               "\n"
               "Exit status: 0 with an answer, 2 for bad input, 1 when the answer cannot\n"
               "be written.\n")
        .arg(rows);
}

QString FormatText(const Request &request, double expected, const std::vector<strategy::Choice> &choices)
{
    if (!request.dice || choices.empty()) {
        if (request.booked == 0)
            return QStringLiteral("Expected score of a new game under perfect play: %1\n").arg(Number(expected));
        return QStringLiteral("Expected points still to come: %1\n").arg(Number(expected));
    }

    QString out = QStringLiteral("Best choice: %1\nExpected points still to come: %2\n\n")
                      .arg(strategy::Describe(choices.front()), Number(expected));
    // Three columns: the words, the points to come, and what each choice
    // costs against the best.
    const QString toComeHeader = QStringLiteral("Points to come");
    const QString costHeader = QStringLiteral("Cost");
    QStringList words, toCome, cost;
    for (const auto &choice : choices) {
        words << strategy::Describe(choice);
        toCome << Number(choice.expected);
        cost << (cost.isEmpty() ? QString() : Number(std::max(0.0, choices.front().expected - choice.expected)));
    }
    qsizetype wordsWidth = QStringLiteral("Choice").size(), costWidth = costHeader.size();
    for (int i = 0; i < words.size(); ++i) {
        wordsWidth = std::max(wordsWidth, words[i].size());
        costWidth = std::max(costWidth, cost[i].size());
    }
    const auto line = [&](const QString &a, const QString &b, const QString &c) {
        return (a.leftJustified(wordsWidth) + QStringLiteral("  ") + b.rightJustified(toComeHeader.size()) +
                QStringLiteral("  ") + c.rightJustified(costWidth))
                   .trimmed() +
               u'\n';
    };
    out += line(QStringLiteral("Choice"), toComeHeader, costHeader);
    for (int i = 0; i < words.size(); ++i)
        out += line(words[i], toCome[i], cost[i]);
    return out;
}

QByteArray FormatJson(const Request &request, double expected, const std::vector<strategy::Choice> &choices)
{
    QJsonObject root;
    root.insert(QStringLiteral("expected_remaining"), Rounded(expected));
    if (request.dice && !choices.empty()) {
        QJsonArray list;
        for (const auto &choice : choices)
            list.append(ToJson(choice));
        root.insert(QStringLiteral("best"), list.first());
        root.insert(QStringLiteral("choices"), list);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace coach
