#include "coach/Coach.h"

#include "coach/Simulation.h"

#include "strategy/Wording.h"

#include "scoring/Categories.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>
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
            int row = item.trimmed().toInt(&ok);
            // A row's name as in the window, in any case.
            for (int named = 1; !ok && named <= strategy::RowCount; ++named) {
                if (item.simplified().compare(QLatin1String(Categories::Rows[named].caption), Qt::CaseInsensitive) == 0) {
                    row = named;
                    ok = true;
                }
            }
            if (!ok)
                return QStringLiteral("--booked needs rows by number 1..15 or name, separated by commas, got '%1'")
                    .arg(item.trimmed());
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
    // 55316, "5 5 3 1 6" or 5,5,3,1,6: five faces, written together or apart.
    QString digits = *dice;
    const QStringList parts = dice->split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (parts.size() == 5)
        digits = parts.join(QString());
    const bool fiveFaces = (parts.size() == 1 || parts.size() == 5) && digits.size() == 5
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'1' && c <= u'6'; });
    if (!fiveFaces)
        return QStringLiteral("--dice needs five faces 1..6 such as 55316 or \"5 5 3 1 6\", got '%1'").arg(*dice);
    strategy::Dice faces{};
    for (int d = 0; d < 5; ++d)
        faces[d] = digits.at(d).unicode() - u'0';
    r.dice = faces;
    if (*rolls != QLatin1String("0") && *rolls != QLatin1String("1") && *rolls != QLatin1String("2"))
        return QStringLiteral("--rolls-left needs 0, 1 or 2, got '%1'").arg(*rolls);
    r.rollsLeft = rolls->toInt();
    if (r.booked == strategy::AllBooked)
        return QStringLiteral("--dice makes no sense when every row is booked: the game is over");
    return {};
}

// A whole number within [low, high] for an option, or an error.
QString WholeNumber(const QString &name, const QString &text, long long low, long long high, long long &out)
{
    bool ok = false;
    out = text.trimmed().toLongLong(&ok);
    if (!ok || out < low || out > high)
        return QStringLiteral("%1 needs a whole number %2..%3, got '%4'").arg(name).arg(low).arg(high).arg(text);
    return {};
}

// At most one of --simulate, --review and --stats; each takes the place of a
// position, and --level and --seed only make sense with --simulate.
template <typename Value>
QString CheckRequest(Request &r, const Value &value)
{
    const auto games = value("--simulate"), review = value("--review"), stats = value("--stats");
    const auto level = value("--level"), seed = value("--seed"), score = value("--score"), top = value("--top");
    const auto booked = value("--booked"), upper = value("--upper"), dice = value("--dice"), rolls = value("--rolls-left");
    const auto chance = value("--win-chance"), sampled = value("--games");
    const int modes = (games ? 1 : 0) + (review ? 1 : 0) + (stats ? 1 : 0) + (chance ? 1 : 0);
    if (modes > 1)
        return QStringLiteral("--simulate, --review, --stats and --win-chance cannot be combined");
    if (!games && level)
        return QStringLiteral("--level goes with --simulate");
    if (!games && !chance && seed)
        return QStringLiteral("--seed goes with --simulate or --win-chance");
    if (!chance && sampled)
        return QStringLiteral("--games goes with --win-chance");
    if (modes == 1 && (booked || upper || dice || rolls || score || top))
        return QStringLiteral("%1 takes no --booked, --upper, --dice, --rolls-left, --score or --top")
            .arg(games ? QStringLiteral("--simulate") : review ? QStringLiteral("--review")
                 : stats ? QStringLiteral("--stats") : QStringLiteral("--win-chance"));
    long long n = 0;
    if (seed) {
        bool ok = false;
        const qulonglong s = seed->trimmed().toULongLong(&ok);
        if (!ok)
            return QStringLiteral("--seed needs a whole number 0..18446744073709551615, got '%1'").arg(*seed);
        r.seed = s;
    }
    if (chance) {
        if (chance->isEmpty())
            return QStringLiteral("--win-chance needs a file");
        r.winChance = *chance;
        // Below 100 the figures are noise; above 100,000 memory grows for
        // little (the default is already within a point).
        if (sampled) {
            if (QString e = WholeNumber(QStringLiteral("--games"), *sampled, 100, 100000, n); !e.isEmpty())
                return e;
            r.games = int(n);
        }
        return {};
    }
    if (review) {
        if (review->isEmpty())
            return QStringLiteral("--review needs a file");
        r.review = *review;
        return {};
    }
    if (stats) {
        r.stats = *stats;
        return {};
    }
    if (games) {
        bool ok = false;
        const long count = games->trimmed().toLong(&ok);
        if (!ok || count < 1 || count > MostGames)
            return QStringLiteral("--simulate needs a number of games 1..%1, got '%2'").arg(MostGames).arg(*games);
        r.simulate = count;
        if (level) {
            const auto found = strategy::LevelFromName(level->trimmed().toLower().toStdString());
            if (!found)
                return QStringLiteral("--level needs easy, medium, hard or perfect, got '%1'").arg(*level);
            r.level = *found;
        }
        return {};
    }
    if (score) {
        if (QString e = WholeNumber(QStringLiteral("--score"), *score, 0, 2000, n); !e.isEmpty())
            return e;
        r.score = int(n);
    }
    if (top) {
        if (!dice)
            return QStringLiteral("--top goes with --dice");
        if (QString e = WholeNumber(QStringLiteral("--top"), *top, 1, 1000, n); !e.isEmpty())
            return e;
        r.top = int(n);
    }
    return CheckPosition(r, booked, upper, dice, rolls);
}

