#pragma once
// A game looked at against perfect play. Every decision (each hold before a
// re-roll, and the booking) costs what the best choice was worth more than
// the one made; every roll brings luck, what the position is worth after
// it less what it was worth before. For every player, exactly:
//   total = expected start (a new game, 248.44) + luck - loss,
// where loss is the sum of the costs.

#include "history/GameRecord.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace history {

struct Decision {
    int turn = 0;      // 1..15
    int roll = 0;      // 1..3: after which roll it was made
    strategy::Dice dice{};
    int rollsLeft = 0; // 2, 1 or 0
    strategy::Choice chosen, best;
    double cost = 0;
};

struct PlayerReview {
    QString name;
    std::optional<strategy::Level> computer;
    int total = 0;
    bool bonus = false;
    double expectedStart = 0; // a new game under perfect play
    double luck = 0;
    double loss = 0;
    std::vector<Decision> decisions; // in the order played
    // The expected final total under perfect play from here: at the start,
    // then after every roll and every decision. `courseTurn` says in which
    // turn each point falls (0 for the start).
    std::vector<double> course;
    std::vector<int> courseTurn;
    // Every turn booked: `total` is final.
    bool finished() const { return !courseTurn.empty() && courseTurn.back() == strategy::RowCount && !underWay; }
    bool underWay = false; // the last turn is not booked yet
};

// One decision rated: the choice made as the engine values it, the best
// one, and what the difference costs. Nothing for a choice the position
// does not allow.
struct Rating {
    strategy::Choice chosen, best;
    double cost = 0;
};
std::optional<Rating> Rate(const strategy::Table &table, strategy::BookedRows booked, int upperSum,
                           const strategy::Dice &dice, int rollsLeft, const strategy::Choice &made);
// A keep as the engine names it: the faces of the held dice, ascending.
strategy::Choice KeepOf(const strategy::Dice &dice, const std::vector<int> &held);

// Works for a game still going on too: turns not yet played are left out,
// and the turn under way counts up to its last decision.
std::vector<PlayerReview> Review(const strategy::Table &table, const GameRecord &record);

// Decisions that cost more than this are worth a word.
constexpr double CostlyDecision = 0.5;
// Those of a player's decisions, worst first.
std::vector<const Decision *> CostlyDecisions(const PlayerReview &review);

// One line per player, the same in the window and from the coach:
// "Ann: total 179 = 248.44 expected at the start, −10.74 luck, 58.70 lost
// by choices" (luck with its sign, loss as what it is); a game still going
// on says "expected final total now" instead of "total". `minus` is the
// sign's glyph: U+2212 for the window, '-' for a terminal.
QString Summary(const PlayerReview &review, QChar minus);

// A name (or any text read from a record) for a terminal: every control
// character, which could move the cursor, ring the bell or change colours,
// shows as U+FFFD, and with maxLength a longer name is cut, ending in "…".
QString PrintableText(const QString &text, qsizetype maxLength = -1);
// How long a name may be in text output, which JSON gives whole.
constexpr qsizetype LongestName = 30;

// For people: per player the total, luck and loss, then the decisions that
// cost more than half a point, worst first.
QString FormatText(const std::vector<PlayerReview> &reviews);
// For scripts: every decision, in the order played.
QByteArray FormatJson(const std::vector<PlayerReview> &reviews);

} // namespace history
