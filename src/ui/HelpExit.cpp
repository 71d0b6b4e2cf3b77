// The Help and Exit commands.

#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QStringList>

void Form1::mnuHelp_Click()
{
    const QStringList lines{
        QStringLiteral("Choose No of players from Menue New Game."),
        QStringLiteral("Choose what score to take by checking the checkbox."),
        QStringLiteral("Hold/release die by clicking it."),
        QStringLiteral("You are allowed to roll 3 times but you can take score anytime."),
        QStringLiteral("Tip! If you take 3 each of 1 to 6 you get 50 pts bonus."),
    };
    m_dialogs.MsgBox(lines.join(QStringLiteral("\r\n")), Dialogs::Buttons::Ok,
                     QStringLiteral("Quintor Help"));
}

void Form1::mnuExit_Click()
{
    // The only window: closing it ends the program, asking nothing.
    close();
}
