#include "recording/GameRecorder.h"

void GameRecorder::Start(std::vector<history::PlayerRecord> players)
{
    m_record = {};
    m_record.players = std::move(players);
}

// The player's turn that has rolls but no booking yet.
history::Turn *GameRecorder::OpenTurn(int player)
{
    const auto p = std::size_t(player - 1);
    if (player < 1 || p >= m_record.players.size() || m_record.players[p].turns.empty())
        return nullptr;
    history::Turn &turn = m_record.players[p].turns.back();
    return turn.row == 0 ? &turn : nullptr;
}

void GameRecorder::RollStarted(int player, const std::vector<int> &held)
{
    if (player < 1 || std::size_t(player) > m_record.players.size())
        return;
    history::Turn *turn = OpenTurn(player);
    if (!turn || turn->rolls.empty()) {
        // The first roll of a turn: nothing on the table was kept.
        if (!turn)
            m_record.players[std::size_t(player - 1)].turns.emplace_back();
        return;
    }
    turn->held.push_back(held);
}

void GameRecorder::RollFinished(int player, const strategy::Dice &dice)
{
    if (history::Turn *turn = OpenTurn(player))
        turn->rolls.push_back(dice);
}

void GameRecorder::Booked(int player, int row, int points)
{
    if (history::Turn *turn = OpenTurn(player)) {
        turn->row = row;
        turn->points = points;
    }
}

history::GameRecord GameRecorder::Finish(const std::vector<int> &totals, const QDateTime &when)
{
    for (std::size_t p = 0; p < m_record.players.size() && p < totals.size(); ++p)
        m_record.players[p].total = totals[p];
    m_record.finished = when;
    return std::exchange(m_record, {});
}
