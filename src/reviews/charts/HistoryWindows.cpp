// The Review and Statistics windows: per player the figures, the costly
// decisions in the score card's own words, and charts of how each game went.

#include "reviews/HistoryWindows.h"

#include "history/Review.h"
#include "history/Statistics.h"
#include "strategy/Wording.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QTableWidget *NewTable(QWidget *parent, const QStringList &headers, const QString &name)
{
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setAccessibleName(name);
    return table;
}

// Table items show names and words as plain text.
void AddRow(QTableWidget *table, const QStringList &cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString Signed(double value)
{
    return QStringLiteral("%1%2").arg(value < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")).arg(std::abs(value), 0, 'f', 2);
}

// Qt Charts takes a series' name (the legend's label) and every title as
// rich text: a player's name must never be markup, nor an <img> that makes
// Qt open whatever file it names.
QString Plain(const QString &text)
{
    return text.toHtmlEscaped();
}

// x runs over whole numbers from xMin to xMax, one tick each (at most 16).
QChartView *NewChart(QWidget *parent, const QString &title, const QString &xTitle, const QString &yTitle,
                     int xMin, int xMax, double yMin, double yMax)
{
    auto *chart = new QChart;
    chart->setTitle(Plain(title));
    auto *x = new QValueAxis;
    x->setTitleText(Plain(xTitle));
    x->setRange(xMin, xMax);
    x->setTickCount(std::min(xMax - xMin, 15) + 1);
    x->setLabelFormat(QStringLiteral("%d"));
    auto *y = new QValueAxis;
    y->setTitleText(Plain(yTitle));
    y->setRange(yMin, yMax);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto *view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);
    view->setAccessibleName(title);
    return view;
}

// The window's contents, in a scroll area: the window is sized to the room
// beside the game, which may be less than the contents need.
QWidget *ScrollingContents(QDialog *window)
{
    auto *scroll = new QScrollArea(window);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *contents = new QWidget;
    scroll->setWidget(contents);
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    return contents;
}

void AddSeries(QChartView *view, QLineSeries *series)
{
    view->chart()->addSeries(series);
    for (QAbstractAxis *axis : view->chart()->axes())
        series->attachAxis(axis);
}

class ReviewWindow final : public QDialog {
public:
    explicit ReviewWindow(QWidget *parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("ReviewWindow"));
        setWindowTitle(QStringLiteral("Review"));
        setModal(false);
        m_summary = new QLabel(this);
        m_summary->setObjectName(QStringLiteral("ReviewSummary"));
        m_summary->setTextFormat(Qt::PlainText);
        m_chart = NewChart(this, QStringLiteral("Expected final total after every roll and choice"),
                           QStringLiteral("Turn"), QStringLiteral("Expected final total"), 0, 15, 0, 400);
        m_decisions = NewTable(this, {QStringLiteral("Player"), QStringLiteral("Turn"), QStringLiteral("Roll"),
                                      QStringLiteral("Dice"), QStringLiteral("Choice"), QStringLiteral("Best"),
                                      QStringLiteral("Cost")},
                               QStringLiteral("Costly decisions"));
        m_decisions->setObjectName(QStringLiteral("ReviewDecisions"));
        auto *layout = new QVBoxLayout(ScrollingContents(this));
        layout->addWidget(m_summary);
        layout->addWidget(m_chart, 3);
        auto *heading = new QLabel(QStringLiteral("Decisions that cost more than half a point, worst first:"), this);
        layout->addWidget(heading);
        layout->addWidget(m_decisions, 2);
    }

    void setRecord(const strategy::Table &table, const history::GameRecord &record)
    {
        const auto reviews = history::Review(table, record);
        QStringList summary;
        m_chart->chart()->removeAllSeries();
        m_decisions->setRowCount(0);
        double low = 400, high = 0;
        for (const history::PlayerReview &r : reviews) {
            const bool finished = r.courseTurn.back() == strategy::RowCount;
            summary << QStringLiteral("%1: %2 = %3 expected at the start %4 luck %5 lost by choices")
                           .arg(r.name)
                           .arg(finished ? QStringLiteral("total %1").arg(r.total)
                                         : QStringLiteral("expected final total now %1").arg(r.course.back(), 0, 'f', 2))
                           .arg(r.expectedStart, 0, 'f', 2)
                           .arg(Signed(r.luck), Signed(-r.loss));
            auto *series = new QLineSeries;
            series->setName(Plain(r.name));
            // Each turn's points spread evenly over that turn.
            for (std::size_t i = 0; i < r.course.size();) {
                std::size_t end = i;
                while (end < r.course.size() && r.courseTurn[end] == r.courseTurn[i])
                    ++end;
                for (std::size_t j = i; j < end; ++j) {
                    const double x = r.courseTurn[i] == 0 ? 0 : r.courseTurn[i] - 1 + double(j - i + 1) / double(end - i);
                    series->append(x, r.course[j]);
                    low = std::min(low, r.course[j]);
                    high = std::max(high, r.course[j]);
                }
                i = end;
            }
            AddSeries(m_chart, series);
            std::vector<const history::Decision *> costly;
            for (const history::Decision &d : r.decisions)
                if (d.cost > history::CostlyDecision)
                    costly.push_back(&d);
            std::stable_sort(costly.begin(), costly.end(), [](auto *a, auto *b) { return a->cost > b->cost; });
            for (const history::Decision *d : costly) {
                QStringList dice;
                for (int face : d->dice)
                    dice << QString::number(face);
                AddRow(m_decisions, {r.name, QString::number(d->turn), QString::number(d->roll), dice.join(u' '),
                                     strategy::Describe(d->chosen), strategy::Describe(d->best),
                                     QString::number(d->cost, 'f', 2)});
            }
        }
        if (reviews.empty())
            summary << QStringLiteral("No game to review yet: play one, and look again.");
        m_summary->setText(summary.join(u'\n'));
        // Round the total's range out to tens.
        if (auto axes = m_chart->chart()->axes(Qt::Vertical); !axes.isEmpty() && high >= low) {
            auto *y = static_cast<QValueAxis *>(axes.front());
            y->setRange(std::floor(low / 10 - 1) * 10, std::ceil(high / 10 + 1) * 10);
            y->applyNiceNumbers();
        }
    }

private:
    QLabel *m_summary;
    QChartView *m_chart;
    QTableWidget *m_decisions;
};

