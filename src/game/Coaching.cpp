// Coach mode: the best choice for the position on the table, and what each
// decision of a person cost, in a panel beside the window. It changes
// nothing in the game.

#include "game/EnginePosition.h"
#include "game/SettingsStore.h"
#include "game/StrategyLoader.h"
#include "history/Review.h"
#include "strategy/Wording.h"
#include "ui/CoachPanel.h"
#include "ui/Form1.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace {
const QString AppName = QStringLiteral("Quintor");
const QString Section = QStringLiteral("Coach");
const QString PanelKey = QStringLiteral("Panel");
} // namespace

void Form1::RestoreCoachMode()
{
    // Off by default; on again only if the player left it on.
    if (m_settings.GetSetting(AppName, Section, PanelKey, QStringLiteral("off")) == QLatin1String("on"))
        mnuCoachMode->setChecked(true);
}

void Form1::mnuCoachMode_Toggled(bool on)
{
    m_settings.SaveSettings(AppName, Section, {{PanelKey, on ? QStringLiteral("on") : QStringLiteral("off")}});
    if (!on) {
        if (m_coach)
            m_coach->hide();
        return;
    }
    if (!m_coach)
        m_coach = new CoachPanel(this);
    m_coach->setVerdict(QString());
    m_coach->placeBeside();
    m_coach->show();
    connect(&Strategy(), &StrategyLoader::ready, this, &Form1::UpdateCoachPanel, Qt::UniqueConnection);
    Strategy().request();
    UpdateCoachPanel();
}

bool Form1::CoachShown() const
{
    return m_coach && m_coach->isVisible();
}

void Form1::UpdateCoachPanel()
{
    if (!CoachShown() || Timer1->isActive())
        return; // what the dice show while they roll is not the position
    if (PlayerCount == 0 || !GameOpen()) {
        m_coach->setAdvice(QStringLiteral("No game is on. Choose New Game to play."));
        return;
    }
    const auto table = Strategy().table();
    if (!table) {
        m_coach->setAdvice(QStringLiteral("Working out perfect play..."));
        return;
    }
    const int player = CurPlayer + 1;
    const EnginePosition position = PositionOf(*this, player);
    const QString name = lblPlayer[player]->text();
    if (!HasRolled) {
        m_coach->setAdvice(QStringLiteral("%1 to roll. With perfect play the final total will be %2 on average.")
                               .arg(name)
                               .arg(position.total + table->Expected(position.booked, position.upperSum), 0, 'f', 1));
        return;
    }
    const int rollsLeft = RollsLeft();
    const auto choices = strategy::Advise(*table, position.booked, position.upperSum, DiceOnTheTable(), rollsLeft);
    if (choices.empty())
        return;
    m_coach->setAdvice(QStringLiteral("Best choice for %1: %2.\nWith perfect play the final total will be %3 on average.")
                           .arg(name, strategy::Describe(choices.front()))
                           .arg(position.total + choices.front().expected, 0, 'f', 1));
}

// A person's decision, rated before it changes anything: the position is
// the one the choice was made in.
void Form1::CoachRate(const strategy::Choice &made, strategy::BookedRows booked, int upperSum, int rollsLeft)
{
    const int player = CurPlayer + 1;
    if (!CoachShown() || IsComputerSeat(player) || !Strategy().table())
        return;
    const auto rating = history::Rate(*Strategy().table(), booked, upperSum, DiceOnTheTable(), rollsLeft, made);
    if (!rating)
        return;
    const QString name = lblPlayer[player]->text();
    if (rating->cost < 0.005)
        m_coach->setVerdict(QStringLiteral("%1: \"%2\" was the best choice.").arg(name, strategy::Describe(rating->chosen)));
    else
        m_coach->setVerdict(QStringLiteral("%1: \"%2\" cost %3 points; the best was \"%4\".")
                                .arg(name, strategy::Describe(rating->chosen))
                                .arg(rating->cost, 0, 'f', 2)
                                .arg(strategy::Describe(rating->best)));
}

void Form1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (CoachShown())
        m_coach->placeBeside();
}
