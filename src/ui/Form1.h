#pragma once
// The game's one window. It owns every control and the state of the game;
// the game flow's handlers are implemented in game/, the score hints in
// scoring/, Help and Exit in ui/HelpExit.cpp.

#include "game/GameState.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressDialog;
class QPushButton;
class QTimer;
class Dialogs;
class PictureBox;
class RandomSource;
class SettingsStore;
class StrategyLoader;

inline const QString WindowTitle = QStringLiteral("Tulvar\u00B4s Quintor");

// Reads the number a caption begins with, as the totals and the high score
// are compared: leading blanks skipped, anything else reads as 0.
double Val(const QString &text);

class Form1 : public QMainWindow, private GameState {
    Q_OBJECT
public:
    Form1(Dialogs &dialogs, RandomSource &random, SettingsStore &settings,
          QWidget *parent = nullptr);
    ~Form1() override;

    const GameState &state() const { return *this; }

    // Controls, indexed as the game numbers them (index 0 unused where the
    // numbering starts at 1).
    std::array<QCheckBox *, 16> chkChooseScore{};
    std::array<QLabel *, 16> Score{};
    std::array<QLabel *, 5> lblPlayer{};
    std::array<QLabel *, 5> lblSum{};
    std::array<PictureBox *, 5> DicePic{};
    QPushButton *cmdRoll = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblPlayerTurn = nullptr;
    QLabel *lblHighscoreHolder = nullptr;
    QLabel *lblHighscoreName = nullptr;
    QLabel *lblHighscore = nullptr;
    QFrame *Line1 = nullptr;
    QMenu *mnuFile = nullptr;
    QMenu *mnuNewGame = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuHelp = nullptr;
    std::array<QAction *, 5> mnuNoPlayer{};
    QAction *mnuComputer = nullptr; // New Game against the engine
    QAction *mnuHint = nullptr;

    // Event handlers.
    void Form_Load();
    void mnuNoPlayer_Click(std::int16_t index);
    void cmdRoll_Click();
    void Timer1_Timer();
    void DicePic_Click(std::int16_t index);
    void chkChooseScore_Click(std::int16_t index);
    void mnuHelp_Click();
    void mnuExit_Click();
    void mnuComputer_Click();
    void mnuHint_Click();

    void GameFinish();
    void ShowScoreHints();

    // The player number the engine plays in this game, 0 for none.
    int computerSeat() const { return m_computerSeat; }
    bool IsComputerTurn() const;
    // Time between two of the computer's actions, so people can follow.
    void setComputerPace(int milliseconds);
    // Where the table of perfect play comes from (the user's cache by default).
    void setStrategy(StrategyLoader &loader);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectEvents();

    // Game flow.
    void NewGame();
    void NextPlayer();
    void ShowScoreCard();
    void TakeScore(std::int16_t row);
    void AnnounceWinner();
    void StoreHighscore(int winner);
    void LoadHighscore();

    // Shared steps of New Game and the turn change.
    void FreeAllDice();
    void ShowRollCaption();
    void SetDieHeld(int index, bool held);
    void ShowFace(int index, int face);
    void DescribeDie(int index);
    // Some player in the game still has an open category.
    bool GameOpen() const;

    // The engine's additions: hint and computer opponent.
    void UpdateHint();
    void ShowHint();
    void ScheduleComputer();
    void ComputerStep();
    StrategyLoader &Strategy();
    void WaitForStrategy();
    void StrategyReady();

    Dialogs &m_dialogs;
    RandomSource &m_random;
    SettingsStore &m_settings;
    std::array<int, 5> m_faceShown{};  // what each die's picture shows

    StrategyLoader *m_strategy = nullptr; // the shared one until first needed
    QTimer *m_computerTimer = nullptr;
    QProgressDialog *m_progress = nullptr;
    int m_computerSeat = 0;
    bool m_hintPending = false; // a hint waits for the table
};
