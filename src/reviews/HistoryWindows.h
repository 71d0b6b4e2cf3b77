#pragma once
// The Review and Statistics windows draw charts with Qt Charts. They live in
// a module of their own (quintor-charts.so), loaded the first time one of
// them is opened, so that nothing of Qt Charts loads before the game's
// first frame, or at all for a player who never looks.

#include "history/Review.h"
#include "history/Statistics.h"

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

// What the Review window shows, worked out before it is shown.
struct ReviewData {
    std::vector<history::PlayerReview> reviews;
    // Each player's chance of winning at the start and after each round of
    // bookings, in seat order; empty when not worked out.
    std::vector<std::vector<double>> chances;
    // For each person, the decision that changed their chance the most.
    QStringList turningPoints;
};

class HistoryWindows {
public:
    virtual ~HistoryWindows() = default;
    // A new window, not yet shown, owned by parent; ShowReview fills it.
    virtual QWidget *NewReviewWindow(QWidget *parent) = 0;
    virtual void ShowReview(QWidget *window, const ReviewData &data) = 0;
    // A new window with these figures over every record.
    virtual QWidget *NewStatisticsWindow(QWidget *parent, const history::Statistics &statistics) = 0;
};

// The module's one entry point.
extern "C" HistoryWindows *quintor_history_windows();
using HistoryWindowsEntry = HistoryWindows *(*)();

// Loads the module once, from where it is installed (the library folder
// seen from the program) or beside the program; null,
// with the reason in `why`, when it cannot be found or loaded.
HistoryWindows *LoadHistoryWindows(QString *why);
