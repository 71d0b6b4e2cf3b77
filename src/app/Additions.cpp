#include "app/Additions.h"

#include "app/DockLayout.h"
#include "coaching/CoachMode.h"
#include "coaching/Hint.h"
#include "opponents/Opponents.h"
#include "recording/Recorder.h"
#include "reviews/Reviews.h"
#include "scoresheet/ScoreSheetView.h"
#include "tablegate/TableGate.h"
#include "turnlog/TurnLog.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>

Additions::Additions(Form1 &form, PromptAnswers &dialogs, SetupQuestion &setup, SettingsStore &settings,
                     StrategyLoader *loader)
    : m_gate(std::make_unique<TableGate>(&form, loader)),
      m_docks(std::make_unique<DockLayout>(form, settings)),
      // First: the others ask it, in their own reactions to a new game,
      // which seats the computers take.
      m_opponents(std::make_unique<Opponents>(form, dialogs, setup, settings, *m_gate)),
      m_recorder(std::make_unique<Recorder>(form, *m_opponents)),
      m_coach(std::make_unique<CoachMode>(form, *m_docks, *m_gate)),
      m_hint(std::make_unique<Hint>(form, dialogs, *m_gate, *m_coach)),
      m_scoreSheet(std::make_unique<ScoreSheetView>(form, *m_docks, *m_opponents, *m_gate)),
      m_turnLog(std::make_unique<TurnLog>(form, *m_docks)),
      m_reviews(std::make_unique<Reviews>(form, dialogs, *m_gate, *m_recorder))
{
    QMenuBar *bar = form.menuBar();
    bar->addAction(m_hint->action());
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(m_scoreSheet->action());
    view->addAction(m_turnLog->action());
    QMenu *learn = bar->addMenu(QStringLiteral("&Learn"));
    learn->setObjectName(QStringLiteral("mnuLearn"));
    learn->addAction(m_reviews->reviewAction());
    learn->addAction(m_reviews->statisticsAction());
    learn->addSeparator();
    learn->addAction(m_coach->action());

    // The docks as the player left them, once the window is on the screen.
    QTimer::singleShot(0, m_docks.get(), &DockLayout::Restore);
}

Additions::~Additions() = default;
