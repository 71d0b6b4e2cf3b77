#include "reviews/Reviews.h"

#include "app/BackgroundWork.h"
#include "history/Statistics.h"
#include "history/TurningPoints.h"
#include "recording/Recorder.h"
#include "reviews/HistoryWindows.h"
#include "tablegate/TableGate.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QProgressDialog>

namespace {

// What the windows are made for, and the least they are still readable at
// (they scroll below that).
constexpr QSize WantedSize(720, 640);
constexpr QSize LeastSize(360, 320);

// Fewer games than the score sheet's: a course of sixteen estimates, each
// within two points.
constexpr int ChartGames = strategy::DefaultWinChanceGames / 4;

// A game as it stands: every roll, hold and booking so far.
QString GameKey(const history::GameRecord &record)
{
    return QString::fromLatin1(QCryptographicHash::hash(history::ToJson(record), QCryptographicHash::Sha1).toHex());
}

// The newest record in the folder that reads as one.
history::GameRecord NewestRecord(const QString &folder)
{
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Time))
        if (auto record = history::Load(file.filePath(), nullptr))
            return *record;
    return {};
}

} // namespace

Reviews::Reviews(Form1 &form, Dialogs &dialogs, TableGate &gate, const Recorder &recorder)
    : m_form(form), m_dialogs(dialogs), m_gate(gate), m_recorder(recorder),
      m_review(new QAction(QStringLiteral("&Review"), &form)),
      m_statistics(new QAction(QStringLiteral("&Statistics"), &form)), m_reviewWork(new BackgroundWork(this)),
      m_statisticsWork(new BackgroundWork(this))
{
    m_review->setObjectName(QStringLiteral("mnuReview"));
    m_statistics->setObjectName(QStringLiteral("mnuStatistics"));
    connect(m_review, &QAction::triggered, this, &Reviews::OpenReview);
    connect(m_statistics, &QAction::triggered, this, &Reviews::OpenStatistics);
    // Right at any moment: every roll and booking counts, the turn under
    // way included.
    for (auto signal : {&Form1::newGame, &Form1::rollFinished, &Form1::turnChanged})
        connect(&form, signal, this, [this] {
            if (m_reviewWindow && m_reviewWindow->isVisible())
                RefreshReview();
        });
}

HistoryWindows *Reviews::Module(const QString &title, void (Reviews::*then)())
{
    // Both windows rate games: they open once the table is there.
    if (!m_gate.table()) {
        // Each window waits on its own: asking for both opens both.
        const QObject *waiter = then == &Reviews::OpenReview ? m_review : m_statistics;
        m_gate.whenReady(waiter, [this, then] { (this->*then)(); });
        return nullptr;
    }
    QString why;
    HistoryWindows *windows = LoadHistoryWindows(&why);
    if (!windows)
        m_dialogs.MsgBox(QStringLiteral("The %1 window cannot be shown (quintor-charts.so: %2).").arg(title, why),
                         Dialogs::Buttons::Ok, title, Dialogs::Icon::Warning);
    return windows;
}

void Reviews::OpenReview()
{
    HistoryWindows *windows = Module(QStringLiteral("Review"), &Reviews::OpenReview);
    if (!windows)
        return;
    if (!m_reviewWindow) {
        m_reviewWindow = windows->NewReviewWindow(&m_form);
        PlaceBeside(*m_reviewWindow, &m_form, WantedSize, LeastSize);
    }
    RefreshReview();
    BringUp(m_reviewWindow);
}

Reviews::~Reviews()
{
    delete m_progress;
}

void Reviews::ShowReview(const ReviewData &data)
{
    if (HistoryWindows *windows = m_reviewWindow ? LoadHistoryWindows(nullptr) : nullptr)
        windows->ShowReview(m_reviewWindow, data);
}

