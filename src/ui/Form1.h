#pragma once
// The game's one window. It owns every control and the state of the game;
// the game flow's handlers are implemented in game/, Help and Exit in
// ui/HelpExit.cpp. Everything the game has beyond that (computer opponents,
// the record, coach mode, the score sheet...) lives in objects of its own
// that follow the signals below and act through the same handlers a
// person's clicks reach.

#include "game/GameState.h"

#include <QMainWindow>
#include <array>
#include <cstdint>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class Dialogs;
class PictureBox;
class RandomSource;
class Seats;
class SettingsStore;

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

    // Event handlers.
    void Form_Load();
    void mnuNoPlayer_Click(std::int16_t index);
    void cmdRoll_Click();
    void Timer1_Timer();
    void DicePic_Click(std::int16_t index);
    void chkChooseScore_Click(std::int16_t index);
    void mnuHelp_Click();
    void mnuExit_Click();

    void GameFinish();
    void ShowScoreHints();

    // Who plays each seat; people only until set (not owned).
    void setSeats(const Seats *seats) { m_seats = seats; }
    bool IsComputerSeat(int player) const;
    // Some player in the game still has an open category.
    bool GameOpen() const;
    // Rolls still allowed this turn after the one on the table: whether Roll
    // would be enabled were the play controls the person's.
    int RollsLeft() const;
    // Roll, the dice and the category boxes: the controls that are not the
    // person's during a computer's turn.
    QWidget *playArea() const { return m_playArea; }

signals:
    // A new game is on the table, with its players' names.
    void newGame();
    // Roll was clicked: the dice and holds are still those the choice was
    // made with.
    void rollStarted();
    // The dice have come to rest and are evaluated.
    void rollFinished();
    // A die was held or released.
    void dieClicked(int index);
    // A category was booked for `player` (0 points: sacrificed), earning
    // `bonus` (0 or the upper bonus); the turn has not passed yet.
    void booked(int player, int row, int points, int bonus);
    // A sacrifice was declined: the category is open again, and the card
    // as it was before the question.
    void sacrificeDeclined();
    // The next player is to play (also after the game's last booking).
    void turnChanged();
    // The game is over: the winner is announced and the high score kept.
    void gameOver(int winner);

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

    Dialogs &m_dialogs;
    RandomSource &m_random;
    SettingsStore &m_settings;
    const Seats *m_seats = nullptr;
    std::array<int, 5> m_faceShown{};  // what each die's picture shows
    QWidget *m_playArea = nullptr;
};
