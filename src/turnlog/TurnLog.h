#pragma once
// View > Turn Log: one line for each step of every player, people and
// computers alike, newest at the bottom, so that what a computer did at Fast
// pace can still be read afterwards: "Computer 2 (Hard) rolled 4 4 2 3 3,
// kept 4 4", "Computer 2 (Hard) booked Pair for 8", "Ann sacrificed Quinthor".
// Plain text, cleared by a new game; screen readers hear new lines.

#include <QObject>
#include <QPointer>
#include <QStringList>

class DockLayout;
class Form1;
class QAction;
class QPlainTextEdit;

class TurnLog final : public QObject {
    Q_OBJECT
public:
    TurnLog(Form1 &form, DockLayout &docks);

    QAction *action() const { return m_action; }
    // The game so far, line by line, whether or not the log is open.
    const QStringList &lines() const { return m_lines; }

private:
    QString Name(int player) const;
    void Add(const QString &line);
    // Adds to the last line (what was kept of the roll it tells).
    void Extend(const QString &more);
    void RollStarted();
    void Booked(int player, int row, int points, int bonus);

    Form1 &m_form;
    QAction *m_action;
    QPointer<QPlainTextEdit> m_view;
    QStringList m_lines;
};
