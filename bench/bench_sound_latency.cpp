// How long after PlayResSound the first sample of a clip reaches the sound
// server's sink, and how long PlayResSound takes to return. Run by
// sound_latency.sh, which starts a private server with a null sink.
//
// The sink's monitor is read through `parec` on a thread of its own that
// notes when each block arrives. A sample cannot be read before the sink has
// played it, so the earliest arrival over all blocks pins down when sample 0
// was played; each clip's first loud sample then gets a time on the same
// clock as the PlayResSound call.

#include "resources/SoundModule.h"
#include "resources/WavPlayer.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>
#include <thread>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kThreshold = 0.003;
constexpr int kPlays = 12;
constexpr int kSpacingMs = 1200; // longer than Roll and glass: silence before every start
constexpr int kCutOffs = 10;
constexpr int kCutOffSpacingMs = 100;

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class Recorder {
public:
    bool start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        char *const args[] = {const_cast<char *>("parec"), const_cast<char *>("--raw"),
                              const_cast<char *>("--format=s16le"), const_cast<char *>("--rate=44100"),
                              const_cast<char *>("--channels=1"), const_cast<char *>("--latency-msec=5"),
                              const_cast<char *>("-d"), const_cast<char *>("nullsink.monitor"), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const int error = posix_spawnp(&m_pid, "parec", &actions, nullptr, args, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (error != 0) {
            close(fds[0]);
            return false;
        }
        m_fd = fds[0];
        m_thread = std::thread([this] { run(); });
        return true;
    }
    ~Recorder()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGINT);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_thread.joinable())
            m_thread.join(); // the pipe has reached its end
        if (m_fd >= 0)
            close(m_fd);
    }
    std::size_t size()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_samples.size();
    }
    // Time of the first loud sample played at or after `from` (within `window` s), or NaN.
    double firstLoud(double from, double window)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto begin = std::size_t(std::max(0.0, (from - m_zero) * kRate));
        const auto end = std::min(m_samples.size(), std::size_t((from + window - m_zero) * kRate));
        for (std::size_t i = begin; i < end; ++i)
            if (std::abs(m_samples[i]) > kThreshold * 32768)
                return m_zero + double(i) / kRate;
        return std::nan("");
    }

private:
    void run()
    {
        char block[4096];
        std::vector<char> pending; // a read may end in the middle of a sample
        for (;;) {
            const ssize_t n = read(m_fd, block, sizeof block);
            const double arrived = now();
            if (n <= 0)
                break;
            pending.insert(pending.end(), block, block + n);
            std::lock_guard<std::mutex> lock(m_mutex);
            std::size_t i = 0;
            for (; i + 1 < pending.size(); i += 2)
                m_samples.push_back(qFromLittleEndian<qint16>(pending.data() + i));
            pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(i));
            m_zero = std::min(m_zero, arrived - double(m_samples.size()) / kRate);
        }
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<qint16> m_samples;
    double m_zero = std::numeric_limits<double>::infinity();
};

struct Call {
    const char *name;
    double at, returnedAfter;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? std::nan("") : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

Call timedPlay(const char *name)
{
    const double before = now();
    SoundModule::PlayResSound(QString::fromLatin1(name));
    return {name, before, now() - before};
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Recorder recorder;
    if (!recorder.start()) {
        std::fprintf(stderr, "cannot start parec\n");
        return 1;
    }
    // The monitor delivers nothing for the first second or so.
    for (int i = 0; i < 100 && recorder.size() < kRate / 2; ++i)
        wait(50);
    if (recorder.size() < kRate / 2) {
        std::fprintf(stderr, "the sink's monitor delivers nothing\n");
        return 1;
    }

    std::vector<Call> calls;
    for (int i = 0; i < kPlays; ++i) {
        calls.push_back(timedPlay(i % 2 ? "glass" : "Roll"));
        wait(kSpacingMs);
    }
    std::vector<double> cutReturns;
    for (int i = 0; i < kCutOffs; ++i) {
        cutReturns.push_back(timedPlay("Roll").returnedAfter);
        wait(kCutOffSpacingMs);
    }
    wait(800);

    std::vector<double> latencies, returns;
    std::printf("play  clip   returned after   first sample at the sink after\n");
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const double heard = recorder.firstLoud(calls[i].at - 0.005, 1.0);
        const double latency = heard - calls[i].at;
        std::printf("%4zu  %-5s  %10.0f us   %10.1f ms%s\n", i + 1, calls[i].name, calls[i].returnedAfter * 1e6,
                    latency * 1e3, i == 0 ? "  (first call: connects to the server)" : "");
        if (i > 0) {
            if (!std::isnan(latency))
                latencies.push_back(latency);
            returns.push_back(calls[i].returnedAfter);
        }
    }
    std::printf("\nover plays 2..%d:\n", kPlays);
    std::printf("  latency to the sink: median %.1f ms, min %.1f ms, max %.1f ms (%zu measured)\n",
                median(latencies) * 1e3, *std::min_element(latencies.begin(), latencies.end()) * 1e3,
                *std::max_element(latencies.begin(), latencies.end()) * 1e3, latencies.size());
    std::printf("  PlayResSound returned after: median %.0f us, max %.0f us\n", median(returns) * 1e6,
                *std::max_element(returns.begin(), returns.end()) * 1e6);
    std::printf("  ... while cutting off a playing clip: median %.0f us, max %.0f us (%d calls %d ms apart)\n",
                median(cutReturns) * 1e6, *std::max_element(cutReturns.begin(), cutReturns.end()) * 1e6,
                kCutOffs, kCutOffSpacingMs);
    std::fflush(stdout);
    return latencies.size() == std::size_t(kPlays - 1) ? 0 : 1;
}
