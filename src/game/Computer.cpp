// The computer opponents: the engine plays players 2 and on through the same
// handlers a person's clicks reach, one paced step at a time, at a chosen
// strength. Before it books it marks its choice for one step, so people can
// follow what it does.

#include "game/ComputerSetup.h"
#include "game/EnginePosition.h"
#include "game/StrategyLoader.h"
#include "scoring/Categories.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/ScoreSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <utility>

void Form1::mnuComputer_Click()
{
    ComputerSetup setup = ComputerSetup::Load(m_settings);
    if (!m_dialogs.AskComputerSetup(setup))
        return; // the game on the table goes on untouched
    // Remembering the choices is a courtesy; a file that cannot take them
    // is already reported where the high score is concerned.
    setup.Save(m_settings);

    PlayerCount = static_cast<std::int16_t>(1 + setup.computers);
    NewGame();
    lblPlayer[1]->setText(setup.name);
    for (int c = 1; c <= setup.computers; ++c)
        lblPlayer[1 + c]->setText(ComputerSetup::ComputerName(c, setup.computers));
    m_computers = setup.computers;
    m_level = setup.level;
    m_computerTimer->setInterval(ComputerSetup::Milliseconds(setup.pace));
    m_levelRandom = strategy::LevelRandom(m_computerSeed.value_or(static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count())));
    lblPlayerTurn->setText(lblPlayer[1]->text());
    ShowRollCaption();
    StartRecord();
    // Their first turn needs the table: start on it while the person plays.
    Strategy().request();
    UpdateHint();
    RefreshScoreSheet();
}

bool Form1::IsComputerSeat(int player) const
{
    return player >= 2 && player <= 1 + m_computers;
}

bool Form1::IsComputerTurn() const
{
    return IsComputerSeat(CurPlayer + 1) && GameOpen();
}

void Form1::setComputerPace(int milliseconds)
{
    m_computerTimer->setInterval(milliseconds);
}

void Form1::setComputerSeed(std::uint64_t seed)
{
    m_computerSeed = seed;
    m_levelRandom = strategy::LevelRandom(seed);
}

const QWidget *Form1::computerChoiceMark() const
{
    return m_choiceMark && m_choiceMark->isVisible() ? m_choiceMark : nullptr;
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
    const bool computer = IsComputerTurn();
    // Looks and reads as not the person's to use, and drops their input.
    m_playArea->setEnabled(!computer);
    if (computer)
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
        m_plan.reset();
        cmdRoll_Click();
        ScheduleComputer();
        return;
    }

    // One decision per roll, made at the computer's level; the steps that
    // follow carry it out.
    if (!m_plan) {
        const int rollsLeft = RollsLeft();
        const EnginePosition position = PositionOf(*this, CurPlayer + 1);
        const auto choices = strategy::Advise(*table, position.booked, position.upperSum,
                                              DiceOnTheTable(), rollsLeft);
        if (choices.empty())
            return; // no position the engine knows: leave the turn alone rather than guess
        m_plan = choices[strategy::Choose(m_level, choices, m_levelRandom)];
    }
    if (m_plan->action == strategy::Choice::Action::Book) {
        if (!computerChoiceMark()) {
            ShowComputerChoice(*m_plan);
            ScheduleComputer();
            return;
        }
        const int row = m_plan->row;
        m_choiceMark->hide();
        m_plan.reset();
        // As a click does: the box's value changes, its click event books
        // and passes the turn. TakeScore confirms a sacrifice itself.
        chkChooseScore[row]->setChecked(true);
        return;
    }
    if (!ComputerHolds(*m_plan)) {
        m_plan.reset();
        cmdRoll_Click();
    }
    ScheduleComputer();
}

// Holds exactly the kept dice, preferring those already held, one die per
// step. False once they are held as kept: then it is time to roll.
bool Form1::ComputerHolds(const strategy::Choice &keep)
{
    const strategy::Dice dice = DiceOnTheTable();
    std::array<int, 7> wanted{};
    for (int face : keep.kept)
        ++wanted[face];
    std::array<bool, 5> hold{};
    for (bool alreadyHeld : {true, false}) {
        for (int i = 0; i < 5; ++i) {
            if (!hold[i] && RollDie[i] != alreadyHeld && wanted[dice[i]] > 0) {
                --wanted[dice[i]];
                hold[i] = true;
            }
        }
    }
    for (int i = 0; i < 5; ++i) {
        if (hold[i] == RollDie[i]) {
            DicePic_Click(static_cast<std::int16_t>(i));
            return true;
        }
    }
    return false;
}

// Marks the box the computer is about to book, with what it will score.
void Form1::ShowComputerChoice(const strategy::Choice &book)
{
    // Made when first needed: a style sheet costs the start of every game
    // a few milliseconds, and most games have no computer.
    if (!m_choiceMark) {
        m_choiceMark = new QLabel(centralWidget());
        m_choiceMark->setObjectName(QStringLiteral("ComputerChoice"));
        m_choiceMark->setFont(Score[book.row]->font());
        m_choiceMark->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_choiceMark->setStyleSheet(QStringLiteral(
            "QLabel { border: 2px solid #c00000; background: rgba(255, 215, 0, 120); color: black;"
            " font-weight: bold; padding-right: 6px; }"));
        m_choiceMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    const QString caption = QString::fromLatin1(Categories::Rows[book.row].caption);
    const QRect box = chkChooseScore[book.row]->geometry().united(Score[book.row]->geometry());
    m_choiceMark->setGeometry(box.adjusted(-2, -1, 2, 1));
    m_choiceMark->setText(QString::number(book.points));
    m_choiceMark->setAccessibleName(book.points == 0
        ? QStringLiteral("%1 sacrifices %2").arg(lblPlayerTurn->text(), caption)
        : QStringLiteral("%1 books %2 for %3").arg(lblPlayerTurn->text(), caption).arg(book.points));
    m_choiceMark->raise();
    m_choiceMark->show();
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
    const PendingWindow pending = std::exchange(m_pendingWindow, PendingWindow::None);
    // Only where the hint still makes sense and nothing else is asked.
    if (pending == PendingWindow::Hint && mnuHint->isEnabled() && !QApplication::activeModalWidget())
        ShowHint();
    if (pending == PendingWindow::Review)
        mnuReview_Click();
    if (pending == PendingWindow::Statistics)
        mnuStatistics_Click();
    ScheduleComputer();
}
