#include "scoresheet/ScoreSheetView.h"

#include "scoresheet/ScoreSheet.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QAction>
#include <QLabel>

ScoreSheetView::ScoreSheetView(Form1 &form)
    : m_form(form), m_action(new QAction(QStringLiteral("&Score Sheet"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuScoreSheet"));
    connect(m_action, &QAction::triggered, this, &ScoreSheetView::Open);
    connect(&form, &Form1::newGame, this, [this] {
        m_lastBooked = {};
        Refresh();
    });
    connect(&form, &Form1::booked, this, [this](int player, int row) { m_lastBooked[std::size_t(player)] = row; });
    connect(&form, &Form1::turnChanged, this, &ScoreSheetView::Refresh);
    connect(&form, &Form1::gameOver, this, &ScoreSheetView::Refresh);
}

void ScoreSheetView::Open()
{
    if (!m_sheet)
        m_sheet = new ScoreSheet(&m_form);
    BringUp(m_sheet);
    Refresh();
}

void ScoreSheetView::Refresh()
{
    if (!m_sheet || !m_sheet->isVisible())
        return;
    const GameState &state = m_form.state();
    std::vector<ScoreSheet::Column> columns;
    for (int p = 1; p <= state.PlayerCount; ++p)
        columns.push_back({m_form.lblPlayer[std::size_t(p)]->text(), state.ScoreCard[std::size_t(p)],
                           m_lastBooked[std::size_t(p)]});
    m_sheet->setCards(columns, state.PlayerCount > 0 && m_form.GameOpen() ? state.CurPlayer + 1 : 0);
}
