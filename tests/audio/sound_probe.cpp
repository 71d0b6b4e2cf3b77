// Helper of tst_sound_live.sh, which runs it against a private sound server
// with a null sink whose monitor it records:
//   sound_probe play                the clip sequence below, through PlayResSound
//   sound_probe check REC.raw       checks the recording (s16le, mono, 44100 Hz)
//   sound_probe quit-while-playing  quits the application in the middle of a clip
//   sound_probe exit-while-playing  destroys the application object in the
//                                   middle of a clip, without quitting first
//   sound_probe session             takes "play NAME", "ping" (the event loop
//                                   answers "pong") and "quit" from stdin, one
//                                   a line, and ends the way the game does
// Exit status 0 when all is well; the reasons for a failure go to stderr.

#include "resources/SoundModule.h"
#include "resources/WavPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

struct Step {
    int atMs;
    const char *name;
};

// Calls less than 300 ms apart form one group: every call cuts off the clip
// before it, so a group must sound like its last clip, started soon after its
// call, played from its own start to its end, and nothing of the earlier ones
// after it.
// The first call also connects to the server, which can take a while on a
// busy machine; hence the longer pause after it.
const Step kSequence[] = {
    {0, "Roll"},
    {1500, "glass"},
    {3100, "clap"},
    {6600, "clap"}, {6700, "Roll"},
    {8000, "Roll"}, {8100, "Roll"}, {8200, "Roll"},
};
const int kEndMs = 9400;
const int kGroupGapMs = 300;

constexpr int kRecordRate = 44100;
constexpr double kThreshold = 0.003; // about -50 dBFS; the null sink is digitally silent
constexpr double kSame = 0.1;        // loudness courses this close (see distance()) are the same sound
constexpr double kTolerance = 0.060; // seconds: where a clip's end is found
// A busy machine may feed the server too late: the clip pauses, and after
// that the server may keep back its end (less than the 125 ms it buffers
// before it plays again). So a clip is followed a piece at a time, and its
// end may come early by as much; a sink let go that little too soon is left
// to tst_sound, which checks when the player lets go of one.
constexpr double kPiece = 0.100;
constexpr double kMaxPause = 0.250;
constexpr double kHeldBack = 0.150;

struct Signal {
    std::vector<double> samples;
    std::vector<double> energy{0}; // sums of squares before each sample
    int rate = 0;
    void add(double v)
    {
        samples.push_back(v);
        energy.push_back(energy.back() + v * v);
    }
    double seconds(std::size_t i) const { return double(i) / rate; }
};

Signal clipSignal(const QString &name)
{
    const QByteArray image = SoundModule::LoadResSound(name);
    const std::optional<WavInfo> info = parseWav(image);
    Signal s;
    if (!info)
        return s;
    s.rate = info->format.sampleRate();
    const char *p = image.constData() + info->dataOffset;
    if (info->format.sampleFormat() == QAudioFormat::Int16) {
        for (qsizetype i = 0; i + 1 < info->dataSize; i += 2)
            s.add(qFromLittleEndian<qint16>(p + i) / 32768.0);
    } else {
        for (qsizetype i = 0; i < info->dataSize; ++i)
            s.add((quint8(p[i]) - 128) / 128.0);
    }
    return s;
}

// First and last sample above the threshold, in seconds.
std::pair<double, double> span(const Signal &s)
{
    auto loud = [](double v) { return std::abs(v) > kThreshold; };
    const auto first = std::find_if(s.samples.begin(), s.samples.end(), loud);
    const auto last = std::find_if(s.samples.rbegin(), s.samples.rend(), loud);
    if (first == s.samples.end())
        return {0, 0};
    return {s.seconds(std::size_t(first - s.samples.begin())),
            s.seconds(s.samples.size() - 1 - std::size_t(last - s.samples.rbegin()))};
}

double rms(const Signal &s, double from, double to)
{
    const auto a = std::size_t(std::max(0.0, from * s.rate));
    const auto b = std::min(s.samples.size(), std::size_t(std::max(0.0, to * s.rate)));
    return b > a ? std::sqrt((s.energy[b] - s.energy[a]) / double(b - a)) : 0.0;
}

// How far the loudness course of `rec` from `at` is from that of `clip`
// (`length` seconds from `from`), relative to the clip's loudness: 0 for the
// same sound. Levels count as well as shapes: the null sink plays samples as
// they are, while a smooth, fading sound fits its own shape a little later.
double distance(const Signal &clip, double from, const Signal &rec, double at, double length)
{
    constexpr double kFrame = 0.005;
    double diff = 0, norm = 0;
    for (double t = 0; t + kFrame <= length; t += kFrame) {
        const double x = rms(clip, from + t, from + t + kFrame);
        const double y = rms(rec, at + t, at + t + kFrame);
        diff += (x - y) * (x - y);
        norm += x * x;
    }
    return norm > 0 ? std::sqrt(diff / norm) : 1.0;
}

