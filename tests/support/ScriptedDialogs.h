#pragma once
// Dialogs that answer from a script and remember what they were asked.

#include "opponents/ComputerSetup.h"
#include "ui/Dialogs.h"

#include <QList>
#include <QStringList>
#include <QTest>
#include <functional>
#include <optional>
#include <utility>

struct DialogCall {
    enum Kind { Message, Input, Setup } kind;
    QString text;   // message text or input prompt
    QString title;  // as passed (empty: the application title)
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    Dialogs::Icon icon = Dialogs::Icon::None;
    Dialogs::Placement placement = Dialogs::Placement::Over;
};

class ScriptedDialogs final : public Dialogs, public SetupQuestion {
public:
    // Answers for input prompts, in order; a missing answer is a cancel.
    QStringList names;
    // Answers for OK/Cancel questions, in order; a missing one is OK.
    QList<Answer> answers;
    QList<DialogCall> calls;
    // The answer to the computer game's setup: the choices it offers (the
    // remembered ones) with the next name from `names`, or these; a cancel
    // when `names` is empty and these are not set.
    std::optional<ComputerSetup> setup;
    // What the setup dialog offered the last time it was asked.
    ComputerSetup offered;
    // Told of every dialog as it opens.
    std::function<void(const DialogCall &)> onCall;

    Answer MsgBox(const QString &text, Buttons buttons, const QString &title, Icon icon, Placement placement) override
    {
        calls.append({DialogCall::Message, text, title, buttons, icon, placement});
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

    bool AskComputerSetup(ComputerSetup &answer) override
    {
        calls.append({DialogCall::Setup, QString(), QString()});
        offered = answer;
        if (onCall)
            onCall(calls.last());
        if (setup) {
            answer = *std::exchange(setup, std::nullopt);
            return true;
        }
        if (names.isEmpty())
            return false;
        answer.name = names.takeFirst();
        return true;
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
