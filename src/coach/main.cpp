// quintor-coach: perfect play for people playing with real dice, and for
// scripts. The arguments are checked before the table is touched, so bad
// input is answered at once.

#include "coach/Chances.h"
#include "coach/Coach.h"
#include "coach/Simulation.h"
#include "history/Review.h"
#include "history/Statistics.h"
#include "strategy/TableCache.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <random>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace {

constexpr int BadInput = 2;
constexpr int Failed = 1;

// A percentage rewritten in place on a terminal; nothing at all in a pipe
// or a log, where it would only be clutter. Called from the engine's worker
// threads: the atomic keeps the common case to one load.
class TerminalProgress {
public:
    explicit TerminalProgress(const char *what) : m_what(what), m_enabled(isatty(STDERR_FILENO) == 1) {}

    strategy::Progress Callback()
    {
        if (!m_enabled)
            return {};
        return [this](long done, long total) {
            Show(done, total);
            return true;
        };
    }

    void Finish()
    {
        char line[96];
        if (m_shown.load() >= 0)
            Write(line, std::snprintf(line, sizeof line, "\rquintor-coach: %s: done\n", m_what));
    }

private:
    void Show(long done, long total)
    {
        if (total <= 0)
            return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent <= m_shown.load(std::memory_order_relaxed))
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (percent <= m_shown.load())
            return;
        m_shown.store(percent);
        char line[96];
        Write(line, std::snprintf(line, sizeof line, "\rquintor-coach: %s: %3d%%", m_what, percent));
    }

    static void Write(const char *text, int n)
    {
        // Progress is a courtesy: a failed write is not worth reporting.
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, static_cast<std::size_t>(n));
    }

    const char *const m_what;
    const bool m_enabled;
    std::atomic<int> m_shown{-1};
    std::mutex m_mutex;
};

int Fail(int status, const QString &message)
{
    // It may quote a record, whose text is never passed to the terminal as is.
    std::fprintf(stderr, "quintor-coach: %s\n", history::PrintableText(message).toLocal8Bit().constData());
    return status;
}

int Print(const QByteArray &text)
{
    // A full disk or a closed pipe must not pass for an answer given.
    if (std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout) !=
            static_cast<std::size_t>(text.size()) ||
        std::fflush(stdout) != 0)
        return Fail(Failed, QStringLiteral("cannot write the answer: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    const coach::Parsed parsed = coach::Parse(args);
    if (!parsed.error.isEmpty())
        return Fail(BadInput, parsed.error);
    const coach::Request &request = parsed.request;
    if (request.help)
        return Print(coach::HelpText().toLocal8Bit());

    // A record is read and checked before the table is touched; one of a
    // game still going on is rated or estimated as far as it goes.
    std::optional<history::GameRecord> record;
    if (const auto file = request.review ? request.review : request.winChance) {
        QString error;
        record = history::Load(*file, &error, true);
        if (!record)
            return Fail(BadInput, QStringLiteral("%1: %2").arg(*file, error));
    }
    // The game's own folder may not exist before its first game; a folder
    // given by name must.
    const QString statsFolder = request.stats && request.stats->isEmpty() ? history::DefaultFolder()
                                                                         : request.stats.value_or(QString());
    if (request.stats && !request.stats->isEmpty() && !QFileInfo(statsFolder).isDir())
        return Fail(BadInput, QStringLiteral("--stats: '%1' is not a folder").arg(statsFolder));

    TerminalProgress progress("working out perfect play (once per user)");
    const strategy::TableCache cache;
    QString notKept;
    const auto table = cache.LoadOrCompute(progress.Callback(), &notKept);
    progress.Finish();
    // Otherwise every run would spend seconds on it again without a word.
    if (!notKept.isEmpty() && !cache.FileName().isEmpty() && isatty(STDERR_FILENO) == 1)
        std::fprintf(stderr, "quintor-coach: cannot keep the table in %s (%s); it is worked out again on every run\n",
                     cache.FileName().toLocal8Bit().constData(), notKept.toLocal8Bit().constData());

    // Without a seed every run differs.
    const std::uint64_t seed = request.seed ? *request.seed : std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    if (record && request.winChance) {
        const auto chances = coach::WinChances(*table, *record, request.games, seed);
        if (!chances)
            return Fail(Failed, QStringLiteral("the engine found no chances for this record"));
        return Print(request.json ? coach::FormatJson(*chances) : coach::FormatText(*chances).toLocal8Bit());
    }
    if (record) {
        const auto reviews = history::Review(*table, *record);
        return Print(request.json ? history::FormatJson(reviews) : history::FormatText(reviews).toLocal8Bit());
    }
    if (request.stats) {
        const auto statistics = history::Gather(*table, statsFolder, history::DefaultRatingsFile());
        return Print(request.json ? history::FormatJson(statistics) : history::FormatText(statistics).toLocal8Bit());
    }
    if (request.simulate) {
        TerminalProgress playing("playing the games");
        const coach::Simulation simulation =
            coach::Simulate(*table, *request.simulate, request.level, seed, 0, playing.Callback());
        playing.Finish();
        return Print(request.json ? coach::FormatJson(simulation) : coach::FormatText(simulation).toLocal8Bit());
    }

    std::vector<strategy::Choice> choices;
    double expected = 0.0;
    if (request.dice) {
        choices = strategy::Advise(*table, request.booked, request.upperSum, *request.dice, request.rollsLeft);
        if (choices.empty())
            return Fail(Failed, QStringLiteral("the engine found no choice for these dice"));
        expected = choices.front().expected;
    } else {
        expected = table->Expected(request.booked, request.upperSum);
    }

    if (request.json)
        return Print(coach::FormatJson(request, expected, choices));
    return Print(coach::FormatText(request, expected, choices).toLocal8Bit());
}
