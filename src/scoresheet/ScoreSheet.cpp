#include "scoresheet/ScoreSheet.h"

#include "scoring/Categories.h"

#include <QHeaderView>
#include <QStyle>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int ChanceRow = TotalRow + 1;
constexpr int Rows = ChanceRow; // 15 categories, the bonus, the total, the chance to win
// A tooltip that looks like markup is shown as markup: one with a name in
// it is made rich text on purpose, with the name escaped.
QString PlainTip(const QString &text)
{
    return QStringLiteral("<qt>%1</qt>").arg(text.toHtmlEscaped());
}

// In front, where a long name cut short cannot take it away.
const QString ToPlay = QStringLiteral("\u2192 ");
} // namespace

ScoreSheet::ScoreSheet(QWidget *parent) : QWidget(parent), m_table(new QTableWidget(Rows, 0, this))
{
    setObjectName(QStringLiteral("ScoreSheet"));
    m_table->setObjectName(QStringLiteral("ScoreSheetTable"));
    m_table->setAccessibleName(QStringLiteral("Score sheet"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    QStringList rows;
    for (int row = 1; row <= Categories::RowCount; ++row)
        rows << QString::fromLatin1(Categories::Rows[row].caption);
    rows << QStringLiteral("Bonus") << QStringLiteral("Total") << QStringLiteral("Chance to win");
    m_table->setVerticalHeaderLabels(rows);
    // The players share the width; a name longer than its column is cut
    // short with an ellipsis by the header.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setMinimumSectionSize(40);
    // Cut short with an ellipsis at the end, which the header itself does
    // not do: it clips a centred name at both ends.
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this, &ScoreSheet::ElideNames);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_table);
    m_legend = new QLabel(QStringLiteral("Highlighted: each player's last booking. The chance to win assumes "
                                             "perfect play from here by every person, and each computer at its "
                                             "strength."),
                              this);
    m_legend->setTextFormat(Qt::PlainText);
    m_legend->setWordWrap(true);
    layout->addWidget(m_legend);
}

QSize ScoreSheet::sizeHint() const
{
    // Every row in view, and room for four short names.
    const int width = m_table->verticalHeader()->sizeHint().width() + 4 * 64 + 8;
    const int height = m_table->horizontalHeader()->sizeHint().height()
        + Rows * m_table->verticalHeader()->defaultSectionSize() + 2 * m_table->frameWidth()
        + m_legend->heightForWidth(std::max(width, this->width()) - 4) + 16;
    return {width, height};
}

void ScoreSheet::setCards(const std::vector<Column> &columns, int toPlay)
{
    m_table->setColumnCount(int(columns.size()));
    for (int c = 0; c < int(columns.size()); ++c) {
        const Column &column = columns[std::size_t(c)];
        const int player = c + 1;
        // Names are shown as typed: table items never read them as markup.
        auto *header = new QTableWidgetItem((player == toPlay ? ToPlay : QString()) + column.name);
        const QString name = column.name;
        header->setToolTip(PlainTip(player == toPlay ? QStringLiteral("%1, to play").arg(name) : name));
        QFont font = header->font();
        font.setBold(player == toPlay);
        header->setFont(font);
        header->setData(Qt::UserRole, header->text());
        header->setData(Qt::AccessibleTextRole, player == toPlay ? QStringLiteral("%1, to play").arg(column.name) : column.name);
        m_table->setHorizontalHeaderItem(c, header);
        for (int row = 1; row <= TotalRow; ++row) {
            const std::int16_t value = column.card[std::size_t(row)];
            QString text;
            if (row <= Categories::RowCount)
                text = value == NotBooked ? QString() : QString::number(value);
            else
                text = row == BonusRow && value == 0 ? QString() : QString::number(value);
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const bool bonusNow = row == BonusRow && column.bonusNow;
            if (row == column.lastBooked || bonusNow) {
                item->setBackground(QColor(255, 215, 0, 120));
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setToolTip(PlainTip(bonusNow ? QStringLiteral("%1 has just earned the bonus").arg(name)
                                                   : QStringLiteral("Last booking of %1").arg(name)));
                item->setData(Qt::UserRole, true);
            }
            m_table->setItem(row - 1, c, item);
        }
    }
    ElideNames();
    m_table->setCurrentItem(nullptr); // no cell looks picked out but the marked ones
}

void ScoreSheet::ElideNames()
{
    QHeaderView *header = m_table->horizontalHeader();
    for (int c = 0; c < m_table->columnCount(); ++c) {
        QTableWidgetItem *item = m_table->horizontalHeaderItem(c);
        if (!item)
            continue;
        QFont font = item->font();
        const int room = header->sectionSize(c) - 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) - 4;
        const QString full = item->data(Qt::UserRole).toString();
        const QString shown = QFontMetrics(font).elidedText(full, Qt::ElideRight, std::max(room, 0));
        if (item->text() != shown)
            item->setText(shown);
    }
}

void ScoreSheet::setChances(const std::vector<double> &chances)
{
    for (int c = 0; c < m_table->columnCount(); ++c) {
        // Whole percents, with "<1%" for a chance that is not nothing.
        QString text = QStringLiteral("\u2026"); // still being worked out
        if (std::size_t(c) < chances.size()) {
            const double percent = chances[std::size_t(c)] * 100;
            // 0% and 100% only for what is certain.
            text = percent > 0 && percent < 0.5      ? QStringLiteral("<1%")
                   : percent < 100 && percent >= 99.5 ? QStringLiteral(">99%")
                                                      : QStringLiteral("%1%").arg(percent, 0, 'f', 0);
        }
        auto *item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(ChanceRow - 1, c, item);
    }
}

QString ScoreSheet::cellText(int row, int player) const
{
    const QTableWidgetItem *item = m_table->item(row - 1, player - 1);
    return item ? item->text() : QString();
}

QString ScoreSheet::headerText(int player) const
{
    const QTableWidgetItem *item = m_table->horizontalHeaderItem(player - 1);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

bool ScoreSheet::isMarked(int row, int player) const
{
    const QTableWidgetItem *item = m_table->item(row - 1, player - 1);
    return item && item->data(Qt::UserRole).toBool();
}
