// Rolling and holding dice: the Roll button, the four-tick animation and
// clicks on the dice.

#include "game/Random.h"
#include "resources/SoundModule.h"
#include "scoring/valmod.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"

#include <QPushButton>
#include <QTimer>

void Form1::cmdRoll_Click()
{
    // A click while the dice are still rolling would count a roll that
    // rolls nothing; three quick clicks would spend the whole turn.
    if (Timer1->isActive())
        return;

    emit rollStarted();
    SoundModule::PlayResSound(QStringLiteral("Roll"));
    Timer1->start();
    ++RollCount;
    ShowRollCaption();
    HasRolled = true;
    if (RollCount == RollsPerTurn) {
        RollCount = 0;
        cmdRoll->setEnabled(false);
        HasRolled = false;
    }
}

void Form1::Timer1_Timer()
{
    ++TickCount;
    for (int i = 0; i < 5; ++i) {
        if (!RollDie[i])
            continue;
        m_random.Randomize();
        const int v = DieFace(m_random.Rnd());
        ShowFace(i, v);
        valmod::DiceValue[i] = static_cast<std::int16_t>(v);
    }
    if (TickCount == TicksPerRoll) {
        Timer1->stop();
        TickCount = 0;
        HasRolled = true;
        valmod::EvaluateDice();
        ShowScoreHints();
        emit rollFinished();
    }
}

void Form1::DicePic_Click(std::int16_t index)
{
    if (!HasRolled)
        return;
    // A die that has not been rolled in this turn has no value to keep;
    // holding it would score it as a blank face.
    if (valmod::DiceValue[index] == 0)
        return;
    SetDieHeld(index, RollDie[index]);
    emit dieClicked(index);
}

void Form1::FreeAllDice()
{
    for (int i = 0; i < 5; ++i) {
        SetDieHeld(i, false);
        valmod::DiceValue[i] = 0;
    }
}
