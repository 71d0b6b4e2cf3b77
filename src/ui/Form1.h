#pragma once
// The game's one window. It owns every control and the state of the game;
// the game flow's handlers are implemented in game/, the score hints in
// scoring/, Help and Exit in ui/HelpExit.cpp.

#include "game/GameState.h"
#include "history/GameRecord.h"
#include "strategy/Levels.h"
#include "strategy/Strategy.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>

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
class CoachPanel;
class HistoryWindows;
class RandomSource;
class ScoreSheet;
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
    QAction *mnuScoreSheet = nullptr;
    QMenu *mnuLearn = nullptr;
    QAction *mnuReview = nullptr;
    QAction *mnuStatistics = nullptr;
    QAction *mnuCoachMode = nullptr; // checkable

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
    void mnuScoreSheet_Click();
    void mnuReview_Click();
    void mnuStatistics_Click();
    void mnuCoachMode_Toggled(bool on);

    void GameFinish();
    void ShowScoreHints();

    // How many computers play in this game: players 2 to 1 + computers().
    int computers() const { return m_computers; }
    bool IsComputerSeat(int player) const;
    bool IsComputerTurn() const;
    // Time between two of the computer's actions, so people can follow.
    void setComputerPace(int milliseconds);
    // Replays the computers' choices exactly (by default they vary).
    void setComputerSeed(std::uint64_t seed);
    // The box the computer is about to book, marked for one step; null
    // when none is.
    const QWidget *computerChoiceMark() const;
    ScoreSheet *scoreSheet() const { return m_sheet; }
    CoachPanel *coachPanel() const { return m_coach; }
    // Where finished games are recorded (the user's record folder by default).
    void setRecordFolder(const QString &folder);
    // The game so far, or the last one finished in this window.
    const history::GameRecord &gameRecord() const { return m_record.players.empty() ? m_lastRecord : m_record; }
    // Where the table of perfect play comes from (the user's cache by default).
    void setStrategy(StrategyLoader &loader);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

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
    // Rolls still allowed this turn after the one on the table: whether Roll
    // would be enabled were the play controls the person's.
    int RollsLeft() const;

    // The engine's additions: hint and computer opponent.
    void UpdateHint();
    void ShowHint();
    void ScheduleComputer();
    void ComputerStep();
    bool ComputerHolds(const strategy::Choice &keep);
    void ShowComputerChoice(const strategy::Choice &book);
    void RefreshScoreSheet();

    // The game's record, and coach mode's verdict on each decision.
    void StartRecord();
    history::Turn *RecordedTurn();
    void NoteRollStarted();
    void NoteRollFinished();
    void NoteBooking(int row, int points);
    void SaveRecord();

    // Coach mode.
    void RestoreCoachMode();
    bool CoachShown() const;
    void UpdateCoachPanel();
    void CoachRate(const strategy::Choice &made, strategy::BookedRows booked, int upperSum, int rollsLeft);

    // Review and statistics.
    enum class PendingWindow;
    // The module of the Review and Statistics windows, once the table is
    // there (else that window waits for it); null when it cannot be had.
    HistoryWindows *HistoryModule(PendingWindow window, const QString &title);
    void RefreshReview();
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
    // A window asked for before the table was there.
    enum class PendingWindow { None, Hint, Review, Statistics };
    PendingWindow m_pendingWindow = PendingWindow::None;

    // Roll, the dice and the category boxes: disabled as a whole during a
    // computer's turn, which leaves each control's own state as it is.
    QWidget *m_playArea = nullptr;
    QLabel *m_choiceMark = nullptr;
    ScoreSheet *m_sheet = nullptr;
    CoachPanel *m_coach = nullptr;
    QPointer<QWidget> m_review, m_statistics;
    std::array<int, MaxPlayers + 1> m_lastBooked{}; // row of each player's last booking

    int m_computers = 0;
    strategy::Level m_level = strategy::Level::Perfect;
    std::optional<std::uint64_t> m_computerSeed;
    strategy::LevelRandom m_levelRandom{0};
    std::optional<strategy::Choice> m_plan; // what the computer does with this roll

    QString m_recordFolder = history::DefaultFolder();
    history::GameRecord m_record, m_lastRecord;
};
