#include "WavPlayer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <utility>

namespace {

quint16 u16At(const char *p) { return qFromLittleEndian<quint16>(p); }
quint32 u32At(const char *p) { return qFromLittleEndian<quint32>(p); }

// The body of a "fmt " chunk: plain PCM only (the extended 18-byte form too).
std::optional<QAudioFormat> parseFmt(const char *body, qint64 size)
{
    if (size < 16)
        return std::nullopt;
    const quint16 tag = u16At(body);
    const quint16 channels = u16At(body + 2);
    const quint32 rate = u32At(body + 4);
    const quint16 blockAlign = u16At(body + 12);
    const quint16 bits = u16At(body + 14);

    QAudioFormat format;
    switch (bits) {
    case 8: format.setSampleFormat(QAudioFormat::UInt8); break;
    case 16: format.setSampleFormat(QAudioFormat::Int16); break;
    case 32: format.setSampleFormat(QAudioFormat::Int32); break;
    default: return std::nullopt;
    }
    if (tag != 1 || channels < 1 || channels > 8 || rate < 1000 || rate > 192000
        || blockAlign != channels * (bits / 8))
        return std::nullopt;
    format.setChannelCount(channels);
    format.setSampleRate(static_cast<int>(rate));
    return format;
}

// The device probe holds back what the audio backend logs on the probing
// thread only; every other thread's messages go straight on. The held list
// lives on the probing thread's own stack, so a probe still hanging on the
// sound server at exit never writes into anything the exit has destroyed.
thread_local QList<std::pair<QtMsgType, QString>> *t_held = nullptr;
std::atomic<QtMessageHandler> g_passOn{nullptr}; // trivially destroyed: usable to the end
std::mutex g_installMutex;
int g_probes = 0; // probes under way, on any thread

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (t_held) {
        t_held->append({type, message});
        return;
    }
    if (const QtMessageHandler next = g_passOn.load())
        next(type, context, message);
}

// Sends this thread's messages to `into` for as long as it lives.
class HoldMessages {
public:
    explicit HoldMessages(QList<std::pair<QtMsgType, QString>> *into)
    {
        t_held = into;
        std::lock_guard lock(g_installMutex);
        if (g_probes++ == 0)
            g_passOn = qInstallMessageHandler(holdMessage);
    }
    ~HoldMessages()
    {
        t_held = nullptr;
        std::lock_guard lock(g_installMutex);
        if (--g_probes == 0) {
            // A handler installed since then stays; only ours is taken out.
            const QtMessageHandler current = qInstallMessageHandler(g_passOn.load());
            if (current != holdMessage)
                qInstallMessageHandler(current);
        }
    }
    HoldMessages(const HoldMessages &) = delete;
    HoldMessages &operator=(const HoldMessages &) = delete;
};

bool hasDefaultDevice()
{
    return probeQuietly([] { return !QMediaDevices::defaultAudioOutput().isNull(); });
}

// Plays through QAudioSink on the default device, one sink per clip.
//
// In Qt 6.4 deleting a QAudioSink runs a nested event loop, so anything
// queued for this thread (a stale state change of the old sink, the release
// timer, the player's next request) may run inside stop(). stop() therefore
// empties m_sink before deleting the sink, and every sink's state changes
// carry its own number, so a late one from an old sink is ignored.
class SinkOutput final : public AudioOutput {
public:
    explicit SinkOutput(std::function<bool()> hasDevice) : m_hasDevice(std::move(hasDevice)) {}

    // Qt 6.4 closes its connection to PulseAudio at exit without taking the
    // lock of libpulse's own thread; if that thread is still busy with a
    // stream just closed (its last replies, the sink falling idle), libpulse
    // aborts the program. This runs as the player shuts down, so the pause
    // comes only at exit and only right after a clip was stopped.
    ~SinkOutput() override
    {
        stop();
        if (m_sinceRelease.isValid() && m_sinceRelease.elapsed() < kSettleMs)
            QThread::msleep(static_cast<unsigned long>(kSettleMs - m_sinceRelease.elapsed()));
    }

    bool available() override
    {
        // Asked again for every clip until there is a device; its absence is
        // said once. (Qt 6.4's PulseAudio backend, though, was seen to miss a
        // server started after its first, failed connection.)
        if (!m_available) {
            m_available = m_hasDevice();
            if (!m_available && !std::exchange(m_saidAbsent, true))
                qInfo("No audio output device: playing without sound");
        }
        return m_available;
    }

