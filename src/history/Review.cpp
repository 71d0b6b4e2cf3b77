#include "history/Review.h"

#include "strategy/Wording.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace history {

namespace {

// What the choice made is worth, from the engine's list for the position.
// Holding all five and rolling is not in that list: it rolls nothing, and is
// worth the best of the same dice with one roll fewer.
std::optional<strategy::Choice> Chosen(const strategy::Table &table, const std::vector<strategy::Choice> &choices,
                                       strategy::BookedRows booked, int upper, const strategy::Dice &dice,
                                       int rollsLeft, const strategy::Choice &made)
{
    for (const strategy::Choice &c : choices)
        if (c.action == made.action && (made.action == strategy::Choice::Action::Book ? c.row == made.row : c.kept == made.kept))
            return c;
    if (made.action == strategy::Choice::Action::Keep && made.kept.size() == 5) {
        const auto next = strategy::Advise(table, booked, upper, dice, rollsLeft - 1);
        if (next.empty())
            return std::nullopt;
        strategy::Choice all = made;
        all.expected = next.front().expected;
        return all;
    }
    return std::nullopt;
}

} // namespace

QString PrintableText(const QString &text, qsizetype maxLength)
{
    const QList<uint> points = text.toUcs4();
    const bool cut = maxLength > 0 && points.size() > maxLength;
    QString out;
    for (qsizetype i = 0; i < (cut ? maxLength - 1 : points.size()); ++i) {
        const char32_t c = points[i];
        out += QChar::category(c) == QChar::Other_Control ? QString(QChar::ReplacementCharacter) : QString::fromUcs4(&c, 1);
    }
    return cut ? out + QChar(0x2026) : out;
}

strategy::Choice KeepOf(const strategy::Dice &dice, const std::vector<int> &held)
{
    strategy::Choice keep;
    keep.action = strategy::Choice::Action::Keep;
    for (int i : held)
        keep.kept.push_back(dice[std::size_t(i)]);
    std::sort(keep.kept.begin(), keep.kept.end());
    return keep;
}

std::optional<Rating> Rate(const strategy::Table &table, strategy::BookedRows booked, int upperSum,
                           const strategy::Dice &dice, int rollsLeft, const strategy::Choice &made)
{
    const auto choices = strategy::Advise(table, booked, upperSum, dice, rollsLeft);
    if (choices.empty())
        return std::nullopt;
    const auto chosen = Chosen(table, choices, booked, upperSum, dice, rollsLeft, made);
    if (!chosen)
        return std::nullopt;
    return Rating{*chosen, choices.front(), choices.front().expected - chosen->expected};
}

std::vector<PlayerReview> Review(const strategy::Table &table, const GameRecord &record)
{
    std::vector<PlayerReview> reviews;
    for (const PlayerRecord &player : record.players) {
        PlayerReview review;
        review.name = player.name;
        review.computer = player.computer;
        review.total = Total(player.turns, &review.bonus);
        review.expectedStart = table.Expected(0, 0);
        review.course.push_back(review.expectedStart);
        review.courseTurn.push_back(0);
        strategy::Card card;
        double before = review.expectedStart; // the position's worth, as a final total
        const auto mark = [&](double value, int turn) {
            review.course.push_back(value);
            review.courseTurn.push_back(turn);
        };
        for (std::size_t t = 0; t < player.turns.size(); ++t) {
            const Turn &turn = player.turns[t];
            const int turnNumber = int(t) + 1;
            // The turn under way (no row booked yet) counts up to the last
            // decision made in it: a keep before a roll still rolling, say.
            const bool underWay = turn.row == 0;
            for (std::size_t r = 0; r < turn.rolls.size(); ++r) {
                const strategy::Dice &dice = turn.rolls[r];
                const bool last = r + 1 == turn.rolls.size();
                // After the third roll none is left; after an earlier one the
                // player may still roll, whether or not they did.
                const int rollsLeft = 2 - int(r);
                const auto choices = strategy::Advise(table, card.booked, card.upperSum, dice, rollsLeft);
                if (choices.empty())
                    return reviews; // a position no game can reach; FromJson rules these out
                const double afterRoll = card.total + choices.front().expected;
                review.luck += afterRoll - before;
                mark(afterRoll, turnNumber);
                before = afterRoll;
                if (underWay && r >= turn.held.size())
                    break; // not decided yet

                const bool booking = last && !underWay;
                strategy::Choice made = KeepOf(dice, booking ? std::vector<int>{} : turn.held[r]);
                if (booking) {
                    made.action = strategy::Choice::Action::Book;
                    made.row = turn.row;
                }
                const auto chosen = Chosen(table, choices, card.booked, card.upperSum, dice, rollsLeft, made);
                if (!chosen)
                    return reviews; // a booked row booked again; FromJson rules these out
                const double cost = choices.front().expected - chosen->expected;
                review.loss += cost;
                review.decisions.push_back({turnNumber, int(r) + 1, dice, rollsLeft, *chosen, choices.front(), cost});
                before = card.total + chosen->expected;
                mark(before, turnNumber);
            }
            if (underWay) {
                review.underWay = true;
                break;
            }
            card = strategy::Book(card, turn.row, turn.points);
        }
        reviews.push_back(std::move(review));
    }
    return reviews;
}

