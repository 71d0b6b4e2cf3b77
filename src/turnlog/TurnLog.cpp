#include "turnlog/TurnLog.h"

#include "app/DockLayout.h"
#include "game/EnginePosition.h"
#include "scoring/Categories.h"
#include "ui/Form1.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

QString Faces(const std::vector<int> &faces)
{
    QStringList text;
    for (int face : faces)
        text << QString::number(face);
    return text.join(u' ');
}

} // namespace

TurnLog::TurnLog(Form1 &form, DockLayout &docks)
    : m_form(form), m_action(new QAction(QStringLiteral("&Turn Log"), &form))
{
    m_action->setObjectName(QStringLiteral("mnuTurnLog"));
    docks.Add(QStringLiteral("TurnLog"), QStringLiteral("Turn Log"), m_action, Qt::BottomDockWidgetArea, [this] {
        m_view = new QPlainTextEdit;
        m_view->setObjectName(QStringLiteral("TurnLog"));
        m_view->setAccessibleName(QStringLiteral("Turn log"));
        m_view->setReadOnly(true);
        m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
        // A few lines in view; it scrolls for the rest.
        m_view->setMinimumHeight(m_view->fontMetrics().lineSpacing() * 4);
        m_view->setPlainText(m_lines.join(u'\n'));
        m_view->moveCursor(QTextCursor::End);
        return m_view;
    });
    connect(&form, &Form1::newGame, this, [this] {
        m_lines.clear();
        if (m_view)
            m_view->clear();
    });
    connect(&form, &Form1::rollStarted, this, &TurnLog::RollStarted);
    connect(&form, &Form1::rollFinished, this, [this] {
        const strategy::Dice dice = DiceOnTheTable();
        Add(QStringLiteral("%1 rolled %2").arg(Name(m_form.state().CurPlayer + 1),
                                              Faces(std::vector<int>(dice.begin(), dice.end()))));
    });
    connect(&form, &Form1::booked, this, &TurnLog::Booked);
    connect(&form, &Form1::gameOver, this, [this](int winner) {
        Add(QStringLiteral("%1 wins with %2").arg(Name(winner), m_form.lblSum[std::size_t(winner)]->text()));
    });
}

QString TurnLog::Name(int player) const
{
    const QString name = m_form.lblPlayer[std::size_t(player)]->text();
    // A name left empty still says whose step it was.
    return name.isEmpty() ? QStringLiteral("Player %1").arg(player) : name;
}

void TurnLog::Add(const QString &line)
{
    m_lines.append(line);
    if (m_view)
        m_view->appendPlainText(line);
}

void TurnLog::Extend(const QString &more)
{
    if (m_lines.isEmpty())
        return;
    m_lines.last() += more;
    if (m_view) {
        QTextCursor end(m_view->document());
        end.movePosition(QTextCursor::End);
        end.insertText(more);
    }
}

void TurnLog::RollStarted()
{
    // A re-roll: what was kept of the roll on the table, in die order.
    if (!IsReroll(m_form.state()))
        return;
    std::vector<int> kept;
    for (int i : HeldDice(m_form.state()))
        kept.push_back(valmod::DiceValue[std::size_t(i)]);
    Extend(kept.empty() ? QStringLiteral(", kept nothing") : QStringLiteral(", kept %1").arg(Faces(kept)));
}

void TurnLog::Booked(int player, int row, int points, int bonus)
{
    const QString caption = QString::fromLatin1(Categories::Rows[std::size_t(row)].caption);
    // Each line filled in at once: a name holding "%1" stays as it is.
    Add(points == 0 ? QStringLiteral("%1 sacrificed %2").arg(Name(player), caption)
                    : QStringLiteral("%1 booked %2 for %3").arg(Name(player), caption, QString::number(points)));
    if (bonus > 0)
        Add(QStringLiteral("%1 earned the bonus of %2").arg(Name(player), QString::number(bonus)));
}
