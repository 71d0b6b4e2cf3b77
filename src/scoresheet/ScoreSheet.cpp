#include "scoresheet/ScoreSheet.h"

#include "scoring/Categories.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int Rows = TotalRow; // 15 categories, the bonus, the total
const QString ToPlay = QStringLiteral(" (to play)");
} // namespace

ScoreSheet::ScoreSheet(QWidget *parent) : QDialog(parent), m_table(new QTableWidget(Rows, 0, this))
{
    setObjectName(QStringLiteral("ScoreSheet"));
    setWindowTitle(QStringLiteral("Score Sheet"));
    setModal(false);
    m_table->setObjectName(QStringLiteral("ScoreSheetTable"));
    m_table->setAccessibleName(QStringLiteral("Score sheet"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    QStringList rows;
    for (int row = 1; row <= 15; ++row)
        rows << QString::fromLatin1(Categories::Rows[row].caption);
    rows << QStringLiteral("Bonus") << QStringLiteral("Total");
    m_table->setVerticalHeaderLabels(rows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setMinimumSectionSize(70);
    // Every row in view at once, the table as large as what it holds.
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    auto *legend = new QLabel(QStringLiteral("Highlighted: each player's last booking."), this);
    legend->setTextFormat(Qt::PlainText);
    layout->addWidget(legend);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ScoreSheet::setCards(const std::vector<Column> &columns, int toPlay)
{
    m_table->setColumnCount(int(columns.size()));
    for (int c = 0; c < int(columns.size()); ++c) {
        const Column &column = columns[std::size_t(c)];
        const int player = c + 1;
        // Names are shown as typed: table items never read them as markup.
        auto *header = new QTableWidgetItem(column.name + (player == toPlay ? ToPlay : QString()));
        QFont font = header->font();
        font.setBold(player == toPlay);
        header->setFont(font);
        m_table->setHorizontalHeaderItem(c, header);
        for (int row = 1; row <= Rows; ++row) {
            const std::int16_t value = column.card[std::size_t(row)];
            QString text;
            if (row <= 15)
                text = value == NotBooked ? QString() : QString::number(value);
            else
                text = row == BonusRow && value == 0 ? QString() : QString::number(value);
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row == column.lastBooked) {
                item->setBackground(QColor(255, 215, 0, 120));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setToolTip(QStringLiteral("Last booking of %1").arg(column.name));
                item->setData(Qt::UserRole, true);
            }
            m_table->setItem(row - 1, c, item);
        }
    }
    m_table->setCurrentItem(nullptr); // no cell looks picked out but the marked ones
}

QString ScoreSheet::cellText(int row, int player) const
{
    const QTableWidgetItem *item = m_table->item(row - 1, player - 1);
    return item ? item->text() : QString();
}

QString ScoreSheet::headerText(int player) const
{
    const QTableWidgetItem *item = m_table->horizontalHeaderItem(player - 1);
    return item ? item->text() : QString();
}

bool ScoreSheet::isMarked(int row, int player) const
{
    const QTableWidgetItem *item = m_table->item(row - 1, player - 1);
    return item && item->data(Qt::UserRole).toBool();
}