struct Trail {
    int pieces = 0, found = 0, pauses = 0;
    double delay = 0; // seconds the clip runs behind its onset: pauses, and the onset's own error
};

// Follows `clip` up to `length` seconds through the recording from `onset`,
// a piece at a time: each where the last one ended or, after a piece that
// is not there (a pause cut into it, or it is lost), perhaps later.
Trail follow(const Signal &clip, double length, const Signal &rec, double onset)
{
    constexpr double kStep = 0.0005;
    Trail trail;
    bool lost = true; // the onset is known roughly only
    for (double start = 0; start < length; start += kPiece, ++trail.pieces) {
        const double p = std::min(start, length - kPiece); // the last piece ends with the clip
        const auto apart = [&](double d) { return distance(clip, p, rec, onset + p + d, kPiece); };
        // Right after the last piece, the closest place; when searching
        // further, the closest place of the first close stretch (a delay once
        // taken is not given back, and a smooth sound fits a little late too).
        double d = trail.delay - (trail.found ? 0.003 : 0.05);
        const double to = trail.delay + (lost ? kMaxPause : 0.003);
        while (lost && d <= to && apart(d) > kSame)
            d += kStep;
        for (double e = d + kStep; e <= to && (!lost || apart(e) <= apart(d)); e += kStep)
            d = apart(e) <= apart(d) ? e : d;
        lost = d > to || apart(d) > kSame;
        if (lost)
            continue;
        trail.pauses += d > trail.delay + 0.003 ? 1 : 0;
        trail.delay = d;
        ++trail.found;
    }
    return trail;
}

struct Segment {
    double start, end; // seconds into the recording
};

// Stretches of sound separated by at least `gap` seconds of silence. A click
// of a few ms on its own is left out: as a sink is let go, the server may let
// out a bit of the clip's end it held back (see kHeldBack).
std::vector<Segment> segments(const Signal &rec, double gap)
{
    std::vector<Segment> found;
    for (std::size_t i = 0; i < rec.samples.size(); ++i) {
        if (std::abs(rec.samples[i]) <= kThreshold)
            continue;
        const double t = rec.seconds(i);
        if (found.empty() || t - found.back().end > gap)
            found.push_back({t, t});
        found.back().end = t;
    }
    found.erase(std::remove_if(found.begin(), found.end(), [](const Segment &s) { return s.end - s.start < 0.03; }),
                found.end());
    return found;
}

int play()
{
    QElapsedTimer clock;
    clock.start();
    for (const Step &step : kSequence) {
        QTimer::singleShot(step.atMs, Qt::PreciseTimer, qApp, [step, &clock] {
            const auto before = std::chrono::steady_clock::now();
            SoundModule::PlayResSound(QString::fromLatin1(step.name));
            const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - before;
            std::printf("%6lld ms  %-5s  PlayResSound returned after %.0f us\n", clock.elapsed(), step.name,
                        took.count());
        });
    }
    QTimer::singleShot(kEndMs, qApp, &QCoreApplication::quit);
    const int status = QCoreApplication::exec();
    WavPlayer *player = SoundModule::Player();
    if (player)
        player->sync();
    if (status == 0 && player && player->startCount() == int(std::size(kSequence)))
        return 0;
    std::fprintf(stderr, "FAIL: %d of %d clips started\n", player ? player->startCount() : -1,
                 int(std::size(kSequence)));
    return 1;
}

int quitWhilePlaying()
{
    QTimer::singleShot(0, [] { SoundModule::PlayResSound(QStringLiteral("clap")); });
    QTimer::singleShot(400, qApp, &QCoreApplication::quit);
    const int status = QCoreApplication::exec();
    WavPlayer *player = SoundModule::Player();
    // aboutToQuit has stopped the clip; the application object still owns the player.
    if (player)
        player->sync();
    if (status == 0 && player && player->startCount() == 1 && !player->holdsClip())
        return 0;
    std::fprintf(stderr, "FAIL: quitting while a clip plays: %d clip(s) started, %s\n",
                 player ? player->startCount() : -1, player && player->holdsClip() ? "still held" : "released");
    return 1;
}

// Without quit() there is no aboutToQuit: the player itself must stop the
// clip as the application object takes it down, and must not need events
// for that (none are delivered by then). ASan watches the bytes.
int exitWhilePlaying(QCoreApplication *app)
{
    SoundModule::PlayResSound(QStringLiteral("clap"));
    WavPlayer *player = SoundModule::Player();
    if (player)
        player->sync();
    if (!player || player->startCount() != 1) {
        std::fprintf(stderr, "FAIL: exiting while a clip plays: no clip started\n");
        return 1;
    }
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    static QStringList logged;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) { logged << message; });
    delete app;
    qInstallMessageHandler(nullptr);
    if (!logged.isEmpty()) {
        std::fprintf(stderr, "FAIL: exiting while a clip plays: %s\n", qPrintable(logged.join(u'\n')));
        return 1;
    }
    return 0;
}