QString Number(double value)
{
    return QString::number(value, 'f', 2);
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
    object.insert(QStringLiteral("expected_remaining"), strategy::JsonFigure(choice.expected));
    return object;
}

// With --score, the line with the expected final total; else nothing.
QString FinalLine(const Request &request, double expected)
{
    return request.score ? QStringLiteral("Expected final total: %1\n").arg(Number(*request.score + expected))
                         : QString();
}

// The choices to list: all, or the --top best.
std::vector<strategy::Choice> Listed(const Request &request, const std::vector<strategy::Choice> &choices)
{
    const std::size_t n = request.top ? std::min<std::size_t>(std::size_t(*request.top), choices.size()) : choices.size();
    return {choices.begin(), choices.begin() + static_cast<std::ptrdiff_t>(n)};
}

} // namespace

// The help of --games names the default.
static_assert(strategy::DefaultWinChanceGames == 9604);

const std::vector<Option> &Options()
{
    static const std::vector<Option> options{
        {"--booked", "ROWS", ValueKind::Rows, false,
         "the rows already booked, by number or by name as in the window (in any case), separated by commas"},
        {"--upper", "N", ValueKind::Number, false,
         "the sum scored in the booked rows 1..6 (0..105; 63 or more has earned the bonus of 50); needed when "
         "any of them is booked"},
        {"--dice", "DICE", ValueKind::Dice, false,
         "the five dice on the table, such as 55316, \"5 5 3 1 6\" or 5,5,3,1,6"},
        {"--rolls-left", "R", ValueKind::Number, false,
         "rolls still allowed this turn: 2 after the first roll, 1 after the second, 0 after the third"},
        {"--score", "N", ValueKind::Number, false,
         "the total so far, bonus included: adds the expected final total"},
        {"--top", "N", ValueKind::Number, false, "with --dice, list only the N best choices"},
        {"--simulate", "N", ValueKind::Number, false,
         "play N one-player games (at most 1000000) with the game's own dice and print the mean, standard "
         "deviation, lowest and highest total, the share of games with the bonus and the mean loss against "
         "perfect play"},
        {"--level", "LEVEL", ValueKind::Level, false,
         "the strength that plays the simulated games: easy, medium, hard or perfect (the default)"},
        {"--seed", "S", ValueKind::Number, false,
         "the same seed gives the same simulated games (or chances of winning); without it every run differs"},
        {"--review", "FILE", ValueKind::File, false,
         "rate every decision of a game record against perfect play: per player the total, the luck of the dice "
         "and the points lost by choices, then the costly decisions"},
        {"--stats", "DIR", ValueKind::Folder, true,
         "figures per player over every game record in DIR (by default the game's own record folder): games, "
         "mean and best total, share with the bonus, mean luck and mean loss"},
        {"--win-chance", "FILE", ValueKind::File, false,
         "each player's chance of winning a game record, finished or still going on, from the position after its "
         "last booking: every remaining game sampled, people playing perfectly and computers at their level"},
        {"--games", "N", ValueKind::Number, false,
         "with --win-chance, the games sampled per player (100..100000; the default, 9604, gives every chance "
         "within a percentage point, 19 times in 20)"},
        {"--json", nullptr, ValueKind::None, false, "print one JSON object instead of text"},
        {"--help", nullptr, ValueKind::None, false, "print this help (also -h)"},
    };
    return options;
}

QStringList RowNames()
{
    QStringList rows;
    for (int row = 1; row <= strategy::RowCount; ++row)
        rows << QStringLiteral("%1 %2").arg(row).arg(QLatin1String(Categories::Rows[row].caption));
    return rows;
}


Parsed Parse(const QStringList &args)
{
    Parsed out;
    Request &r = out.request;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        r.help = true;
        return out;
    }

    std::map<QString, QString> given; // option name -> value ("" for a flag)
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(u'-')) {
            out.error = QStringLiteral("unexpected argument '%1'").arg(arg);
            return out;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq < 0 ? arg : arg.left(eq);
        const auto option = std::find_if(Options().begin(), Options().end(),
                                         [&](const Option &o) { return name == QLatin1String(o.name); });
        if (option == Options().end()) {
            out.error = QStringLiteral("unknown option '%1' (see --help)").arg(name);
            return out;
        }
        if (given.count(name)) {
            out.error = QStringLiteral("%1 is given twice").arg(name);
            return out;
        }
        if (!option->value) {
            if (eq >= 0) {
                out.error = QStringLiteral("%1 takes no value").arg(name);
                return out;
            }
            given[name] = QString();
        } else if (eq >= 0) {
            given[name] = arg.mid(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--"))) {
            given[name] = args[++i];
        } else if (option->optionalValue) {
            given[name] = QString();
        } else {
            out.error = QStringLiteral("%1 needs a value").arg(name);
            return out;
        }
    }
    const auto value = [&](const char *name) -> std::optional<QString> {
        const auto it = given.find(QLatin1String(name));
        return it == given.end() ? std::nullopt : std::optional<QString>(it->second);
    };
    r.json = value("--json").has_value();
    out.error = CheckRequest(r, value);
    return out;
}

