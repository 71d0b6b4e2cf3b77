#include "coaching/Hint.h"

#include "coaching/Advice.h"
#include "coaching/CoachMode.h"
#include "tablegate/TableGate.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

Hint::Hint(Form1 &form, Dialogs &dialogs, TableGate &gate, CoachMode &coach)
    : m_form(form), m_dialogs(dialogs), m_gate(gate), m_coach(coach), m_action(new QAction(QStringLiteral("Hin&t"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuHint"));
    connect(m_action, &QAction::triggered, this, &Hint::Ask);
    connect(&form, &Form1::newGame, this, [this] {
        m_gate.forget(this); // a hint for the old game
        UpdateEnabled();
    });
    // The dice are about to roll: nothing to advise on until they rest, and
    // a hint still waiting for the table was for another position.
    connect(&form, &Form1::rollStarted, m_action, [this] {
        m_action->setEnabled(false);
        m_gate.forget(this);
    });
    connect(&form, &Form1::rollFinished, this, &Hint::UpdateEnabled);
    connect(&form, &Form1::turnChanged, this, [this] {
        m_gate.forget(this);
        UpdateEnabled();
    });
    connect(&form, &Form1::gameOver, this, &Hint::UpdateEnabled);
    UpdateEnabled();
}

void Hint::UpdateEnabled()
{
    const int player = m_form.state().CurPlayer + 1;
    m_action->setEnabled(m_form.state().PlayerCount > 0 && m_form.GameOpen() && !m_form.Timer1->isActive()
                         && !m_form.IsComputerSeat(player));
}

void Hint::Ask()
{
    UpdateEnabled();
    if (!m_action->isEnabled())
        return;
    // Shown once the table is there, if it still makes sense and nothing
    // else is being asked.
    m_gate.whenReady(this, [this] {
        UpdateEnabled();
        if (m_action->isEnabled() && !QApplication::activeModalWidget())
            Show();
    });
}

void Hint::Show()
{
    const auto text = coaching::HintText(*m_gate.table(), coaching::TurnOf(m_form.state(), m_form.RollsLeft()));
    if (!text)
        return; // a position the engine cannot judge: say nothing rather than guess
    // Where nothing else is: in the coach's dock when it is open, else
    // beside the window, so the advice can be read while looking at the dice.
    if (m_coach.ShowHint(*text))
        return;
    m_dialogs.MsgBox(*text, Dialogs::Buttons::Ok, QStringLiteral("Hint"), Dialogs::Icon::None,
                     Dialogs::Placement::Beside);
}
