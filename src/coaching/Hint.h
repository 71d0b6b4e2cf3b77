#pragma once
// Hint: the best choice for the player to play, what perfect play can
// expect from here, and what the runner-up costs. It changes nothing, and
// is greyed out between games, while the dice roll and during a computer's
// turn.

#include <QObject>

class CoachMode;
class Dialogs;
class Form1;
class QAction;
class TableGate;

class Hint final : public QObject {
    Q_OBJECT
public:
    Hint(Form1 &form, Dialogs &dialogs, TableGate &gate, CoachMode &coach);

    QAction *action() const { return m_action; }

private:
    void UpdateEnabled();
    void Ask();
    void Show();

    Form1 &m_form;
    Dialogs &m_dialogs;
    TableGate &m_gate;
    CoachMode &m_coach;
    QAction *m_action;
};