int session()
{
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, qApp, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArray line = pending.left(end).trimmed();
            if (line.startsWith("play "))
                SoundModule::PlayResSound(QString::fromLatin1(line.mid(5)));
            else if (line == "ping")
                std::printf("pong\n");
            else if (line == "quit")
                QCoreApplication::quit();
            std::fflush(stdout);
        }
    });
    return SoundModule::Finish(QCoreApplication::exec());
}

int check(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray raw = file.readAll();
    Signal rec;
    rec.rate = kRecordRate;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
        rec.add(qFromLittleEndian<qint16>(raw.constData() + i) / 32768.0);

    struct Group {
        QString lead, tail;
        double leadSeconds;
    };
    std::vector<Group> groups;
    int previousAt = -kGroupGapMs;
    int groupAt = 0;
    for (const Step &step : kSequence) {
        if (step.atMs - previousAt >= kGroupGapMs) {
            groups.push_back({step.name, step.name, 0});
            groupAt = step.atMs;
        }
        groups.back().tail = step.name;
        groups.back().leadSeconds = (step.atMs - groupAt) / 1000.0;
        previousAt = step.atMs;
    }

    const std::vector<Segment> found = segments(rec, 0.25);
    std::printf("recording: %.2f s, %zu stretches of sound\n", rec.seconds(rec.samples.size()), found.size());
    if (found.size() != groups.size()) {
        for (const Segment &s : found)
            std::fprintf(stderr, "  sound from %.3f to %.3f s\n", s.start, s.end);
        std::fprintf(stderr, "FAIL: expected %zu stretches of sound\n", groups.size());
        return 1;
    }

    int failures = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const Group &group = groups[g];
        const Segment &seg = found[g];
        const Signal tail = clipSignal(group.tail);
        const auto [tailFrom, tailTo] = span(tail);
        const auto [leadFrom, leadTo] = span(clipSignal(group.lead));
        Q_UNUSED(leadTo);

        // Where in the recording the last clip's first sample lies: found by
        // the loudness course of its opening, no earlier than the sound and
        // not long after its call (a busy machine makes calls late, and a
        // click the server lets out may come before a clip).
        double onset = seg.start - tailFrom;
        double opening = 1e9;
        const double latest = seg.start - leadFrom + group.leadSeconds + 0.3;
        for (double t = onset - 0.01; t <= latest; t += 0.0005) {
            if (const double d = distance(tail, 0, rec, t, std::min(tailTo, 0.3)); d < opening) {
                opening = d;
                onset = t;
            }
        }
        // Then all of it. Pieces may be missing: one cut into by each pause,
        // two for the end the server may keep back, and the first, which the
        // server can garble as it starts a stream while letting go of another.
        const Trail trail = follow(tail, tailTo, rec, onset);
        const int missing = trail.pieces - trail.found;
        const bool paused = missing > 0 || trail.pauses > 0;
        const double lengthError = seg.end - (onset + trail.delay + tailTo);
        const double level = rms(rec, onset, onset + tailTo) / rms(tail, 0, tailTo);

        QString problems;
        if (lengthError > kTolerance + (paused ? kMaxPause : 0) || lengthError < -kTolerance - kHeldBack)
            problems += QStringLiteral(" [ends %1 ms off]").arg(lengthError * 1000, 0, 'f', 1);
        if (missing > trail.pauses + 3)
            problems += QStringLiteral(" [does not sound like %1]").arg(group.tail);
        if (level < 0.5 || level > 2.0)
            problems += QStringLiteral(" [level off]");
        failures += problems.isEmpty() ? 0 : 1;

        const QString what = group.leadSeconds > 0
            ? QStringLiteral("%1 cut off by %2 after %3 ms").arg(group.lead, group.tail).arg(group.leadSeconds * 1000)
            : group.tail;
        std::printf("%-32s sound %.3f-%.3f s, %s starts at %.3f s, expected length %.3f s, end off by %+.1f ms, "
                    "%d of %d pieces found after %d pauses, level %.2f%s\n",
                    qPrintable(what), seg.start, seg.end, qPrintable(group.tail), onset, tailTo - tailFrom,
                    lengthError * 1000, trail.found, trail.pieces, trail.pauses, level,
                    problems.isEmpty() ? "" : qPrintable(" FAIL" + problems));
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    auto *app = new QCoreApplication(argc, argv);
    const QStringList args = app->arguments();
    if (args.size() == 2 && args[1] == QLatin1String("exit-while-playing"))
        return exitWhilePlaying(app);
    const std::unique_ptr<QCoreApplication> owner(app);
    if (args.size() == 2 && args[1] == QLatin1String("play"))
        return play();
    if (args.size() == 2 && args[1] == QLatin1String("quit-while-playing"))
        return quitWhilePlaying();
    if (args.size() == 2 && args[1] == QLatin1String("session"))
        return session();
    if (args.size() == 3 && args[1] == QLatin1String("check"))
        return check(args[2]);
    std::fprintf(stderr, "usage: sound_probe play | check REC.raw | quit-while-playing | exit-while-playing | session\n");
    return 2;
}
