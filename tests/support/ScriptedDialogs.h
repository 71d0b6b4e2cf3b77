#pragma once
// Dialogs that answer from a script and remember what they were asked.

#include "ui/Dialogs.h"

#include <QList>
#include <QStringList>
#include <QTest>
#include <functional>

struct DialogCall {
    enum Kind { Message, Input } kind;
    QString text;   // message text or input prompt
    QString title;  // as passed (empty: the application title)
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    Dialogs::Icon icon = Dialogs::Icon::None;
};

class ScriptedDialogs final : public Dialogs {
public:
    // Answers for input prompts, in order; a missing answer is a cancel.
    QStringList names;
    // Answers for OK/Cancel questions, in order; a missing one is OK.
    QList<Answer> answers;
    QList<DialogCall> calls;
    // Told of every dialog as it opens.
    std::function<void(const DialogCall &)> onCall;

    Answer MsgBox(const QString &text, Buttons buttons, const QString &title, Icon icon) override
    {
        calls.append({DialogCall::Message, text, title, buttons, icon});
        if (onCall)
            onCall(calls.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
    }

    QString InputBox(const QString &prompt, const QString &title) override
    {
        calls.append({DialogCall::Input, prompt, title});
        if (onCall)
            onCall(calls.last());
        return names.isEmpty() ? QString() : names.takeFirst();
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto &call : calls)
            if (call.kind == DialogCall::Message)
                texts.append(call.text);
        return texts;
    }
};
