#pragma once
// Learn > Review and Learn > Statistics: the game so far or the last one,
// and the figures over every recorded game, against perfect play. The
// windows live in a module loaded the first time one of them opens.

#include "history/Statistics.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class BackgroundWork;
class Dialogs;
class Form1;
class HistoryWindows;
struct ReviewData;
class QAction;
class QProgressDialog;
class QWidget;
class Recorder;
class TableGate;

class Reviews final : public QObject {
    Q_OBJECT
public:
    Reviews(Form1 &form, Dialogs &dialogs, TableGate &gate, const Recorder &recorder);
    ~Reviews() override;

    QAction *reviewAction() const { return m_review; }
    QAction *statisticsAction() const { return m_statistics; }
    void OpenReview();
    void OpenStatistics();

private:
    // The module, once the table is there (else `then` runs when it is);
    // null when it cannot be had.
    HistoryWindows *Module(const QString &title, void (Reviews::*then)());
    void RefreshReview();
    void ShowReview(const ReviewData &data);
    void StatisticsGathered(const history::Statistics &statistics);

    Form1 &m_form;
    Dialogs &m_dialogs;
    TableGate &m_gate;
    const Recorder &m_recorder;
    QAction *m_review;
    QAction *m_statistics;
    QPointer<QWidget> m_reviewWindow, m_statisticsWindow;
    // The chance of winning of every seat in a position, once worked out:
    // a game's earlier rounds do not change as it goes on.
    std::map<std::uint64_t, std::vector<double>> m_chances;
    // Where each person's game turned, for a game as it stood.
    std::map<QString, QStringList> m_turningPoints;
    BackgroundWork *m_reviewWork;
    // The figures gathered off the window's thread, and how far it has got.
    BackgroundWork *m_statisticsWork;
    QPointer<QProgressDialog> m_progress;
};
