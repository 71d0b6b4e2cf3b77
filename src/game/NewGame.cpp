// New Game: the menu items One to Four Players, the reset of every score
// card and the players' names.

#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

void Form1::mnuNoPlayer_Click(std::int16_t index)
{
    PlayerCount = index;
    NewGame();
    const int count = PlayerCount;
    for (int n = 1; n <= count; ++n) {
        const QString name = m_dialogs.InputBox(
            QStringLiteral("What is the name of Player %1 ?").arg(n), QStringLiteral("Quintor"));
        lblPlayer[n]->setText(name);
    }
    lblPlayerTurn->setText(lblPlayer[1]->text());
    ShowRollCaption();
    emit newGame();
}

void Form1::NewGame()
{
    // A roll still running belongs to the old game: left alone, its last
    // tick would hand player 1 a finished roll at "Roll 0 of 3".
    Timer1->stop();
    TickCount = 0;

    HasRolled = false;
    for (int p = 1; p <= MaxPlayers; ++p) {
        lblSum[p]->clear();
        lblPlayer[p]->clear();
        for (int r = 1; r <= Categories::RowCount; ++r) {
            ScoreCard[p][r] = NotBooked;
            Score[r]->clear();
            chkChooseScore[r]->setEnabled(true);
            // Unchecking raises the box's click event; HasRolled is False,
            // so it books nothing.
            chkChooseScore[r]->setChecked(false);
        }
    }
    for (int p = 1; p <= MaxPlayers; ++p) {
        ScoreCard[p][BonusRow] = 0;
        ScoreCard[p][TotalRow] = 0;
    }
    cmdRoll->setEnabled(true);
    RollCount = 0;
    FreeAllDice();
    ShowRollCaption();
    CurPlayer = 0;
}
