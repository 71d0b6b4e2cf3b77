#pragma once
// Every player's card side by side, in a window of its own that stays open
// across turns: the fifteen rows, the bonus and the total, the player to
// play and each player's last booking marked.

#include "game/GameState.h"

#include <QDialog>
#include <QString>
#include <vector>

class QTableWidget;

class ScoreSheet final : public QDialog {
    Q_OBJECT
public:
    struct Column {
        QString name;
        std::array<std::int16_t, TotalRow + 1> card{}; // as GameState's ScoreCard
        int lastBooked = 0; // row, 0 for none yet
    };

    explicit ScoreSheet(QWidget *parent = nullptr);

    // toPlay: the player whose turn it is (1-based), 0 when the game is over.
    void setCards(const std::vector<Column> &columns, int toPlay);

    // What a cell shows, for tests and screen readers alike.
    QString cellText(int row, int player) const;
    QString headerText(int player) const;
    bool isMarked(int row, int player) const;

private:
    QTableWidget *m_table;
};
