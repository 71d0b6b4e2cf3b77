#include "scoresheet/ScoreSheetView.h"

#include "app/DockLayout.h"
#include "ui/Form1.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>

ScoreSheetView::ScoreSheetView(Form1 &form, DockLayout &docks)
    : m_form(form), m_action(new QAction(QStringLiteral("&Score Sheet"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuScoreSheet"));
    docks.Add(QStringLiteral("ScoreSheet"), m_action, Qt::RightDockWidgetArea, [this] {
        auto *dock = new QDockWidget(QStringLiteral("Score Sheet"));
        dock->setObjectName(QStringLiteral("ScoreSheetDock"));
        m_sheet = new ScoreSheet(dock);
        dock->setWidget(m_sheet);
        connect(dock, &QDockWidget::visibilityChanged, this, &ScoreSheetView::Refresh);
        return dock;
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
    connect(&form, &Form1::gameOver, this, &ScoreSheetView::Refresh);
}

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
}
