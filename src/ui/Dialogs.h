#pragma once
// Every modal dialog of the game goes through this interface, so that tests
// can script the answers. QtDialogs shows the real Qt dialogs.

#include <QString>

class QWidget;
struct ComputerSetup;

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
    // The setup of a game against the computer, starting from `setup`; false
    // when cancelled, and then `setup` is left as it was.
    virtual bool AskComputerSetup(ComputerSetup &setup) = 0;
};

// Moves a window next to `window` (right of it where the screen has room,
// else left), never over it.
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
    bool AskComputerSetup(ComputerSetup &setup) override;

private:
    QWidget *m_parent;
};
