#include "recording/Recorder.h"

#include "game/EnginePosition.h"
#include "opponents/Opponents.h"
#include "ui/Form1.h"

#include <QLabel>

#include <cstdio>

Recorder::Recorder(Form1 &form, const Opponents &opponents) : m_form(form), m_opponents(opponents)
{
    connect(&form, &Form1::newGame, this, &Recorder::GameStarted);
    connect(&form, &Form1::rollStarted, this, &Recorder::RollStarted);
    connect(&form, &Form1::rollFinished, this,
            [this] { m_recorder.RollFinished(m_form.state().CurPlayer + 1, DiceOnTheTable()); });
    connect(&form, &Form1::booked, this,
            [this](int player, int row, int points) { m_recorder.Booked(player, row, points); });
    connect(&form, &Form1::gameOver, this, &Recorder::GameOver);
}

const history::GameRecord &Recorder::record() const
{
    return m_recorder.record().players.empty() ? m_last : m_recorder.record();
}

void Recorder::GameStarted()
{
    std::vector<history::PlayerRecord> players;
    for (int p = 1; p <= m_form.state().PlayerCount; ++p) {
        history::PlayerRecord player;
        player.name = m_form.lblPlayer[std::size_t(p)]->text();
        player.computer = m_opponents.LevelOf(p);
        players.push_back(std::move(player));
    }
    m_recorder.Start(std::move(players));
}

void Recorder::RollStarted()
{
    m_recorder.RollStarted(m_form.state().CurPlayer + 1, HeldDice(m_form.state()));
}

// After the game's own end: the winner, the high score. A folder that
// cannot take the record changes nothing of that.
void Recorder::GameOver()
{
    std::vector<int> totals;
    for (int p = 1; p <= m_form.state().PlayerCount; ++p)
        totals.push_back(m_form.state().ScoreCard[std::size_t(p)][TotalRow]);
    if (m_recorder.record().players.size() != totals.size())
        return;
    m_last = m_recorder.Finish(totals, QDateTime::currentDateTimeUtc());
    QString fileName, why;
    if (!history::Save(m_last, m_folder, &fileName, &why))
        std::fprintf(stderr, "quintor: the game record could not be saved in %s: %s\n",
                     qPrintable(m_folder), qPrintable(why));
}
