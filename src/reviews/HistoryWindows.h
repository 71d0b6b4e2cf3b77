#pragma once
// The Review and Statistics windows draw charts with Qt Charts. They live in
// a module of their own (quintor-charts.so), loaded the first time one of
// them is opened, so that nothing of Qt Charts loads before the game's
// first frame, or at all for a player who never looks.

#include "history/GameRecord.h"

#include <QString>

class QWidget;
namespace strategy {
class Table;
}

class HistoryWindows {
public:
    virtual ~HistoryWindows() = default;
    // A new window, not yet shown, owned by parent; Review fills it.
    virtual QWidget *NewReviewWindow(QWidget *parent) = 0;
    virtual void Review(QWidget *window, const strategy::Table &table, const history::GameRecord &record) = 0;
    // A new window with the figures over every record in the folder.
    virtual QWidget *NewStatisticsWindow(QWidget *parent, const strategy::Table &table, const QString &folder,
                                         const QString &ratingsFile) = 0;
};

// The module's one entry point.
extern "C" HistoryWindows *quintor_history_windows();
using HistoryWindowsEntry = HistoryWindows *(*)();

// Loads the module once, from where it is installed (the library folder
// seen from the program) or beside the program; null,
// with the reason in `why`, when it cannot be found or loaded.
HistoryWindows *LoadHistoryWindows(QString *why);
