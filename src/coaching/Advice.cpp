#include "coaching/Advice.h"

#include "history/Review.h"
#include "strategy/Wording.h"

#include <QStringList>

namespace coaching {

namespace {

QString Faces(const strategy::Dice &dice)
{
    QStringList faces;
    for (int face : dice)
        faces << QString::number(face);
    return faces.join(u' ');
}

} // namespace

Turn TurnOf(const GameState &state, int rollsLeft)
{
    Turn turn;
    turn.position = PositionOf(state, state.CurPlayer + 1);
    turn.hasRolled = state.HasRolled;
    turn.dice = DiceOnTheTable();
    turn.rollsLeft = rollsLeft;
    return turn;
}

std::optional<QString> HintText(const strategy::Table &table, const Turn &turn)
{
    const EnginePosition &position = turn.position;
    if (!turn.hasRolled) {
        const double expected = table.Expected(position.booked, position.upperSum);
        return QStringLiteral("Roll the dice.\n"
                              "With perfect play from here your final total will be %1 on average.")
            .arg(position.total + expected, 0, 'f', 1);
    }
    const auto choices = strategy::Advise(table, position.booked, position.upperSum, turn.dice, turn.rollsLeft);
    if (choices.empty())
        return std::nullopt;
    // Booking the last open row with no roll left leaves nothing to chance.
    const int openRows = strategy::RowCount - __builtin_popcount(position.booked);
    const bool exact = turn.rollsLeft == 0 && openRows == 1;
    const strategy::Choice &best = choices.front();
    const QString howSure = exact ? QStringLiteral("exactly %1") : QStringLiteral("%1 on average");
    QString text = QStringLiteral("Best choice: %1.\n"
                                  "With perfect play from here your final total will be %2.")
                       .arg(strategy::Describe(best), howSure.arg(position.total + best.expected, 0, 'f', 1));
    if (choices.size() > 1) {
        const strategy::Choice &next = choices[1];
        const double cost = best.expected - next.expected;
        // A difference within a tenth of a point is no real difference.
        if (cost < 0.1)
            text += QStringLiteral("\nRunner-up: %1, about as good.").arg(strategy::Describe(next));
        else
            text += QStringLiteral("\nRunner-up: %1, which costs %2 points%3.")
                        .arg(strategy::Describe(next))
                        .arg(cost, 0, 'f', 2)
                        .arg(exact ? QString() : QStringLiteral(" on average"));
    }
    return text;
}

QString AdviceText(const strategy::Table &table, const QString &name, const Turn &turn)
{
    const EnginePosition &position = turn.position;
    if (!turn.hasRolled)
        return QStringLiteral("%1 to roll. With perfect play the final total will be %2 on average.")
            .arg(name, QString::number(position.total + table.Expected(position.booked, position.upperSum), 'f', 1));
    const auto choices = strategy::Advise(table, position.booked, position.upperSum, turn.dice, turn.rollsLeft);
    if (choices.empty())
        return QString();
    return QStringLiteral("Best choice for %1: %2.\nWith perfect play the final total will be %3 on average.")
        .arg(name, strategy::Describe(choices.front()),
             QString::number(position.total + choices.front().expected, 'f', 1));
}

std::optional<QString> VerdictText(const strategy::Table &table, const QString &name, const Turn &turn,
                                   const strategy::Choice &made)
{
    const EnginePosition &position = turn.position;
    const auto rating = history::Rate(table, position.booked, position.upperSum, turn.dice, turn.rollsLeft, made);
    if (!rating)
        return std::nullopt;
    // Named with the dice it was made on: the verdict belongs to that decision.
    const QString decision = QStringLiteral("%1, with %2: \"%3\"")
                                 .arg(name, Faces(turn.dice), strategy::Describe(rating->chosen));
    if (rating->cost < 0.005)
        return QStringLiteral("%1 was the best choice.").arg(decision);
    // All at once, so that a name holding "%2" stays as it is.
    return QStringLiteral("%1 cost %2 points; the best was \"%3\".")
        .arg(decision, QString::number(rating->cost, 'f', 2), strategy::Describe(rating->best));
}

} // namespace coaching