    void start(const QAudioFormat &format, QIODevice *pcm) override
    {
        stop();
        if (!m_release) { // made here, on the thread that plays
            m_release = std::make_unique<QTimer>();
            m_release->setSingleShot(true);
            m_release->callOnTimeout([this] { stop(); });
        }
        m_sink = std::make_unique<QAudioSink>(format);
        QObject::connect(m_sink.get(), &QAudioSink::stateChanged, m_sink.get(),
                         [this, sinkNumber = ++m_sinkNumber](QAudio::State state) {
                             if (sinkNumber == m_sinkNumber && m_sink)
                                 stateChanged(state);
                         });
        m_clock.start();
        m_rule.emplace(format, pcm->size(), 0);
        m_sink->start(pcm);
        if (m_sink->error() != QAudio::NoError) {
            if (!m_warned)
                qWarning("Cannot play sound on the audio device");
            m_warned = true;
            stop();
        }
    }

    void stop() override
    {
        ++m_sinkNumber;
        if (m_release)
            m_release->stop();
        if (std::unique_ptr<QAudioSink> sink = std::move(m_sink)) {
            sink->stop(); // cuts the sound off at once
            sink.reset(); // the nested event loop runs here
            m_sinceRelease.start();
        }
    }

private:
    void stateChanged(QAudio::State state)
    {
        m_rule->stateChanged(state, m_sink->error() != QAudio::NoError, m_clock.elapsed());
        // A sink is let go from the timer, never from inside its own signal.
        if (const std::optional<qint64> due = m_rule->dueMs())
            m_release->start(static_cast<int>(std::max<qint64>(*due - m_clock.elapsed(), 0)));
        else
            m_release->stop();
    }

    static constexpr qint64 kSettleMs = 200;

    std::unique_ptr<QAudioSink> m_sink;
    quint64 m_sinkNumber = 0;
    QElapsedTimer m_sinceRelease;
    std::unique_ptr<QTimer> m_release;
    QElapsedTimer m_clock; // since the clip started
    std::optional<SinkRelease> m_rule;
    std::function<bool()> m_hasDevice;
    bool m_available = false;
    bool m_saidAbsent = false;
    bool m_warned = false;
};

} // namespace

SinkRelease::SinkRelease(const QAudioFormat &format, qint64 bytes, qint64 nowMs)
    : m_endMs(nowMs + bytes / format.bytesPerFrame() * 1000 / format.sampleRate())
{
}

void SinkRelease::stateChanged(QAudio::State state, bool failed, qint64 nowMs)
{
    if (state == QAudio::IdleState)
        m_dueMs = std::max(m_endMs, nowMs) + kMarginMs;
    else if (state == QAudio::ActiveState)
        m_dueMs.reset(); // it was only starved for data
    else if (state == QAudio::StoppedState && failed)
        m_dueMs = nowMs; // the device went away
}

std::optional<WavInfo> parseWav(const QByteArray &image)
{
    const char *base = image.constData();
    const qint64 size = image.size();
    if (size < 12 || std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0)
        return std::nullopt;
    const qint64 riffEnd = 8 + qint64(u32At(base + 4));
    if (riffEnd > size)
        return std::nullopt;

    std::optional<QAudioFormat> format;
    qint64 pos = 12;
    while (riffEnd - pos >= 8) {
        const char *id = base + pos;
        const qint64 body = pos + 8;
        const qint64 bodySize = u32At(base + pos + 4);
        if (bodySize > riffEnd - body)
            return std::nullopt;

        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (format)
                return std::nullopt; // a second format: which one is meant?
            format = parseFmt(base + body, bodySize);
            if (!format)
                return std::nullopt;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!format)
                return std::nullopt;
            const qint64 frames = bodySize / format->bytesPerFrame();
            if (frames == 0)
                return std::nullopt;
            return WavInfo{*format, body, frames * format->bytesPerFrame()};
        }
        pos = body + bodySize + (bodySize & 1); // chunks are word aligned
    }
    return std::nullopt;
}

bool probeQuietly(const std::function<bool()> &look)
{
    QList<std::pair<QtMsgType, QString>> held;
    bool found = false;
    {
        const HoldMessages hold(&held);
        found = look();
    }
    if (found) {
        for (const auto &[type, message] : std::as_const(held))
            qt_message_output(type, QMessageLogContext(), message);
    }
    return found;
}

std::unique_ptr<AudioOutput> createSinkOutput(std::function<bool()> hasDevice)
{
    return std::make_unique<SinkOutput>(hasDevice ? std::move(hasDevice) : hasDefaultDevice);
}

// ---- WavPlayer ---------------------------------------------------------------

struct WavPlayer::Status {
    std::atomic<int> startCount{0};
    std::atomic<bool> holdsClip{false};
};

// Owns the clip being played and the output; lives on the player's thread
// and carries out the player's requests there, strictly in order.
class WavPlayer::Worker : public QObject {
public:
    struct Request {
        enum Kind { Play, Stop, SetOutput, Sync } kind;
        QByteArray image = {};
        WavInfo info = {};
        std::unique_ptr<AudioOutput> output = {}; // SetOutput
        QSemaphore *done = nullptr;               // Sync
    };

    Worker(std::unique_ptr<AudioOutput> output, std::shared_ptr<Status> status)
        : m_output(std::move(output)), m_status(std::move(status))
    {
    }
    ~Worker() override
    {
        m_busy = true; // no more requests, also from nested event loops
        stop();
    }

