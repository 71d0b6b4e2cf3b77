// The hint: the best choice for the player to play, what perfect play can
// expect from here, and what the runner-up costs.

#include "game/EnginePosition.h"
#include "game/StrategyLoader.h"
#include "strategy/Wording.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

void Form1::UpdateHint()
{
    mnuHint->setEnabled(PlayerCount > 0 && GameOpen() && !Timer1->isActive() && !IsComputerTurn());
    UpdateCoachPanel();
}

void Form1::mnuHint_Click()
{
    if (!mnuHint->isEnabled())
        return;
    if (!Strategy().table()) {
        m_pendingWindow = PendingWindow::Hint;
        WaitForStrategy();
        return;
    }
    ShowHint();
}

void Form1::ShowHint()
{
    const auto table = Strategy().table();
    const EnginePosition position = PositionOf(*this, CurPlayer + 1);
    QString text;
    if (!HasRolled) {
        const double expected = table->Expected(position.booked, position.upperSum);
        text = QStringLiteral("Roll the dice.\n"
                              "With perfect play from here your final total will be %1 on average.")
                   .arg(position.total + expected, 0, 'f', 1);
    } else {
        const int rollsLeft = RollsLeft();
        const auto choices = strategy::Advise(*table, position.booked, position.upperSum,
                                              DiceOnTheTable(), rollsLeft);
        if (choices.empty())
            return; // a position the engine cannot judge: say nothing rather than guess
        // Booking the last open row with no roll left leaves nothing to chance.
        const int openRows = strategy::RowCount - __builtin_popcount(position.booked);
        const bool exact = rollsLeft == 0 && openRows == 1;
        const strategy::Choice &best = choices.front();
        const QString howSure = exact ? QStringLiteral("exactly %1") : QStringLiteral("%1 on average");
        text = QStringLiteral("Best choice: %1.\n"
                              "With perfect play from here your final total will be %2.")
                   .arg(strategy::Describe(best), howSure.arg(position.total + best.expected, 0, 'f', 1));
        if (choices.size() > 1) {
            const strategy::Choice &next = choices[1];
            const double cost = best.expected - next.expected;
            // A difference within a tenth of a point is no real difference.
            if (cost < 0.1)
                text += QStringLiteral("\nRunner-up: %1, about as good.").arg(strategy::Describe(next));
            else
                text += QStringLiteral("\nRunner-up: %1, which costs %2 points%3.")
                            .arg(strategy::Describe(next))
                            .arg(cost, 0, 'f', 2)
                            .arg(exact ? QString() : QStringLiteral(" on average"));
        }
    }
    // Beside the window: the advice can be read while looking at the dice.
    m_dialogs.MsgBox(text, Dialogs::Buttons::Ok, QStringLiteral("Hint"), Dialogs::Icon::None,
                     Dialogs::Placement::Beside);
}
