#pragma once
// Coach mode: a small window beside the game's, never over the dice or the
// boxes, with the best choice for the position on the table and what the
// person's last decision cost. It changes nothing in the game.

#include <QWidget>

class QLabel;

class CoachPanel final : public QWidget {
    Q_OBJECT
public:
    explicit CoachPanel(QWidget *parent);

    void setAdvice(const QString &text);
    void setVerdict(const QString &text);
    QString advice() const;
    QString verdict() const;
    // Next to the game's window, which it follows.
    void placeBeside();

private:
    QLabel *m_advice;
    QLabel *m_verdict;
};
