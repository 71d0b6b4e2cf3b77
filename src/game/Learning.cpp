// The Review and Statistics windows: the game so far or the last one, and
// the figures over every recorded game, against perfect play.

#include "game/StrategyLoader.h"
#include "history/Statistics.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/HistoryWindows.h"

#include <QApplication>
#include <QDir>

namespace {

// The newest record in the folder that reads as one.
history::GameRecord NewestRecord(const QString &folder)
{
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Time))
        if (auto record = history::Load(file.filePath(), nullptr))
            return *record;
    return {};
}

} // namespace

HistoryWindows *Form1::HistoryModule(PendingWindow window, const QString &title)
{
    // Both windows rate games: they open once the table is there.
    if (!Strategy().table()) {
        m_pendingWindow = window;
        WaitForStrategy();
        return nullptr;
    }
    QString why;
    HistoryWindows *windows = LoadHistoryWindows(&why);
    if (!windows)
        m_dialogs.MsgBox(QStringLiteral("The %1 window cannot be shown (quintor-charts.so: %2).")
                             .arg(title, why),
                         Dialogs::Buttons::Ok, title, Dialogs::Icon::Warning);
    return windows;
}

void Form1::mnuReview_Click()
{
    HistoryWindows *windows = HistoryModule(PendingWindow::Review, QStringLiteral("Review"));
    if (!windows)
        return;
    if (!m_review)
        m_review = windows->NewReviewWindow(this);
    RefreshReview();
    BringUp(m_review);
}

void Form1::RefreshReview()
{
    const auto table = Strategy().table();
    HistoryWindows *windows = m_review ? LoadHistoryWindows(nullptr) : nullptr;
    if (!windows || !table)
        return;
    const history::GameRecord &record = gameRecord();
    windows->Review(m_review, *table, record.players.empty() ? NewestRecord(m_recordFolder) : record);
}

void Form1::mnuStatistics_Click()
{
    HistoryWindows *windows = HistoryModule(PendingWindow::Statistics, QStringLiteral("Statistics"));
    if (!windows)
        return;
    delete m_statistics; // the figures as they are now
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_statistics = windows->NewStatisticsWindow(this, *Strategy().table(), m_recordFolder, history::DefaultRatingsFile());
    QApplication::restoreOverrideCursor();
    BringUp(m_statistics);
}