void Reviews::RefreshReview()
{
    const auto table = m_gate.table();
    if (!m_reviewWindow || !table)
        return;
    const history::GameRecord &current = m_recorder.record();
    const history::GameRecord record = current.players.empty() ? NewestRecord(m_recorder.folder()) : current;
    ReviewData data;
    data.reviews = history::Review(*table, record);
    // The chances known so far at once; those still missing follow.
    std::vector<std::vector<strategy::SeatState>> rounds;
    bool missing = false;
    for (int round = 0; !record.players.empty() && round <= history::Rounds(record); ++round) {
        rounds.push_back(history::SeatsAfter(record, round));
        const auto known = m_chances.find(strategy::PositionSeed(rounds.back()));
        missing = missing || known == m_chances.end();
        if (!missing)
            data.chances.push_back(known->second);
    }
    const QString game = GameKey(record);
    const auto turned = m_turningPoints.find(game);
    if (turned != m_turningPoints.end())
        data.turningPoints = turned->second;
    ShowReview(data);
    if (!missing && turned != m_turningPoints.end())
        return;
    // Each round as it is found, kept for the next look: a review opened
    // again, or refreshed by the next roll, goes on where this one stopped.
    // Then where each person's game turned.
    m_reviewWork->Start([this, table, rounds, data, record, game](const BackgroundWork::Job &job) {
        ReviewData grown = data;
        for (std::size_t round = grown.chances.size(); round < rounds.size(); ++round) {
            const std::uint64_t key = strategy::PositionSeed(rounds[round]);
            std::vector<double> chances = strategy::WinChances(*table, rounds[round], ChartGames, key, job.cancelFlag());
            if (job.cancelled() || chances.empty())
                return;
            grown.chances.push_back(chances);
            job.post([this, key, chances, grown] {
                m_chances[key] = chances;
                ShowReview(grown);
            });
        }
        if (!grown.turningPoints.isEmpty())
            return;
        const auto points = history::TurningPoints(*table, record, grown.reviews, ChartGames, qHash(game), job.cancelFlag());
        if (job.cancelled())
            return;
        for (const history::TurningPoint &point : points)
            grown.turningPoints << history::Wording(point, grown.reviews[std::size_t(point.player)].name);
        const bool people = std::any_of(record.players.begin(), record.players.end(),
                                        [](const history::PlayerRecord &p) { return !p.computer; });
        if (grown.turningPoints.isEmpty() && people)
            grown.turningPoints << QStringLiteral("No decision of a person changed a chance to win.");
        job.post([this, game, grown] {
            m_turningPoints[game] = grown.turningPoints;
            ShowReview(grown);
        });
    });
}

// Many records take seconds to review the first time: the work runs on a
// thread of its own, with a progress window that can stop it, and the window
// goes on meanwhile.
void Reviews::OpenStatistics()
{
    if (m_progress)
        return; // already on its way
    if (!Module(QStringLiteral("Statistics"), &Reviews::OpenStatistics))
        return;
    m_progress = new QProgressDialog(QStringLiteral("Reviewing the recorded games..."), QStringLiteral("Cancel"), 0, 100,
                                     &m_form);
    m_progress->setWindowTitle(QStringLiteral("Statistics"));
    m_progress->setWindowModality(Qt::NonModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(500); // only for work longer than a moment
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_statisticsWork->Cancel();
        m_progress->deleteLater();
    });
    m_statisticsWork->Start([this, table = m_gate.table(), folder = m_recorder.folder()](const BackgroundWork::Job &job) {
        int told = -1;
        history::Statistics statistics =
            history::Gather(*table, folder, history::DefaultRatingsFile(), [&](int done, int total) {
                const int percent = total > 0 ? done * 100 / total : 0;
                if (percent != told)
                    job.post([this, percent] {
                        if (m_progress)
                            m_progress->setValue(percent);
                    });
                told = percent;
                return !job.cancelled();
            });
        if (statistics.complete)
            job.post([this, statistics = std::move(statistics)] { StatisticsGathered(statistics); });
    });
}

void Reviews::StatisticsGathered(const history::Statistics &statistics)
{
    delete m_progress;
    HistoryWindows *windows = LoadHistoryWindows(nullptr);
    if (!windows)
        return;
    delete m_statisticsWindow; // the figures as they are now
    m_statisticsWindow = windows->NewStatisticsWindow(&m_form, statistics);
    PlaceBeside(*m_statisticsWindow, &m_form, WantedSize, LeastSize);
    BringUp(m_statisticsWindow);
}
