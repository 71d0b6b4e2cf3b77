#pragma once
// Every player's card side by side: the fifteen rows, the bonus and the
// total, the player to play and each player's last booking marked. It fits
// the room it is given: long names are cut short (in full as a tooltip), and
// it scrolls where it must.

#include "game/GameState.h"

#include <QWidget>
#include <QString>
#include <vector>

class QLabel;
class QTableWidget;

class ScoreSheet final : public QWidget {
    Q_OBJECT
public:
    struct Column {
        QString name;
        std::array<std::int16_t, TotalRow + 1> card{}; // as GameState's ScoreCard
        int lastBooked = 0;     // row, 0 for none yet
        bool bonusNow = false;  // that booking earned the bonus
    };

    explicit ScoreSheet(QWidget *parent = nullptr);

    // toPlay: the player whose turn it is (1-based), 0 when the game is over.
    void setCards(const std::vector<Column> &columns, int toPlay);
    // Each player's chance to win, 0..1 in seat order; "…" for a player
    // left out while it is worked out. Row 18 of cellText().
    void setChances(const std::vector<double> &chances);

    // What a cell shows, for tests and screen readers alike. The player to
    // play is headed "→ name".
    QString cellText(int row, int player) const;
    QString headerText(int player) const;
    bool isMarked(int row, int player) const;

    QSize sizeHint() const override;

private:
    void ElideNames();

    QTableWidget *m_table;
    QLabel *m_legend;
};
