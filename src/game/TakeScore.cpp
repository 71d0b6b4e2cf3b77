// Taking a score: booking a category, the sacrifice question and the upper
// bonus.

#include "resources/SoundModule.h"
#include "scoring/Categories.h"
#include "scoring/valmod.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

void Form1::chkChooseScore_Click(std::int16_t index)
{
    if (IgnoreClick != FlagFalse) {
        IgnoreClick = FlagFalse;
        return;
    }
    // Before the roll, and while the dice are still rolling, there is
    // nothing to book: the values would be those of the last finished roll.
    if (!HasRolled || Timer1->isActive())
        return;
    if (!Score[index]->text().isEmpty())
        return;
    ScoreCard[CurPlayer + 1][index] = valmod::CategoryValue[index];
    TakeScore(index);
}

void Form1::TakeScore(std::int16_t row)
{
    const int p = CurPlayer + 1;
    const std::int16_t v = ScoreCard[p][row];

    if (v == 0) {
        const QString question = QStringLiteral("Do you want to sacrifice %1 ?")
                                     .arg(chkChooseScore[row]->text());
        // The computer confirms its own sacrifices without asking anyone.
        if (IsComputerSeat(p)
            || m_dialogs.MsgBox(question, Dialogs::Buttons::OkCancel, QStringLiteral("Quintor"))
                   == Dialogs::Answer::Ok) {
            ScoreCard[p][row] = 0;
            SoundModule::PlayResSound(QStringLiteral("glass"));
            emit booked(p, row, 0, 0);
            NextPlayer();
            GameFinish();
        } else {
            ScoreCard[p][row] = NotBooked;
            IgnoreClick = FlagTrue;
            chkChooseScore[row]->setChecked(false);
            // Unchecking a box that was already unchecked raises no event to
            // swallow; the flag must not outlive this question.
            IgnoreClick = FlagFalse;
            emit sacrificeDeclined();
        }
        return;
    }

    std::int16_t upperSum = 0;
    for (int r = Categories::FirstUpperRow; r <= Categories::LastUpperRow; ++r) {
        if (ScoreCard[p][r] != NotBooked)
            upperSum = static_cast<std::int16_t>(upperSum + ScoreCard[p][r]);
    }
    std::int16_t bonus = 0;
    if (upperSum >= BonusThreshold && ScoreCard[p][BonusRow] == 0) {
        SoundModule::PlayResSound(QStringLiteral("clap"));
        // The box is addressed to a person who has to press OK; a computer's
        // bonus is told where the game is followed, without stopping it.
        if (!IsComputerSeat(p))
            m_dialogs.MsgBox(QStringLiteral("Congratulations you have recieved a 50 pts bonus"),
                             Dialogs::Buttons::Ok, QString());
        ScoreCard[p][BonusRow] = BonusValue;
        ScoreCard[p][TotalRow] = static_cast<std::int16_t>(ScoreCard[p][TotalRow] + ScoreCard[p][BonusRow]);
        bonus = BonusValue;
    }
    ScoreCard[p][TotalRow] = static_cast<std::int16_t>(ScoreCard[p][TotalRow] + v);
    lblSum[p]->setText(QString::number(ScoreCard[p][TotalRow]));
    emit booked(p, row, v, bonus);
    NextPlayer();
    GameFinish();
}
