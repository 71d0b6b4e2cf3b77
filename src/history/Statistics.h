#pragma once
// Figures over every game record in a folder, per player name (exact,
// case-sensitive; each strength of computer counts as a player of its own). Files that are not valid records are skipped and
// counted, never changed. What a record's review found is kept in a small
// ratings file, so that the next look at the same folder is quick.

#include "history/Review.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

namespace history {

struct GameFigures {
    QDateTime finished;
    int total = 0;
    bool bonus = false;
    double luck = 0, loss = 0;
};

struct PlayerStatistics {
    QString name;
    std::vector<GameFigures> games; // oldest first
    int count() const { return int(games.size()); }
    double mean() const;
    int best() const;
    double bonusRate() const;
    double meanLuck() const;
    double meanLoss() const;
};

struct Statistics {
    std::vector<PlayerStatistics> players; // by name
    int skipped = 0;
    bool complete = true; // false when the work was stopped half way
};

// How far the work has got, in records; false stops it.
using GatherProgress = std::function<bool(int done, int total)>;

// ratingsFile: where reviews are kept between runs (empty: nowhere).
Statistics Gather(const strategy::Table &table, const QString &folder, const QString &ratingsFile,
                  const GatherProgress &progress = {});

// <generic cache location>/quintor/ratings.json, beside the table.
QString DefaultRatingsFile();

QString FormatText(const Statistics &statistics);
QByteArray FormatJson(const Statistics &statistics);

} // namespace history
