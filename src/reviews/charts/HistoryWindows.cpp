// The Review and Statistics windows: per player the figures, the costly
// decisions in the score card's own words, and charts of how each game went.
// Every name is shown as plain text: the charts' own legends and labels
// would take it as markup, so the legends here are plain labels of ours.

#include "reviews/HistoryWindows.h"

#include "history/Review.h"
#include "history/Statistics.h"
#include "strategy/Wording.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Colours told apart also by the colour-blind, one per player.
constexpr QRgb Palette[] = {0x0072b2, 0xd55e00, 0x009e73, 0xcc79a7, 0xe69f00, 0x56b4e9, 0x000000, 0xf0e442,
                            0x882255, 0x44aa99, 0x999933, 0x6a3d9a};
constexpr int PaletteSize = int(sizeof Palette / sizeof Palette[0]);

QColor Colour(int player)
{
    return QColor(Palette[player % PaletteSize]);
}

// Beyond the palette the same colours come back dotted.
Qt::PenStyle LineStyle(int player, Qt::PenStyle first)
{
    return player < PaletteSize ? first : Qt::DotLine;
}

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
    const QString digits = QString::number(std::abs(value), 'f', 2);
    return digits == QLatin1String("0.00") ? digits : (value < 0 ? QStringLiteral("\u2212") : QStringLiteral("+")) + digits;
}

QLabel *PlainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// A chart whose axes cover what is plotted, with as many labels on each as
// fit. Titles here are our own words, never a name.
class Chart {
public:
    Chart(QWidget *parent, const QString &title, const QString &xTitle, const QString &yTitle)
        : m_chart(new QChart), m_view(new QChartView(m_chart, parent))
    {
        m_chart->setTitle(title);
        m_chart->legend()->hide();
        m_x->setTitleText(xTitle);
        m_y->setTitleText(yTitle);
        m_chart->addAxis(m_x, Qt::AlignBottom);
        m_chart->addAxis(m_y, Qt::AlignLeft);
        m_view->setRenderHint(QPainter::Antialiasing);
        m_view->setMinimumSize(360, 240);
        m_view->setAccessibleName(title);
    }

    QChartView *view() const { return m_view; }
    void clear()
    {
        m_chart->removeAllSeries();
        m_low = m_high = NAN;
        m_last = 0;
    }
    void add(int player, const std::vector<QPointF> &points, Qt::PenStyle style = Qt::SolidLine)
    {
        auto *series = new QLineSeries;
        QPen pen(Colour(player), 2);
        pen.setStyle(LineStyle(player, style));
        series->setPen(pen);
        for (const QPointF &p : points) {
            series->append(p);
            m_low = std::isnan(m_low) ? p.y() : std::min(m_low, p.y());
            m_high = std::isnan(m_high) ? p.y() : std::max(m_high, p.y());
            m_last = std::max(m_last, p.x());
        }
        // A single point is a line of no length: show it as a dot.
        series->setPointsVisible(points.size() == 1);
        m_chart->addSeries(series);
        series->attachAxis(m_x);
        series->attachAxis(m_y);
    }
    // x from `first` to at least `last`; y over every point plotted (and
    // `floor`..`ceiling` at least).
    void scale(double first, double last, double floor, double ceiling, const char *yFormat)
    {
        m_x->setRange(first, std::max({last, m_last, first + 1}));
        m_x->setTickCount(std::clamp(int(m_x->max() - m_x->min()) + 1, 2, 9));
        m_x->applyNiceNumbers();
        m_x->setMin(std::max(m_x->min(), first));
        m_x->setLabelFormat(QStringLiteral("%d"));
        const double low = std::isnan(m_low) ? floor : std::min(floor, m_low);
        const double high = std::isnan(m_high) ? ceiling : std::max(ceiling, m_high);
        m_y->setRange(low, high > low ? high : low + 1);
        m_y->setTickCount(6);
        m_y->applyNiceNumbers();
        m_y->setLabelFormat(QLatin1String(yFormat));
    }

private:
    QChart *m_chart;
    QChartView *m_view;
    QValueAxis *m_x = new QValueAxis;
    QValueAxis *m_y = new QValueAxis;
    double m_low = NAN, m_high = NAN, m_last = 0;
};