class StatisticsWindow final : public QDialog {
public:
    StatisticsWindow(QWidget *parent, const history::Statistics &s) : QDialog(parent)
    {
        setObjectName(QStringLiteral("StatisticsWindow"));
        setWindowTitle(QStringLiteral("Statistics"));
        setModal(false);
        auto *table = NewTable(this, {QStringLiteral("Player"), QStringLiteral("Games"), QStringLiteral("Mean"),
                                      QStringLiteral("Best"), QStringLiteral("Bonus"), QStringLiteral("Mean luck"),
                                      QStringLiteral("Mean loss")},
                               QStringLiteral("Statistics per player"));
        table->setObjectName(QStringLiteral("StatisticsTable"));
        int games = 1;
        double high = 50;
        for (const history::PlayerStatistics &p : s.players) {
            AddRow(table, {p.name, QString::number(p.count()), QString::number(p.mean(), 'f', 1), QString::number(p.best()),
                           QStringLiteral("%1%").arg(p.bonusRate() * 100, 0, 'f', 0), Signed(p.meanLuck()),
                           QString::number(p.meanLoss(), 'f', 2)});
            games = std::max(games, p.count());
            high = std::max(high, double(p.best()));
        }
        auto *chart = NewChart(this, QStringLiteral("Totals (solid) and points lost by choices (dashed), game by game"),
                               QStringLiteral("Game"), QStringLiteral("Points"), 1, std::max(games, 2), 0,
                               std::ceil(high / 50) * 50);
        for (const history::PlayerStatistics &p : s.players) {
            auto *totals = new QLineSeries;
            auto *losses = new QLineSeries;
            totals->setName(Plain(p.name));
            losses->setName(Plain(QStringLiteral("%1, lost").arg(p.name)));
            for (int g = 0; g < p.count(); ++g) {
                totals->append(g + 1, p.games[std::size_t(g)].total);
                losses->append(g + 1, p.games[std::size_t(g)].loss);
            }
            // Points as well as lines: a single game is a point.
            totals->setPointsVisible(true);
            losses->setPointsVisible(true);
            AddSeries(chart, totals);
            AddSeries(chart, losses);
            QPen dashed = losses->pen();
            dashed.setColor(totals->color());
            dashed.setStyle(Qt::DashLine);
            losses->setPen(dashed);
        }
        auto *layout = new QVBoxLayout(ScrollingContents(this));
        layout->addWidget(table, 1);
        auto *note = new QLabel(s.skipped == 0 ? QStringLiteral("Every record could be read.")
                                               : QStringLiteral("%1 file(s) in the record folder are no valid game records "
                                                                "and were skipped.").arg(s.skipped),
                                this);
        note->setTextFormat(Qt::PlainText);
        layout->addWidget(note);
        layout->addWidget(chart, 2);
    }
};

class Windows final : public HistoryWindows {
public:
    QWidget *NewReviewWindow(QWidget *parent) override { return new ReviewWindow(parent); }
    void Review(QWidget *window, const strategy::Table &table, const history::GameRecord &record) override
    {
        if (auto *review = dynamic_cast<ReviewWindow *>(window))
            review->setRecord(table, record);
    }
    QWidget *NewStatisticsWindow(QWidget *parent, const strategy::Table &table, const QString &folder,
                                 const QString &ratingsFile) override
    {
        return new StatisticsWindow(parent, history::Gather(table, folder, ratingsFile));
    }
};

} // namespace

extern "C" Q_DECL_EXPORT HistoryWindows *quintor_history_windows()
{
    static Windows windows;
    return &windows;
}
