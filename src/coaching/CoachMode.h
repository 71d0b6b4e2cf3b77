#pragma once
// Coach mode (Learn > Coach Mode, a dock beside the play area): after every
// roll the best choice for the position on the table, and after each of a
// person's decisions whether it was the best or what it cost. It changes
// nothing in the game.

#include "coaching/Advice.h"

#include <QObject>
#include <QPointer>

#include "coaching/CoachPanel.h"
class DockLayout;
class Form1;
class QAction;
class TableGate;

class CoachMode final : public QObject {
    Q_OBJECT
public:
    CoachMode(Form1 &form, DockLayout &docks, TableGate &gate);

    QAction *action() const { return m_action; }
    CoachPanel *panel() const { return m_panel; }
    bool shown() const;
    // Shows the answer to Hint in the dock, if it is open.
    bool ShowHint(const QString &text);

private:
    void Update();
    void RollStarted();
    void RollFinished();
    void Booked(int player, int row, int points);
    coaching::Turn TurnOnTable() const;
    void Rate(const strategy::Choice &made);

    Form1 &m_form;
    DockLayout &m_docks;
    TableGate &m_gate;
    QAction *m_action;
    QPointer<CoachPanel> m_panel;
    // The position of the turn under way, before its booking.
    EnginePosition m_turnPosition;
};