// Which colour is whose: a swatch and the name, in full, as plain text.
class Legend final : public QWidget {
public:
    explicit Legend(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
    {
        setObjectName(QStringLiteral("Legend"));
        m_grid->setContentsMargins(0, 0, 0, 0);
    }
    void set(const QStringList &names)
    {
        while (QLayoutItem *item = m_grid->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        const int height = fontMetrics().height();
        for (int i = 0; i < names.size(); ++i) {
            QPixmap swatch(height * 2, height);
            swatch.fill(Qt::transparent);
            QPainter painter(&swatch);
            QPen pen(Colour(i), 3);
            pen.setStyle(LineStyle(i, Qt::SolidLine));
            painter.setPen(pen);
            painter.drawLine(0, height / 2, height * 2, height / 2);
            painter.end();
            auto *mark = new QLabel(this);
            mark->setPixmap(swatch);
            auto *name = PlainLabel(names[i], this);
            name->setObjectName(QStringLiteral("LegendName"));
            // Two players to a line.
            m_grid->addWidget(mark, i / 2, (i % 2) * 2);
            m_grid->addWidget(name, i / 2, (i % 2) * 2 + 1);
        }
        m_grid->setColumnStretch(1, 1);
        m_grid->setColumnStretch(3, 1);
    }

private:
    QGridLayout *m_grid;
};

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

class ReviewWindow final : public QDialog {
public:
    explicit ReviewWindow(QWidget *parent) : QDialog(parent)
    {
        setObjectName(QStringLiteral("ReviewWindow"));
        setWindowTitle(QStringLiteral("Review"));
        setModal(false);
        QWidget *contents = ScrollingContents(this);
        m_summary = PlainLabel(QString(), contents);
        m_summary->setObjectName(QStringLiteral("ReviewSummary"));
        m_legend = new Legend(contents);
        m_course.emplace(contents, QStringLiteral("Expected final total after every roll and choice"),
                         QStringLiteral("Turn"), QStringLiteral("Expected final total"));
        m_chances.emplace(contents, QStringLiteral("Chance of winning, turn by turn (perfect play from there)"),
                          QStringLiteral("Turn"), QStringLiteral("Chance of winning (%)"));
        m_chances->view()->setObjectName(QStringLiteral("ReviewChances"));
        m_turningPoints = PlainLabel(QString(), contents);
        m_turningPoints->setObjectName(QStringLiteral("ReviewTurningPoints"));
        m_decisions = NewTable(contents, {QStringLiteral("Player"), QStringLiteral("Turn"), QStringLiteral("Roll"),
                                          QStringLiteral("Dice"), QStringLiteral("Choice"), QStringLiteral("Best"),
                                          QStringLiteral("Cost")},
                               QStringLiteral("Costly decisions"));
        m_decisions->setObjectName(QStringLiteral("ReviewDecisions"));
        auto *layout = new QVBoxLayout(contents);
        layout->addWidget(m_summary);
        layout->addWidget(m_legend);
        layout->addWidget(m_course->view(), 3);
        layout->addWidget(m_chances->view(), 3);
        layout->addWidget(m_turningPoints);
        layout->addWidget(PlainLabel(QStringLiteral("Decisions that cost more than half a point, worst first:"), contents));
        layout->addWidget(m_decisions, 2);
    }

    void display(const ReviewData &shown)
    {
        QStringList summary, names;
        m_course->clear();
        m_chances->clear();
        m_decisions->setRowCount(0);
        for (std::size_t p = 0; p < shown.reviews.size(); ++p) {
            const history::PlayerReview &r = shown.reviews[p];
            summary << history::Summary(r, u'\u2212');
            names << r.name;
            // Each turn's points spread evenly over that turn.
            std::vector<QPointF> points;
            for (std::size_t i = 0; i < r.course.size();) {
                std::size_t end = i;
                while (end < r.course.size() && r.courseTurn[end] == r.courseTurn[i])
                    ++end;
                for (std::size_t j = i; j < end; ++j)
                    points.emplace_back(r.courseTurn[i] == 0 ? 0 : r.courseTurn[i] - 1 + double(j - i + 1) / double(end - i),
                                        r.course[j]);
                i = end;
            }
            m_course->add(int(p), points);
            std::vector<QPointF> chances;
            for (std::size_t round = 0; round < shown.chances.size(); ++round)
                if (p < shown.chances[round].size())
                    chances.emplace_back(double(round), shown.chances[round][p] * 100);
            if (!chances.empty())
                m_chances->add(int(p), chances);
            for (const history::Decision *d : history::CostlyDecisions(r)) {
                QStringList dice;
                for (int face : d->dice)
                    dice << QString::number(face);
                AddRow(m_decisions, {r.name, QString::number(d->turn), QString::number(d->roll), dice.join(u' '),
                                     strategy::Describe(d->chosen), strategy::Describe(d->best),
                                     QString::number(d->cost, 'f', 2)});
            }
        }
        if (shown.reviews.empty())
            summary << QStringLiteral("No game to review yet: play one, and look again.");
        m_summary->setText(summary.join(u'\n'));
        m_legend->set(names);
        m_course->scale(0, strategy::RowCount, 200, 260, "%d");
        m_chances->scale(0, strategy::RowCount, 0, 100, "%d");
        m_chances->view()->setVisible(!shown.chances.empty());
        m_turningPoints->setText(shown.turningPoints.join(u'\n'));
        m_turningPoints->setVisible(!shown.turningPoints.isEmpty());
    }

private:
    QLabel *m_summary;
    Legend *m_legend;
    std::optional<Chart> m_course, m_chances;
    QLabel *m_turningPoints;
    QTableWidget *m_decisions;
};

// At most this many points a line: more games are averaged together.
constexpr int MostPoints = 60;

// The games' figures averaged in runs of `run` games, at each run's middle.
std::vector<QPointF> Averaged(const std::vector<history::GameFigures> &games, int run,
                              double (*figure)(const history::GameFigures &))
{
    std::vector<QPointF> points;
    for (std::size_t start = 0; start < games.size(); start += std::size_t(run)) {
        const std::size_t end = std::min(games.size(), start + std::size_t(run));
        double sum = 0;
        for (std::size_t g = start; g < end; ++g)
            sum += figure(games[g]);
        points.emplace_back(double(start + end + 1) / 2.0, sum / double(end - start));
    }
    return points;
}

class StatisticsWindow final : public QDialog {
public:
    StatisticsWindow(QWidget *parent, const history::Statistics &s) : QDialog(parent)
    {
        setObjectName(QStringLiteral("StatisticsWindow"));
        setWindowTitle(QStringLiteral("Statistics"));
        setModal(false);
        QWidget *contents = ScrollingContents(this);
        auto *table = NewTable(contents, {QStringLiteral("Player"), QStringLiteral("Games"), QStringLiteral("Mean"),
                                          QStringLiteral("Best"), QStringLiteral("Bonus"), QStringLiteral("Mean luck"),
                                          QStringLiteral("Mean loss")},
                               QStringLiteral("Statistics per player"));
        table->setObjectName(QStringLiteral("StatisticsTable"));
        int games = 1;
        QStringList names;
        for (const history::PlayerStatistics &p : s.players) {
            AddRow(table, {p.name, QString::number(p.count()), QString::number(p.mean(), 'f', 1), QString::number(p.best()),
                           QStringLiteral("%1%").arg(p.bonusRate() * 100, 0, 'f', 0), Signed(p.meanLuck()),
                           QString::number(p.meanLoss(), 'f', 2)});
            games = std::max(games, p.count());
            names << p.name;
        }
        const int run = (games + MostPoints - 1) / MostPoints;
        Chart chart(contents,
                    run == 1 ? QStringLiteral("Totals (solid) and points lost by choices (dashed), game by game")
                             : QStringLiteral("Totals (solid) and points lost by choices (dashed), averaged over "
                                              "every %1 games").arg(run),
                    QStringLiteral("Game"), QStringLiteral("Points"));
        chart.view()->setObjectName(QStringLiteral("StatisticsChart"));
        for (std::size_t p = 0; p < s.players.size(); ++p) {
            const auto &played = s.players[p].games;
            chart.add(int(p), Averaged(played, run, [](const history::GameFigures &g) { return double(g.total); }));
            chart.add(int(p), Averaged(played, run, [](const history::GameFigures &g) { return g.loss; }), Qt::DashLine);
        }
        chart.scale(1, games, 0, 50, "%d");
        auto *legend = new Legend(contents);
        legend->set(names);
        auto *layout = new QVBoxLayout(contents);
        layout->addWidget(table, 1);
        layout->addWidget(PlainLabel(s.skipped == 0 ? QStringLiteral("Every record could be read.")
                                                    : QStringLiteral("%1 file(s) in the record folder are no valid game "
                                                                     "records and were skipped.").arg(s.skipped),
                                     contents));
        layout->addWidget(legend);
        layout->addWidget(chart.view(), 2);
    }
};

class Windows final : public HistoryWindows {
public:
    QWidget *NewReviewWindow(QWidget *parent) override { return new ReviewWindow(parent); }
    void ShowReview(QWidget *window, const ReviewData &data) override
    {
        if (auto *review = dynamic_cast<ReviewWindow *>(window))
            review->display(data);
    }
    QWidget *NewStatisticsWindow(QWidget *parent, const history::Statistics &statistics) override
    {
        return new StatisticsWindow(parent, statistics);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT HistoryWindows *quintor_history_windows()
{
    static Windows windows;
    return &windows;
}
