#pragma once
// Score Sheet: every player's card side by side, following the game in
// every game, with the player to play and each player's last booking
// marked.

#include "game/GameState.h"

#include <QObject>
#include <QPointer>
#include <array>

class Form1;
class QAction;
#include "scoresheet/ScoreSheet.h"

class ScoreSheetView final : public QObject {
    Q_OBJECT
public:
    explicit ScoreSheetView(Form1 &form);

    QAction *action() const { return m_action; }
    ScoreSheet *sheet() const { return m_sheet; }
    void Open();

private:
    void Refresh();

    Form1 &m_form;
    QAction *m_action;
    QPointer<ScoreSheet> m_sheet;
    std::array<int, MaxPlayers + 1> m_lastBooked{}; // row of each player's last booking
};
