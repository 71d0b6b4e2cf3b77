// The record of the game being played: every roll, every hold and every
// booking of every player, written to the record folder once the game is
// over, for the review, the statistics and other programs. Each decision is
// also handed to coach mode as it is made.

#include "game/ComputerSetup.h"
#include "game/EnginePosition.h"
#include "history/Review.h"
#include "scoring/valmod.h"
#include "ui/Form1.h"

#include <QLabel>
#include <QTimer>

#include <cstdio>

void Form1::setRecordFolder(const QString &folder)
{
    m_recordFolder = folder;
}

void Form1::StartRecord()
{
    m_record = {};
    for (int p = 1; p <= PlayerCount; ++p) {
        history::PlayerRecord player;
        player.name = lblPlayer[p]->text();
        if (IsComputerSeat(p))
            player.computer = m_level;
        m_record.players.push_back(std::move(player));
    }
}

history::Turn *Form1::RecordedTurn()
{
    const auto p = std::size_t(CurPlayer);
    if (p >= m_record.players.size() || m_record.players[p].turns.empty())
        return nullptr;
    history::Turn &turn = m_record.players[p].turns.back();
    return turn.row == 0 ? &turn : nullptr;
}

void Form1::NoteRollStarted()
{
    if (HasRolled && RollCount > 0) {
        std::vector<int> held;
        for (int i = 0; i < 5; ++i)
            if (!RollDie[i])
                held.push_back(i);
        const EnginePosition position = PositionOf(*this, CurPlayer + 1);
        CoachRate(history::KeepOf(DiceOnTheTable(), held), position.booked, position.upperSum, RollsPerTurn - RollCount);
    }
    const auto p = std::size_t(CurPlayer);
    if (p >= m_record.players.size())
        return;
    history::Turn *turn = RecordedTurn();
    if (!turn) {
        m_record.players[p].turns.emplace_back();
        return;
    }
    std::vector<int> held;
    for (int i = 0; i < 5; ++i)
        if (!RollDie[i])
            held.push_back(i);
    turn->held.push_back(std::move(held));
}

void Form1::NoteRollFinished()
{
    if (history::Turn *turn = RecordedTurn()) {
        strategy::Dice dice{};
        for (int i = 0; i < 5; ++i)
            dice[std::size_t(i)] = valmod::DiceValue[std::size_t(i)];
        turn->rolls.push_back(dice);
    }
}

void Form1::NoteBooking(int row, int points)
{
    // The card has the booking already; the decision was made without it.
    EnginePosition before = PositionOf(*this, CurPlayer + 1);
    before.booked = static_cast<strategy::BookedRows>(before.booked & ~(1u << (row - 1)));
    if (row <= 6)
        before.upperSum -= points;
    strategy::Choice made;
    made.row = row;
    CoachRate(made, before.booked, before.upperSum, RollsLeft());

    if (history::Turn *turn = RecordedTurn()) {
        turn->row = row;
        turn->points = points;
    }
}

// After the game's own end: the winner, the high score. A folder that
// cannot take the record changes nothing of that.
void Form1::SaveRecord()
{
    if (m_record.players.size() != std::size_t(PlayerCount))
        return;
    for (int p = 1; p <= PlayerCount; ++p)
        m_record.players[std::size_t(p - 1)].total = ScoreCard[p][TotalRow];
    m_record.finished = QDateTime::currentDateTimeUtc();
    m_lastRecord = m_record;
    QString fileName, why;
    if (!history::Save(m_record, m_recordFolder, &fileName, &why))
        std::fprintf(stderr, "quintor: the game record could not be saved in %s: %s\n",
                     qPrintable(m_recordFolder), qPrintable(why));
}
