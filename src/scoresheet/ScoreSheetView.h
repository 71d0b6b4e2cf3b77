#pragma once
// View > Score Sheet: every player's card side by side in a dock beside the
// play area, following the game in every game, with the player to play, each
// player's last booking and a bonus just earned marked.

#include "game/GameState.h"
#include "scoresheet/ScoreSheet.h"

#include <QObject>
#include <QPointer>
#include <array>

class DockLayout;
class Form1;
class QAction;

class ScoreSheetView final : public QObject {
    Q_OBJECT
public:
    ScoreSheetView(Form1 &form, DockLayout &docks);

    QAction *action() const { return m_action; }
    ScoreSheet *sheet() const { return m_sheet; }

private:
    void Refresh();

    Form1 &m_form;
    QAction *m_action;
    QPointer<ScoreSheet> m_sheet;
    std::array<int, MaxPlayers + 1> m_lastBooked{};  // row of each player's last booking
    std::array<bool, MaxPlayers + 1> m_bonusNow{};   // that booking earned the bonus
};
