#include "history/TurningPoints.h"

#include "strategy/Wording.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace history {

namespace {

// A decision that cost nothing changed nothing. The others are weighed with
// few games first, and the few that changed most again with all of them:
// a late decision of little cost in points may decide the game.
constexpr double Negligible = 0.05; // expected points
constexpr int ScreeningGames = 800;
constexpr std::size_t Finalists = 3;

// The seat after making `choice` in its turn: a booking leaves it between
// turns, a keep in the middle of its turn.
strategy::SeatState After(const strategy::SeatState &before, const strategy::Choice &choice, int rollsLeft)
{
    if (choice.action == strategy::Choice::Action::Book) {
        const strategy::Card card = strategy::Book({before.booked, before.upperSum, before.total}, choice.row,
                                                   choice.points);
        return {card.booked, card.upperSum, card.total, before.computer};
    }
    strategy::SeatState seat = before;
    seat.turn = strategy::TurnUnderWay{choice.kept, rollsLeft};
    return seat;
}

} // namespace

std::vector<TurningPoint> TurningPoints(const strategy::Table &table, const GameRecord &record,
                                        const std::vector<PlayerReview> &reviews, int games, std::uint64_t seed,
                                        const std::atomic<bool> *cancel)
{
    std::vector<TurningPoint> points;
    for (std::size_t p = 0; p < reviews.size() && p < record.players.size(); ++p) {
        if (record.players[p].computer)
            continue;
        // The chances after the choice made and after the best, in the
        // position the decision was made in.
        const auto weigh = [&](const Decision &d, int sampled) -> std::optional<TurningPoint> {
            // The others as they stood: those before this seat had played
            // this turn, those after it had not.
            std::vector<strategy::SeatState> seats = SeatsAfter(record, d.turn - 1);
            const std::vector<strategy::SeatState> played = SeatsAfter(record, d.turn);
            std::copy(played.begin(), played.begin() + std::ptrdiff_t(p), seats.begin());
            const strategy::SeatState before = seats[p];
            double chance[2];
            for (int i = 0; i < 2; ++i) {
                seats[p] = After(before, i == 0 ? d.chosen : d.best, d.rollsLeft);
                const std::vector<double> chances = strategy::WinChances(table, seats, sampled, seed, cancel);
                if (chances.empty())
                    return std::nullopt;
                chance[i] = chances[p];
            }
            return TurningPoint{int(p), d, chance[0], chance[1]};
        };
        const auto change = [](const TurningPoint &t) { return std::abs(t.best - t.chosen); };
        std::vector<TurningPoint> screened;
        for (const Decision &d : reviews[p].decisions) {
            if (d.cost <= Negligible)
                continue;
            const auto point = weigh(d, ScreeningGames);
            if (!point)
                return {};
            screened.push_back(*point);
        }
        std::stable_sort(screened.begin(), screened.end(),
                         [&](const TurningPoint &a, const TurningPoint &b) { return change(a) > change(b); });
        std::optional<TurningPoint> most;
        for (std::size_t i = 0; i < screened.size() && i < Finalists; ++i) {
            const auto point = weigh(screened[i].decision, games);
            if (!point)
                return {};
            if (!most || change(*point) > change(*most))
                most = point;
        }
        if (most)
            points.push_back(*most);
    }
    return points;
}

QString Wording(const TurningPoint &point, const QString &name)
{
    const Decision &d = point.decision;
    QStringList dice;
    for (int face : d.dice)
        dice << QString::number(face);
    const double change = (point.chosen - point.best) * 100;
    return QStringLiteral("%1, turn %2, roll %3, with %4: \"%5\" left a %6% chance to win, where \"%7\" left %8% "
                          "(%9 points).")
        .arg(name, QString::number(d.turn), QString::number(d.roll), dice.join(u' '), strategy::Describe(d.chosen),
             QString::number(point.chosen * 100, 'f', 0), strategy::Describe(d.best),
             QString::number(point.best * 100, 'f', 0),
             (change < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) + QString::number(std::abs(change), 'f', 1));
}

} // namespace history