    // Any thread. With `inline_` the request is carried out before returning.
    void post(Request request, bool inline_)
    {
        {
            QMutexLocker lock(&m_mutex);
            m_requests.push_back(std::move(request));
        }
        if (inline_)
            run();
        else
            QMetaObject::invokeMethod(this, [this] { run(); }, Qt::QueuedConnection);
    }

    // Whatever a request leads to may run a nested event loop (see
    // SinkOutput), which can call run() again: the inner call leaves the
    // queue to the outer one, so requests never overlap or change order.
    void run()
    {
        if (m_busy)
            return;
        m_busy = true;
        for (;;) {
            Request request;
            {
                QMutexLocker lock(&m_mutex);
                if (m_requests.empty())
                    break;
                request = std::move(m_requests.front());
                m_requests.pop_front();
            }
            switch (request.kind) {
            case Request::Play: play(request.image, request.info); break;
            case Request::Stop: stop(); break;
            case Request::SetOutput:
                stop();
                m_output = std::move(request.output);
                break;
            case Request::Sync: request.done->release(); break;
            }
        }
        m_busy = false;
    }

private:
    void play(const QByteArray &image, const WavInfo &info)
    {
        if (!m_output || !m_output->available())
            return;
        stop(); // the old clip is cut off before its bytes are let go
        m_image = image;
        m_pcm.setData(QByteArray::fromRawData(m_image.constData() + info.dataOffset, info.dataSize));
        m_pcm.open(QIODevice::ReadOnly);
        m_status->holdsClip = true;
        m_output->start(info.format, &m_pcm);
        ++m_status->startCount;
    }

    void stop()
    {
        if (m_output)
            m_output->stop();
        m_pcm.close();
        m_pcm.setData(QByteArray());
        m_image = QByteArray();
        m_status->holdsClip = false;
    }

    std::unique_ptr<AudioOutput> m_output;
    std::shared_ptr<Status> m_status;
    QByteArray m_image;  // keeps the bytes that m_pcm reads alive
    QBuffer m_pcm{this}; // moves to the player's thread with the worker
    QMutex m_mutex;
    std::deque<Request> m_requests;
    bool m_busy = false;
};

namespace {

// Carries out the worker's requests until told to quit, then deletes the
// worker (stopping its clip) on this same thread. No event could do that at
// exit: once the application object is being destroyed, events are no
// longer delivered.
class WorkerThread final : public QThread {
public:
    explicit WorkerThread(QObject *worker) : m_worker(worker) {}

private:
    void run() override
    {
        exec();
        delete m_worker;
    }

    QObject *m_worker;
};

} // namespace

WavPlayer::WavPlayer(std::unique_ptr<AudioOutput> output, Threading threading, QObject *parent)
    : QObject(parent),
      m_status(std::make_shared<Status>()),
      m_worker(new Worker(std::move(output), m_status))
{
    if (threading == Threading::OwnThread) {
        m_thread = new WorkerThread(m_worker);
        m_thread->setObjectName(QStringLiteral("sound"));
        m_worker->moveToThread(m_thread);
        m_thread->start();
    }
}

WavPlayer::~WavPlayer()
{
    if (!m_thread) {
        delete m_worker;
        return;
    }
    if (shutDown(3000))
        delete m_thread;
    else // the sound server hangs: leave the thread behind rather than the game
        qWarning("The sound server does not answer; not waiting for it");
}

bool WavPlayer::shutDown(int timeoutMs)
{
    if (!m_thread) {
        if (!m_shutDown)
            m_worker->post({Worker::Request::Stop}, true);
        m_shutDown = true;
        return true;
    }
    // The thread deletes the worker, and with it the clip, as it ends.
    m_shutDown = true;
    m_thread->quit();
    return m_thread->wait(QDeadlineTimer(timeoutMs));
}

bool WavPlayer::play(const QByteArray &image)
{
    const std::optional<WavInfo> info = parseWav(image);
    if (!info || m_shutDown)
        return false;
    m_worker->post({Worker::Request::Play, image, *info}, !m_thread);
    return true;
}

void WavPlayer::stop()
{
    if (!m_shutDown)
        m_worker->post({Worker::Request::Stop}, !m_thread);
}

void WavPlayer::sync()
{
    if (!m_thread || m_shutDown)
        return;
    QSemaphore done;
    m_worker->post({Worker::Request::Sync, {}, {}, nullptr, &done}, false);
    done.acquire();
}

void WavPlayer::setOutput(std::unique_ptr<AudioOutput> output)
{
    if (m_shutDown)
        return;
    m_worker->post({Worker::Request::SetOutput, {}, {}, std::move(output)}, !m_thread);
    sync();
}

int WavPlayer::startCount() const
{
    return m_status->startCount;
}

bool WavPlayer::holdsClip() const
{
    return m_status->holdsClip;
}