std::vector<const Decision *> CostlyDecisions(const PlayerReview &review)
{
    std::vector<const Decision *> costly;
    for (const Decision &d : review.decisions)
        if (d.cost > CostlyDecision)
            costly.push_back(&d);
    std::stable_sort(costly.begin(), costly.end(), [](const Decision *a, const Decision *b) { return a->cost > b->cost; });
    return costly;
}

QString Summary(const PlayerReview &r, QChar minus)
{
    // Two decimals: what rounds to nothing has no sign.
    const auto figure = [minus](double value) {
        const QString digits = QString::number(std::abs(value), 'f', 2);
        return digits == QLatin1String("0.00") ? digits : (value < 0 ? QString(minus) : QStringLiteral("+")) + digits;
    };
    const QString outcome = r.finished() ? QStringLiteral("total %1").arg(r.total)
                                         : QStringLiteral("expected final total now %1").arg(r.course.empty() ? r.expectedStart : r.course.back(), 0, 'f', 2);
    // All at once, so that a name holding "%3" stays as it is.
    return QStringLiteral("%1: %2 = %3 expected at the start, %4 luck, %5 lost by choices")
        .arg(r.name, outcome, QString::number(r.expectedStart, 'f', 2), figure(r.luck),
             QString::number(std::max(0.0, r.loss), 'f', 2));
}

QString FormatText(const std::vector<PlayerReview> &reviews)
{
    QString out;
    for (const PlayerReview &r : reviews) {
        if (!out.isEmpty())
            out += u'\n';
        PlayerReview printable = r;
        printable.name = PrintableText(r.name, LongestName);
        out += Summary(printable, u'-') + u'\n';
        const std::vector<const Decision *> costly = CostlyDecisions(r);
        if (costly.empty()) {
            out += QStringLiteral("  No choice cost more than %1 points.\n").arg(CostlyDecision, 0, 'f', 1);
            continue;
        }
        for (const Decision *d : costly) {
            QStringList faces;
            for (int face : d->dice)
                faces << QString::number(face);
            out += QStringLiteral("  turn %1, roll %2, dice %3: %4; best: %5; cost %6\n")
                       .arg(d->turn)
                       .arg(d->roll)
                       .arg(faces.join(u' '), strategy::Describe(d->chosen), strategy::Describe(d->best))
                       .arg(d->cost, 0, 'f', 2);
        }
    }
    return out;
}

QByteArray FormatJson(const std::vector<PlayerReview> &reviews)
{
    QJsonArray players;
    for (const PlayerReview &r : reviews) {
        QJsonArray decisions;
        for (const Decision &d : r.decisions)
            decisions.append(QJsonObject{{QStringLiteral("turn"), d.turn},
                                         {QStringLiteral("roll"), d.roll},
                                         {QStringLiteral("dice"), DiceToJson(d.dice)},
                                         {QStringLiteral("rolls_left"), d.rollsLeft},
                                         {QStringLiteral("chosen"), strategy::Describe(d.chosen)},
                                         {QStringLiteral("best"), strategy::Describe(d.best)},
                                         {QStringLiteral("cost"), strategy::JsonFigure(d.cost)}});
        players.append(QJsonObject{{QStringLiteral("name"), r.name},
                                   {QStringLiteral("total"), r.total},
                                   {QStringLiteral("expected_start"), strategy::JsonFigure(r.expectedStart)},
                                   {QStringLiteral("luck"), strategy::JsonFigure(r.luck)},
                                   {QStringLiteral("loss"), strategy::JsonFigure(r.loss)},
                                   {QStringLiteral("decisions"), decisions}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("players"), players}}).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace history
