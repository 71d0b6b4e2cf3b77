#pragma once
// Coach mode (Learn > Coach Mode, remembered): after every roll the best
// choice for the position on the table, and after each of a person's
// decisions whether it was the best or what it cost. It changes nothing in
// the game.

#include "coaching/Advice.h"

#include <QObject>
#include <QPointer>

#include "coaching/CoachPanel.h"
class Form1;
class QAction;
class SettingsStore;
class TableGate;

class CoachMode final : public QObject {
    Q_OBJECT
public:
    CoachMode(Form1 &form, SettingsStore &settings, TableGate &gate);

    QAction *action() const { return m_action; }
    CoachPanel *panel() const { return m_panel; }
    bool shown() const;
    // Turns coach mode on if the player left it on.
    void Restore();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Toggled(bool on);
    void Update();
    void RollStarted();
    void RollFinished();
    void Booked(int player, int row, int points);
    coaching::Turn TurnOnTable() const;
    void Rate(const strategy::Choice &made);

    Form1 &m_form;
    SettingsStore &m_settings;
    TableGate &m_gate;
    QAction *m_action;
    QPointer<CoachPanel> m_panel;
    // The position of the turn under way, before its booking.
    EnginePosition m_turnPosition;
};
