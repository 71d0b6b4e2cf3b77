#include "coaching/CoachMode.h"

#include "app/DockLayout.h"
#include "coaching/CoachPanel.h"
#include "history/Review.h"
#include "tablegate/TableGate.h"
#include "ui/Form1.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

CoachMode::CoachMode(Form1 &form, DockLayout &docks, TableGate &gate)
    : m_form(form), m_docks(docks), m_gate(gate), m_action(new QAction(QStringLiteral("&Coach Mode"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuCoachMode"));
    docks.Add(QStringLiteral("Coach"), QStringLiteral("Coach"), m_action, Qt::RightDockWidgetArea,
              [this]() -> QWidget * { return m_panel = new CoachPanel; });
    connect(m_action, &QAction::toggled, this, [this](bool on) {
        if (!on)
            return;
        if (m_panel)
            m_panel->setVerdict(QString());
        m_gate.request();
        Update();
    });
    connect(&form, &Form1::newGame, this, [this] {
        if (m_panel)
            m_panel->setVerdict(QString());
        Update();
    });
    connect(&form, &Form1::rollStarted, this, &CoachMode::RollStarted);
    connect(&form, &Form1::rollFinished, this, &CoachMode::RollFinished);
    connect(&form, &Form1::booked, this, &CoachMode::Booked);
    connect(&form, &Form1::turnChanged, this, &CoachMode::Update);
    connect(&form, &Form1::sacrificeDeclined, this, &CoachMode::Update);
    connect(&form, &Form1::gameOver, this, &CoachMode::Update);
    connect(&gate, &TableGate::ready, this, &CoachMode::Update);
}

bool CoachMode::shown() const
{
    return m_panel && m_docks.IsOpen(QStringLiteral("Coach"));
}

bool CoachMode::ShowHint(const QString &text)
{
    if (!shown())
        return false;
    m_panel->setHint(text);
    return true;
}

coaching::Turn CoachMode::TurnOnTable() const
{
    return coaching::TurnOf(m_form.state(), m_form.RollsLeft());
}

void CoachMode::Update()
{
    // A hint belongs to the position it was asked in.
    if (m_panel)
        m_panel->setHint(QString());
    if (!shown() || m_form.Timer1->isActive())
        return; // what the dice show while they roll is not the position
    const GameState &state = m_form.state();
    if (state.PlayerCount == 0 || !m_form.GameOpen()) {
        m_panel->setAdvice(QStringLiteral("No game is on. Choose New Game to play."));
        return;
    }
    const auto table = m_gate.table();
    if (!table) {
        m_panel->setAdvice(QStringLiteral("Working out perfect play..."));
        return;
    }
    const QString name = m_form.lblPlayer[std::size_t(state.CurPlayer + 1)]->text();
    m_panel->setAdvice(coaching::AdviceText(*table, name, TurnOnTable()));
}

void CoachMode::RollStarted()
{
    if (m_panel)
        m_panel->setHint(QString());
    const GameState &state = m_form.state();
    m_turnPosition = PositionOf(state, state.CurPlayer + 1);
    // A re-roll: the dice held from the roll on the table are a decision.
    if (IsReroll(state))
        Rate(history::KeepOf(DiceOnTheTable(), HeldDice(state)));
}

void CoachMode::RollFinished()
{
    const GameState &state = m_form.state();
    // A person's new turn: the last verdict belongs to a turn gone by.
    if (shown() && state.RollCount == 1 && !m_form.IsComputerSeat(state.CurPlayer + 1))
        m_panel->setVerdict(QString());
    Update();
}

void CoachMode::Booked(int /*player*/, int row, int /*points*/)
{
    strategy::Choice made;
    made.row = row;
    Rate(made);
}

// A person's decision, rated in the position it was made in: the card as it
// was before this turn's booking.
void CoachMode::Rate(const strategy::Choice &made)
{
    const GameState &state = m_form.state();
    const int player = state.CurPlayer + 1;
    const auto table = m_gate.table();
    if (!shown() || m_form.IsComputerSeat(player) || !table)
        return;
    coaching::Turn turn = TurnOnTable();
    turn.position = m_turnPosition;
    const QString name = m_form.lblPlayer[std::size_t(player)]->text();
    if (const auto verdict = coaching::VerdictText(*table, name, turn, made))
        m_panel->setVerdict(*verdict);
}
