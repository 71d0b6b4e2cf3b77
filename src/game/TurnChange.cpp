// The turn change and the redraw of the category rows for the player whose
// turn it is.

#include "scoring/valmod.h"
#include "ui/Form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

void Form1::NextPlayer()
{
    CurPlayer = CurPlayer == PlayerCount - 1 ? 0 : CurPlayer + 1;
    cmdRoll->setEnabled(true);
    HasRolled = false;
    RollCount = 0;
    FreeAllDice();
    lblPlayerTurn->setText(lblPlayer[CurPlayer + 1]->text());
    ShowRollCaption();
    ShowScoreCard();
    emit turnChanged();
}

void Form1::ShowScoreCard()
{
    const int p = CurPlayer + 1;
    for (int r = 1; r <= Categories::RowCount; ++r) {
        // The click events these assignments raise find HasRolled False
        // and book nothing.
        chkChooseScore[r]->setEnabled(true);
        chkChooseScore[r]->setChecked(false);
        Score[r]->clear();
        if (ScoreCard[p][r] != NotBooked) {
            Score[r]->setText(QString::number(ScoreCard[p][r]));
            chkChooseScore[r]->setChecked(true);
            chkChooseScore[r]->setEnabled(false);
        }
    }
}
