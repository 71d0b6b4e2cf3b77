#include "scoresheet/ScoreSheetView.h"

#include "app/BackgroundWork.h"
#include "app/DockLayout.h"
#include "game/EnginePosition.h"
#include "opponents/Opponents.h"
#include "tablegate/TableGate.h"
#include "ui/Form1.h"

#include <QAction>
#include <QLabel>

ScoreSheetView::ScoreSheetView(Form1 &form, DockLayout &docks, const Opponents &opponents, TableGate &gate)
    : m_form(form), m_opponents(opponents), m_gate(gate), m_work(new BackgroundWork(this)),
      m_action(new QAction(QStringLiteral("&Score Sheet"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuScoreSheet"));
    docks.Add(QStringLiteral("ScoreSheet"), QStringLiteral("Score Sheet"), m_action, Qt::RightDockWidgetArea,
              [this]() -> QWidget * { return m_sheet = new ScoreSheet; });
    connect(&docks, &DockLayout::shown, this, [this](const QString &key) {
        if (key == QLatin1String("ScoreSheet"))
            Refresh();
    });
    connect(&form, &Form1::newGame, this, [this] {
        m_lastBooked = {};
        m_bonusNow = {};
        Refresh();
    });
    connect(&form, &Form1::booked, this, [this](int player, int row, int, int bonus) {
        m_lastBooked[std::size_t(player)] = row;
        m_bonusNow[std::size_t(player)] = bonus > 0;
    });
    connect(&form, &Form1::turnChanged, this, &ScoreSheetView::Refresh);
    // What was shown while the question was open may have counted the 0.
    connect(&form, &Form1::sacrificeDeclined, this, &ScoreSheetView::Refresh);
    connect(&form, &Form1::gameOver, this, &ScoreSheetView::Refresh);
}

ScoreSheetView::~ScoreSheetView() = default;

void ScoreSheetView::Refresh()
{
    if (!m_sheet || !m_sheet->isVisible())
        return;
    const GameState &state = m_form.state();
    std::vector<ScoreSheet::Column> columns;
    for (int p = 1; p <= state.PlayerCount; ++p) {
        const auto i = std::size_t(p);
        columns.push_back({m_form.lblPlayer[i]->text(), state.ScoreCard[i], m_lastBooked[i], m_bonusNow[i]});
    }
    m_sheet->setCards(columns, state.PlayerCount > 0 && m_form.GameOpen() ? state.CurPlayer + 1 : 0);
    Estimate();
}

std::vector<strategy::SeatState> ScoreSheetView::Seats() const
{
    std::vector<strategy::SeatState> seats;
    for (int p = 1; p <= m_form.state().PlayerCount; ++p) {
        const EnginePosition position = PositionOf(m_form.state(), p);
        seats.push_back({position.booked, position.upperSum, position.total, m_opponents.LevelOf(p)});
    }
    return seats;
}

void ScoreSheetView::Estimate()
{
    const std::vector<strategy::SeatState> seats = Seats();
    const std::uint64_t position = strategy::PositionSeed(seats);
    if (m_estimated == position) {
        m_sheet->setChances(m_chances); // nothing has changed since
        return;
    }
    m_work->Cancel();
    m_estimated = position;
    m_chances.clear();
    m_sheet->setChances({});
    if (seats.empty())
        return;
    const auto table = m_gate.table();
    if (!table) {
        m_gate.whenReady(this, [this] {
            m_estimated.reset();
            Refresh();
        });
        return;
    }
    // A first figure at once, then the full one.
    m_work->Start([this, table, seats, position](const BackgroundWork::Job &job) {
        for (int games : {strategy::FirstWinChanceGames, strategy::DefaultWinChanceGames}) {
            std::vector<double> chances = strategy::WinChances(*table, seats, games, position, job.cancelFlag());
            if (job.cancelled() || chances.empty())
                return;
            const bool final = games == strategy::DefaultWinChanceGames;
            job.post([this, chances = std::move(chances), final] {
                m_chances = chances;
                if (m_sheet)
                    m_sheet->setChances(m_chances);
                if (final)
                    emit chancesShown();
            });
        }
    });
}
