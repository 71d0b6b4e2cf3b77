#pragma once
// The computer opponents: New Game > Against the Computer, and the
// computers' turns. The engine plays players 2 and on through the same
// handlers a person's clicks reach, one paced step at a time, at the chosen
// strength; before it books it marks its choice, so people can follow. During
// a computer's turn Roll, the dice and the boxes are not the person's.

#include "game/Seats.h"
#include "opponents/ComputerSetup.h"
#include "opponents/ComputerTurn.h"

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <optional>

class Form1;
class PromptAnswers;
class QAction;
class QLabel;
class QTimer;
class SettingsStore;
class TableGate;

class Opponents final : public QObject, public Seats {
    Q_OBJECT
public:
    Opponents(Form1 &form, PromptAnswers &dialogs, SetupQuestion &setup, SettingsStore &settings, TableGate &gate);
    ~Opponents() override;

    QAction *action() const { return m_action; }
    // New Game > Against the Computer: the setup, then a new game with the
    // person in seat 1 and the computers after.
    void StartGame();

    bool IsComputer(int player) const override;
    // A computer's turn is under way in a game that is not over.
    bool IsComputerTurn() const;
    int computers() const { return m_computers; }
    // The strength of the computer in the seat; none for a person.
    std::optional<strategy::Level> LevelOf(int player) const;

    // Time between two of a computer's steps.
    void setPace(int milliseconds);
    // Replays the computers' choices exactly (by default they vary).
    void setSeed(std::uint64_t seed);
    QTimer *timer() const { return m_timer; }
    // The box the computer is about to book, marked for one step; null when
    // none is.
    const QWidget *choiceMark() const;

private:
    void GameStarted();
    void Schedule();
    void Step();
    TurnView View() const;
    void ShowChoice(const strategy::Choice &book);
    void HideChoice();

    Form1 &m_form;
    PromptAnswers &m_dialogs;
    SetupQuestion &m_setup;
    SettingsStore &m_settings;
    TableGate &m_gate;
    QAction *m_action;
    QTimer *m_timer;
    QPointer<QLabel> m_mark;

    std::optional<ComputerSetup> m_starting; // the setup of the game being started
    int m_computers = 0;
    std::optional<std::uint64_t> m_seed;
    std::optional<ComputerTurn> m_turn;
};
