#include "app/Additions.h"

#include "coaching/CoachMode.h"
#include "coaching/Hint.h"
#include "opponents/Opponents.h"
#include "recording/Recorder.h"
#include "reviews/Reviews.h"
#include "scoresheet/ScoreSheetView.h"
#include "tablegate/TableGate.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>

Additions::Additions(Form1 &form, PromptAnswers &dialogs, SetupQuestion &setup, SettingsStore &settings,
                     StrategyLoader *loader)
    : m_gate(std::make_unique<TableGate>(&form, loader)),
      // First: the others ask it, in their own reactions to a new game,
      // which seats the computers take.
      m_opponents(std::make_unique<Opponents>(form, dialogs, setup, settings, *m_gate)),
      m_recorder(std::make_unique<Recorder>(form, *m_opponents)),
      m_hint(std::make_unique<Hint>(form, dialogs, *m_gate)),
      m_coach(std::make_unique<CoachMode>(form, settings, *m_gate)),
      m_scoreSheet(std::make_unique<ScoreSheetView>(form)),
      m_reviews(std::make_unique<Reviews>(form, dialogs, *m_gate, *m_recorder))
{
    QMenuBar *bar = form.menuBar();
    bar->addAction(m_hint->action());
    bar->addAction(m_scoreSheet->action());
    QMenu *learn = bar->addMenu(QStringLiteral("&Learn"));
    learn->setObjectName(QStringLiteral("mnuLearn"));
    learn->addAction(m_reviews->reviewAction());
    learn->addAction(m_reviews->statisticsAction());
    learn->addSeparator();
    learn->addAction(m_coach->action());

    // Coach mode as the player left it, once the window is on the screen.
    QTimer::singleShot(0, m_coach.get(), &CoachMode::Restore);
}

Additions::~Additions() = default;
