#include "reviews/Reviews.h"

#include "history/Statistics.h"
#include "recording/Recorder.h"
#include "reviews/HistoryWindows.h"
#include "tablegate/TableGate.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QAction>
#include <QApplication>
#include <QDir>

namespace {

// What the windows are made for, and the least they are still readable at
// (they scroll below that).
constexpr QSize WantedSize(720, 640);
constexpr QSize LeastSize(360, 320);

// The newest record in the folder that reads as one.
history::GameRecord NewestRecord(const QString &folder)
{
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Time))
        if (auto record = history::Load(file.filePath(), nullptr))
            return *record;
    return {};
}

} // namespace

Reviews::Reviews(Form1 &form, Dialogs &dialogs, TableGate &gate, const Recorder &recorder)
    : m_form(form), m_dialogs(dialogs), m_gate(gate), m_recorder(recorder),
      m_review(new QAction(QStringLiteral("&Review"), &form)),
      m_statistics(new QAction(QStringLiteral("&Statistics"), &form))
{
    m_review->setObjectName(QStringLiteral("mnuReview"));
    m_statistics->setObjectName(QStringLiteral("mnuStatistics"));
    connect(m_review, &QAction::triggered, this, &Reviews::OpenReview);
    connect(m_statistics, &QAction::triggered, this, &Reviews::OpenStatistics);
    // Right at any moment: every roll and booking counts, the turn under
    // way included.
    for (auto signal : {&Form1::newGame, &Form1::rollFinished, &Form1::turnChanged})
        connect(&form, signal, this, [this] {
            if (m_reviewWindow && m_reviewWindow->isVisible())
                RefreshReview();
        });
}

HistoryWindows *Reviews::Module(const QString &title, void (Reviews::*then)())
{
    // Both windows rate games: they open once the table is there.
    if (!m_gate.table()) {
        m_gate.whenReady(this, [this, then] { (this->*then)(); });
        return nullptr;
    }
    QString why;
    HistoryWindows *windows = LoadHistoryWindows(&why);
    if (!windows)
        m_dialogs.MsgBox(QStringLiteral("The %1 window cannot be shown (quintor-charts.so: %2).").arg(title, why),
                         Dialogs::Buttons::Ok, title, Dialogs::Icon::Warning);
    return windows;
}

void Reviews::OpenReview()
{
    HistoryWindows *windows = Module(QStringLiteral("Review"), &Reviews::OpenReview);
    if (!windows)
        return;
    if (!m_reviewWindow) {
        m_reviewWindow = windows->NewReviewWindow(&m_form);
        PlaceBeside(*m_reviewWindow, &m_form, WantedSize, LeastSize);
    }
    RefreshReview();
    BringUp(m_reviewWindow);
}

void Reviews::RefreshReview()
{
    const auto table = m_gate.table();
    HistoryWindows *windows = m_reviewWindow ? LoadHistoryWindows(nullptr) : nullptr;
    if (!windows || !table)
        return;
    const history::GameRecord &record = m_recorder.record();
    windows->Review(m_reviewWindow, *table, record.players.empty() ? NewestRecord(m_recorder.folder()) : record);
}

void Reviews::OpenStatistics()
{
    HistoryWindows *windows = Module(QStringLiteral("Statistics"), &Reviews::OpenStatistics);
    if (!windows)
        return;
    delete m_statisticsWindow; // the figures as they are now
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_statisticsWindow = windows->NewStatisticsWindow(&m_form, *m_gate.table(), m_recorder.folder(),
                                                      history::DefaultRatingsFile());
    QApplication::restoreOverrideCursor();
    PlaceBeside(*m_statisticsWindow, &m_form, WantedSize, LeastSize);
    BringUp(m_statisticsWindow);
}
