#include "opponents/Opponents.h"

#include "game/EnginePosition.h"
#include "scoring/Categories.h"
#include "tablegate/TableGate.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <chrono>

Opponents::Opponents(Form1 &form, PromptAnswers &dialogs, SetupQuestion &setup, SettingsStore &settings,
                     TableGate &gate)
    : m_form(form), m_dialogs(dialogs), m_setup(setup), m_settings(settings), m_gate(gate),
      m_timer(new QTimer(this))
{
    form.mnuNewGame->addSeparator();
    m_action = form.mnuNewGame->addAction(QStringLiteral("Against the &Computer"));
    m_action->setObjectName(QStringLiteral("mnuComputer"));
    connect(m_action, &QAction::triggered, this, &Opponents::StartGame);

    m_timer->setObjectName(QStringLiteral("ComputerTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(ComputerSetup::Milliseconds(ComputerSetup::Pace::Normal));
    connect(m_timer, &QTimer::timeout, this, &Opponents::Step);

    form.setSeats(this);
    connect(&form, &Form1::newGame, this, &Opponents::GameStarted);
    connect(&form, &Form1::turnChanged, this, &Opponents::Schedule);
}

Opponents::~Opponents()
{
    m_form.setSeats(nullptr);
}

void Opponents::StartGame()
{
    ComputerSetup setup = ComputerSetup::Load(m_settings);
    if (!m_setup.AskComputerSetup(setup))
        return; // the game on the table goes on untouched
    // Remembering the choices is a courtesy; a file that cannot take them
    // is already reported where the high score is concerned.
    setup.Save(m_settings);

    // New Game with everyone's names typed in: the person's, then the
    // computers'.
    QStringList names{setup.name};
    for (int c = 1; c <= setup.computers; ++c)
        names << ComputerSetup::ComputerName(c, setup.computers, setup.level);
    m_dialogs.answerPrompts(names);
    m_starting = setup;
    m_form.mnuNoPlayer_Click(static_cast<std::int16_t>(1 + setup.computers));
    m_starting.reset();
    m_dialogs.answerPrompts({});
}

void Opponents::GameStarted()
{
    // Nothing of a computer's turn may reach the new game.
    m_timer->stop();
    HideChoice();
    m_computers = m_starting ? m_starting->computers : 0;
    m_turn.reset();
    if (m_starting) {
        m_timer->setInterval(ComputerSetup::Milliseconds(m_starting->pace));
        m_turn.emplace(m_starting->level, m_seed.value_or(static_cast<std::uint64_t>(
                                              std::chrono::steady_clock::now().time_since_epoch().count())));
        // Their first turn needs the table: start on it while the person plays.
        m_gate.request();
    }
    Schedule();
}

bool Opponents::IsComputer(int player) const
{
    return player >= 2 && player <= 1 + m_computers;
}

bool Opponents::IsComputerTurn() const
{
    return IsComputer(m_form.state().CurPlayer + 1) && m_form.GameOpen();
}

std::optional<strategy::Level> Opponents::LevelOf(int player) const
{
    if (!IsComputer(player) || !m_turn)
        return std::nullopt;
    return m_turn->level();
}

void Opponents::setPace(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

void Opponents::setSeed(std::uint64_t seed)
{
    m_seed = seed;
    if (m_turn)
        m_turn.emplace(m_turn->level(), seed);
}

const QWidget *Opponents::choiceMark() const
{
    return m_mark && m_mark->isVisible() ? m_mark.data() : nullptr;
}

void Opponents::Schedule()
{
    const bool computer = IsComputerTurn();
    // Looks and reads as not the person's to use, and takes no input.
    m_form.playArea()->setEnabled(!computer);
    if (computer)
        m_timer->start();
}

TurnView Opponents::View() const
{
    const GameState &state = m_form.state();
    const EnginePosition position = PositionOf(state, state.CurPlayer + 1);
    TurnView view;
    view.hasRolled = state.HasRolled;
    view.rollsLeft = m_form.RollsLeft();
    view.dice = DiceOnTheTable();
    for (std::size_t i = 0; i < 5; ++i)
        view.held[i] = !state.RollDie[i];
    view.booked = position.booked;
    view.upperSum = position.upperSum;
    return view;
}

void Opponents::Step()
{
    if (!IsComputerTurn() || !m_turn)
        return;
    // A dialog the person opened (Help, say) pauses the computer, and each
    // roll is watched to its end.
    if (QApplication::activeModalWidget() || m_form.Timer1->isActive()) {
        Schedule();
        return;
    }
    const auto table = m_gate.table();
    if (!table) {
        m_gate.whenReady(this, [this] { Schedule(); });
        return;
    }
    const ComputerAction action = m_turn->Next(*table, View());
    switch (action.kind) {
    case ComputerAction::Kind::Roll:
        m_form.cmdRoll_Click();
        break;
    case ComputerAction::Kind::ToggleDie:
        m_form.DicePic_Click(static_cast<std::int16_t>(action.die));
        break;
    case ComputerAction::Kind::Mark:
        ShowChoice(action.choice);
        break;
    case ComputerAction::Kind::Book:
        HideChoice();
        // As a click does: the box's value changes, and its click event
        // books and passes the turn. A computer's sacrifice needs no answer.
        m_form.chkChooseScore[std::size_t(action.choice.row)]->setChecked(true);
        return; // the turn change schedules what comes next
    case ComputerAction::Kind::None:
        return; // no position the engine knows: leave the turn alone rather than guess
    }
    Schedule();
}

// Marks the box the computer is about to book, with what it will score.
void Opponents::ShowChoice(const strategy::Choice &book)
{
    const auto row = std::size_t(book.row);
    // Made when first needed: a style sheet costs the start of every game
    // a few milliseconds, and most games have no computer.
    if (!m_mark) {
        m_mark = new QLabel(m_form.centralWidget());
        m_mark->setObjectName(QStringLiteral("ComputerChoice"));
        m_mark->setFont(m_form.Score[row]->font());
        m_mark->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_mark->setStyleSheet(QStringLiteral(
            "QLabel { border: 2px solid #c00000; background: rgba(255, 215, 0, 120); color: black;"
            " font-weight: bold; padding-right: 6px; }"));
        m_mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    const QString caption = QString::fromLatin1(Categories::Rows[row].caption);
    const QRect box = m_form.chkChooseScore[row]->geometry().united(m_form.Score[row]->geometry());
    m_mark->setGeometry(box.adjusted(-2, -1, 2, 1));
    m_mark->setText(QString::number(book.points));
    const QString who = m_form.lblPlayerTurn->text();
    m_mark->setAccessibleName(book.points == 0
        ? QStringLiteral("%1 sacrifices %2").arg(who, caption)
        : QStringLiteral("%1 books %2 for %3").arg(who, caption, QString::number(book.points)));
    m_mark->raise();
    m_mark->show();
}

void Opponents::HideChoice()
{
    if (m_mark)
        m_mark->hide();
}
