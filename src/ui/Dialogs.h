#pragma once
// Every modal dialog of the game goes through this interface, so that tests
// can script the answers. QtDialogs shows the real Qt dialogs.

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

class Dialogs {
public:
    enum class Buttons { Ok, OkCancel };
    enum class Icon { None, Warning };
    enum class Answer { Ok, Cancel };
    // Where a box opens: over the window, or beside it so that the dice and
    // the category boxes stay in view.
    enum class Placement { Over, Beside };

    virtual ~Dialogs() = default;

    // A message box. An empty title stands for the application title.
    virtual Answer MsgBox(const QString &text, Buttons buttons, const QString &title,
                          Icon icon = Icon::None, Placement placement = Placement::Over) = 0;
    // A text prompt that starts empty; cancelling gives the empty text.
    virtual QString InputBox(const QString &prompt, const QString &title) = 0;
};

// Passes every dialog on, except name prompts answered in advance: a game
// against the computer types its players' names into New Game's prompts.
class PromptAnswers final : public Dialogs {
public:
    explicit PromptAnswers(Dialogs &shown) : m_shown(shown) {}
    // The next prompts get these answers, in order, without being shown.
    void answerPrompts(const QStringList &answers) { m_answers = answers; }

    Answer MsgBox(const QString &text, Buttons buttons, const QString &title, Icon icon = Icon::None,
                  Placement placement = Placement::Over) override
    {
        return m_shown.MsgBox(text, buttons, title, icon, placement);
    }
    QString InputBox(const QString &prompt, const QString &title) override
    {
        return m_answers.isEmpty() ? m_shown.InputBox(prompt, title) : m_answers.takeFirst();
    }

private:
    Dialogs &m_shown;
    QStringList m_answers;
};

// Sizes and moves a window of the game's next to `window`, on the side of it
// where the screen has most room for `wanted`, cut down to what that side
// holds but never below `least`; where no side has room for `least`, centred
// on `window`. Either way it lies wholly on the screen.
void PlaceBeside(QWidget &widget, const QWidget *window, QSize wanted, QSize least);
// The same for a box as large as it needs to be.
void PlaceBeside(QWidget &widget, const QWidget *window);

// Shows a window of the game's (score sheet, review...) in front, active.
void BringUp(QWidget *window);

// The title shown by a dialog that has none of its own.
inline const QString ApplicationTitle = QStringLiteral("Quintis");

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer MsgBox(const QString &text, Buttons buttons, const QString &title,
                  Icon icon = Icon::None, Placement placement = Placement::Over) override;
    QString InputBox(const QString &prompt, const QString &title) override;

private:
    QWidget *m_parent;
};
