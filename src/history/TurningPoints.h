#pragma once
// Where a person's game turned: of each person's decisions, the one whose
// choice changed their chance of winning the most, against what the best
// choice (in expected points) would have left them.

#include "history/Review.h"

#include <atomic>
#include <cstdint>
#include <optional>

namespace history {

struct TurningPoint {
    int player = 0; // seat, from 0
    Decision decision;
    double chosen = 0, best = 0; // the chance to win after each, 0..1
};

// For every person (not a computer) with a decision that cost anything, the
// one that changed their chance the most; `reviews` is Review(table,
// record). Empty if cancelled.
std::vector<TurningPoint> TurningPoints(const strategy::Table &table, const GameRecord &record,
                                        const std::vector<PlayerReview> &reviews, int games, std::uint64_t seed,
                                        const std::atomic<bool> *cancel = nullptr);

// "Ann, turn 6, roll 2, with 6 6 6 6 1: "book Chance for 25" left a 34%
// chance to win, where "keep 6 6 6 6 and roll 1 die" left 46% (−12 points)."
QString Wording(const TurningPoint &point, const QString &name);

} // namespace history
