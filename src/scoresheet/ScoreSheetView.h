#pragma once
// View > Score Sheet: every player's card side by side in a dock beside the
// play area, following the game in every game, with the player to play, each
// player's last booking and a bonus just earned marked, and each player's
// chance to win, worked out anew after every booking off the window's thread.

#include "game/GameState.h"
#include "scoresheet/ScoreSheet.h"

#include "strategy/WinChance.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <vector>

class BackgroundWork;
class DockLayout;
class Form1;
class Opponents;
class QAction;
class TableGate;

class ScoreSheetView final : public QObject {
    Q_OBJECT
public:
    ScoreSheetView(Form1 &form, DockLayout &docks, const Opponents &opponents, TableGate &gate);
    ~ScoreSheetView() override;

    QAction *action() const { return m_action; }
    ScoreSheet *sheet() const { return m_sheet; }

    // The chances shown, in seat order; empty while they are worked out.
    const std::vector<double> &chances() const { return m_chances; }

signals:
    // The chances on the sheet are final for the position on the table.
    void chancesShown();

private:
    void Refresh();
    std::vector<strategy::SeatState> Seats() const;
    void Estimate();

    Form1 &m_form;
    const Opponents &m_opponents;
    TableGate &m_gate;
    BackgroundWork *m_work;
    std::optional<std::uint64_t> m_estimated; // the position the chances are for
    std::vector<double> m_chances;
    QAction *m_action;
    QPointer<ScoreSheet> m_sheet;
    std::array<int, MaxPlayers + 1> m_lastBooked{};  // row of each player's last booking
    std::array<bool, MaxPlayers + 1> m_bonusNow{};   // that booking earned the bonus
};
