#pragma once
// The record of the game being played: every roll, hold and booking of every
// player, written to the record folder once the game is over, for the
// review, the statistics and other programs.

#include "recording/GameRecorder.h"

#include <QObject>
#include <QString>

class Form1;
class Opponents;

class Recorder final : public QObject {
    Q_OBJECT
public:
    // opponents: who of the players is a computer, and how strong.
    Recorder(Form1 &form, const Opponents &opponents);

    // Where finished games are written (the user's record folder by default).
    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    // The game so far, or the last one finished in this window.
    const history::GameRecord &record() const;

private:
    void GameStarted();
    void RollStarted();
    void GameOver();

    Form1 &m_form;
    const Opponents &m_opponents;
    GameRecorder m_recorder;
    history::GameRecord m_last;
    QString m_folder = history::DefaultFolder();
};
