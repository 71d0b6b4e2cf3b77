#pragma once
// One ordered log of the clips started and the dialogs shown, each with what
// the window's turn and high-score labels show at that moment and whether
// Roll can be used, so a test can see that things happen in the right order,
// not just that they happen.

#include "ScriptedDialogs.h"

#include "resources/SoundModule.h"
#include "ui/Form1.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

class OrderLog {
public:
    OrderLog(Form1 &form, ScriptedDialogs &dialogs) : m_form(form), m_dialogs(dialogs)
    {
        SoundModule::SetPlayObserver(
            [this](const QString &name) { entries.append(QStringLiteral("sound ") + name + state()); });
        dialogs.onCall = [this](const DialogCall &call) {
            entries.append(QStringLiteral("dialog %1: %2")
                               .arg(call.title.isEmpty() ? ApplicationTitle : call.title, call.text)
                           + state());
        };
    }
    ~OrderLog()
    {
        SoundModule::SetPlayObserver({});
        m_dialogs.onCall = nullptr;
    }

    QStringList entries;

private:
    QString state() const
    {
        return QStringLiteral(" [%1|%2|%3]")
            .arg(m_form.lblPlayerTurn->text(), m_form.lblHighscore->text(),
                 m_form.cmdRoll->isEnabled() ? QStringLiteral("Roll") : QStringLiteral("-"));
    }

    Form1 &m_form;
    ScriptedDialogs &m_dialogs;
};