namespace {

// Words wrapped at `width` columns, each line after the first indented.
QString Wrapped(const QString &text, int width, int indent)
{
    QString out, line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            out += line + u'\n' + QString(indent, u' ');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return out + line;
}

} // namespace

QString HelpText()
{
    QString options;
    constexpr int Column = 19;
    for (const Option &o : Options()) {
        QString head = QStringLiteral("  %1").arg(QLatin1String(o.name));
        if (o.value)
            head += (o.optionalValue ? QStringLiteral(" [%1]") : QStringLiteral(" %1")).arg(QLatin1String(o.value));
        if (head.size() >= Column - 1)
            head += u'\n' + QString(Column, u' ');
        else
            head = head.leftJustified(Column);
        options += head + Wrapped(QLatin1String(o.help), 78 - Column, Column) + u'\n';
        if (o.kind == ValueKind::Rows) {
            // Four lines of rows, never breaking a row from its number.
            const QStringList rows = RowNames();
            for (const auto &[from, to] : {std::pair{0, 6}, {6, 10}, {10, 13}, {13, 15}})
                options += QString(Column, u' ') + rows.mid(from, to - from).join(QStringLiteral(", ")) + u'\n';
        }
    }
    return QStringLiteral(
               "Usage: quintor-coach [--booked ROWS --upper N] [--dice DICE --rolls-left R]\n"
               "                     [--score N] [--top N] [--json]\n"
               "       quintor-coach --simulate N [--level LEVEL] [--seed S] [--json]\n"
               "       quintor-coach --review FILE [--json]\n"
               "       quintor-coach --stats [DIR] [--json]\n"
               "       quintor-coach --win-chance FILE [--games N] [--seed S] [--json]\n"
               "\n"
               "Tells the best play for Quintor: the choice with the highest expected\n"
               "final score. With no options it prints the expected score of a new game\n"
               "under perfect play.\n"
               "\n"
               "%1"
               "\n"
               "Between turns it prints the expected points still to come under perfect\n"
               "play, the bonus included. With --dice and --rolls-left it prints the best\n"
               "choice, then every choice, best first, with the expected points still to\n"
               "come after it and what it costs against the best.\n"
               "\n"
               "Example: Aces, Deuces and Chance are booked, Aces scored 3 and Deuces 6,\n"
               "and the first roll of the turn shows 5 5 3 1 5:\n"
               "\n"
               "  quintor-coach --booked aces,deuces,chance --upper 9 --dice 55315 --rolls-left 2\n"
               "\n"
               "The first run works out the table of perfect play, which takes a few\n"
               "seconds, and keeps it in the per-user cache folder shared with the game.\n"
               "\n"
               "Exit status: 0 with an answer, 2 for bad input (also a game record that\n"
               "is not valid), 1 when the answer cannot be written.\n")
        .arg(options);
}

QString FormatText(const Request &request, double expected, const std::vector<strategy::Choice> &choices)
{
    if (!request.dice || choices.empty()) {
        if (request.booked == 0 && !request.score)
            return QStringLiteral("Expected score of a new game under perfect play: %1\n").arg(Number(expected));
        return QStringLiteral("Expected points still to come: %1\n%2").arg(Number(expected), FinalLine(request, expected));
    }

    QString out = QStringLiteral("Best choice: %1\nExpected points still to come: %2\n%3\n")
                      .arg(strategy::Describe(choices.front()), Number(expected), FinalLine(request, expected));
    // Three columns: the words, the points to come, and what each choice
    // costs against the best.
    const QString toComeHeader = QStringLiteral("Points to come");
    const QString costHeader = QStringLiteral("Cost");
    QStringList words, toCome, cost;
    for (const auto &choice : Listed(request, choices)) {
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
    root.insert(QStringLiteral("expected_remaining"), strategy::JsonFigure(expected));
    if (request.score)
        root.insert(QStringLiteral("expected_final"), strategy::JsonFigure(*request.score + expected));
    if (request.dice && !choices.empty()) {
        QJsonArray list;
        for (const auto &choice : Listed(request, choices)) {
            QJsonObject object = ToJson(choice);
            object.insert(QStringLiteral("wording"), strategy::Describe(choice));
            object.insert(QStringLiteral("cost"), strategy::JsonFigure(std::max(0.0, expected - choice.expected)));
            list.append(object);
        }
        root.insert(QStringLiteral("best"), list.first());
        root.insert(QStringLiteral("choices"), list);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace coach
