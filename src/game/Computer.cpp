// The computer opponent: the engine plays player 2 through the same handlers
// a person uses, one paced step at a time.

#include "game/EnginePosition.h"
#include "game/StrategyLoader.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

void Form1::mnuComputer_Click()
{
    PlayerCount = 2;
    NewGame();
    lblPlayer[1]->setText(m_dialogs.InputBox(QStringLiteral("What is the name of Player 1 ?"),
                                             QStringLiteral("Quintor")));
    lblPlayer[2]->setText(QStringLiteral("Computer"));
    m_computerSeat = 2;
    lblPlayerTurn->setText(lblPlayer[1]->text());
    ShowRollCaption();
    // Its first turn needs the table: start on it while the person plays.
    Strategy().request();
    UpdateHint();
}

bool Form1::IsComputerTurn() const
{
    return m_computerSeat != 0 && CurPlayer + 1 == m_computerSeat && GameOpen();
}

void Form1::setComputerPace(int milliseconds)
{
    m_computerTimer->setInterval(milliseconds);
}

void Form1::setStrategy(StrategyLoader &loader)
{
    m_strategy = &loader;
}

StrategyLoader &Form1::Strategy()
{
    if (!m_strategy)
        m_strategy = &StrategyLoader::Shared();
    return *m_strategy;
}

void Form1::ScheduleComputer()
{
    if (IsComputerTurn())
        m_computerTimer->start();
}

void Form1::ComputerStep()
{
    if (!IsComputerTurn())
        return;
    // A dialog the person opened (Help, say) pauses the computer, and each
    // roll is watched to its end.
    if (QApplication::activeModalWidget() || Timer1->isActive()) {
        ScheduleComputer();
        return;
    }
    const auto table = Strategy().table();
    if (!table) {
        WaitForStrategy();
        return;
    }
    if (!HasRolled) {
        cmdRoll->click();
        ScheduleComputer();
        return;
    }

    const int rollsLeft = cmdRoll->isEnabled() ? RollsPerTurn - RollCount : 0;
    const EnginePosition position = PositionOf(*this, m_computerSeat);
    const strategy::Dice dice = DiceOnTheTable();
    const auto choices = strategy::Advise(*table, position.booked, position.upperSum, dice, rollsLeft);
    if (choices.empty())
        return; // no position the engine knows: leave the turn alone rather than guess
    const strategy::Choice &best = choices.front();
    if (best.action == strategy::Choice::Action::Book) {
        // The booking passes the turn; TakeScore confirms a sacrifice itself.
        chkChooseScore[best.row]->click();
        return;
    }

    // Hold exactly the kept dice, preferring those already held, one die
    // per step; then roll.
    std::array<int, 7> keep{};
    for (int face : best.kept)
        ++keep[face];
    std::array<bool, 5> hold{};
    for (bool alreadyHeld : {true, false}) {
        for (int i = 0; i < 5; ++i) {
            if (!hold[i] && RollDie[i] != alreadyHeld && keep[dice[i]] > 0) {
                --keep[dice[i]];
                hold[i] = true;
            }
        }
    }
    for (int i = 0; i < 5; ++i) {
        if (hold[i] == RollDie[i]) {
            DicePic_Click(static_cast<std::int16_t>(i));
            ScheduleComputer();
            return;
        }
    }
    cmdRoll->click();
    ScheduleComputer();
}

// Shows how far the table has got while it is worked out (only when that
// takes longer than a moment), and goes on once it is there.
void Form1::WaitForStrategy()
{
    StrategyLoader &loader = Strategy();
    connect(&loader, &StrategyLoader::ready, this, &Form1::StrategyReady, Qt::UniqueConnection);
    if (!m_progress) {
        auto *dialog = new QProgressDialog(QStringLiteral("Working out perfect play..."), QString(),
                                           0, 100, this);
        dialog->setWindowTitle(QStringLiteral("Quintor"));
        dialog->setWindowModality(Qt::NonModal);
        dialog->setAutoReset(false);
        dialog->setAutoClose(false);
        dialog->setMinimumDuration(500);
        // Owned by the dialog: it goes with it.
        auto *poll = new QTimer(dialog);
        connect(poll, &QTimer::timeout, dialog, [dialog, &loader] { dialog->setValue(loader.percent()); });
        poll->start(100);
        m_progress = dialog;
    }
    loader.request();
}

void Form1::StrategyReady()
{
    // Gone for good before anything else opens: a deferred delete would
    // wait for the Hint box to close, and meanwhile the dialog's own
    // delayed-show timer, which hide() leaves running, would show it.
    delete m_progress;
    m_progress = nullptr;
    if (m_hintPending) {
        m_hintPending = false;
        // Only where the hint still makes sense and nothing else is asked.
        if (mnuHint->isEnabled() && !QApplication::activeModalWidget())
            ShowHint();
    }
    ScheduleComputer();
}
