#pragma once

// Plays in-memory WAVE images in the background, one at a time: a new clip
// cuts off the one still playing. Playback problems are swallowed; sound is
// decoration and the game never waits for it.

#include <QAudio>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QThread;

// Where the samples of a WAVE image are and how to play them.
struct WavInfo {
    QAudioFormat format;
    qsizetype dataOffset = 0; // into the image
    qsizetype dataSize = 0;   // whole frames only
};

// Reads the RIFF chunks of a WAVE image (PCM of 8, 16 or 32 bits, one to
// eight channels), skipping chunks it does not know. Every size is checked
// against the buffer; anything malformed or unsupported gives nothing.
std::optional<WavInfo> parseWav(const QByteArray &image);

// The device end of the player. The real one plays through QAudioSink; tests
// put in their own to see what would be played. Called on the player's thread.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // False when there is nothing to play on; then nothing is started.
    virtual bool available() = 0;
    // Starts reading `pcm` in the background; it stays valid until stop().
    virtual void start(const QAudioFormat &format, QIODevice *pcm) = 0;
    // Cuts off playback at once; afterwards `pcm` is no longer touched.
    virtual void stop() = 0;
};

// Runs `look`, which asks the audio backend for a device, with whatever this
// thread logs meanwhile held back; other threads log as usual. With a device
// the held lines are passed on afterwards, without one they are dropped: the
// backend's words about a failed connection are meant for developers.
bool probeQuietly(const std::function<bool()> &look);

// The output that plays through the default audio device, one QAudioSink per
// clip. Until it finds a device it asks `hasDevice` again for every clip
// (the default asks the backend through probeQuietly), and it logs a single
// line for the first miss only.
std::unique_ptr<AudioOutput> createSinkOutput(std::function<bool()> hasDevice = {});

// When the sink playing a clip may be let go, on a clock in milliseconds.
// IdleState means the sink has handed its last bytes to the device, some
// 100 ms before they are heard, so the sink is kept until the clip must have
// ended and a margin more; no longer, so an idle sink does not keep waking
// the player's thread.
class SinkRelease {
public:
    static constexpr qint64 kMarginMs = 500;

    // A clip of `bytes` in `format` starts at `nowMs`.
    SinkRelease(const QAudioFormat &format, qint64 bytes, qint64 nowMs);
    // The sink reports `state` at `nowMs`; `failed` when it reports an error too.
    void stateChanged(QAudio::State state, bool failed, qint64 nowMs);
    // When to let go of the sink; none while it plays.
    std::optional<qint64> dueMs() const { return m_dueMs; }

private:
    qint64 m_endMs; // the clip's last sample, played without a pause
    std::optional<qint64> m_dueMs;
};

class WavPlayer : public QObject {
    Q_OBJECT
public:
    // OwnThread keeps the device work (which waits on the sound server) off
    // the caller's thread; Inline does everything inside the calls.
    enum class Threading { Inline, OwnThread };

    explicit WavPlayer(std::unique_ptr<AudioOutput> output, Threading threading = Threading::Inline,
                       QObject *parent = nullptr);
    // Stops the clip playing before its bytes are let go; waits up to 3 s
    // for the player's thread unless shutDown() has already.
    ~WavPlayer() override;

    // Checks `image` and, if it can be played, has the player cut off the clip
    // still playing and start this one. A malformed image, or no device,
    // changes nothing.
    // The player shares `image`, so its bytes stay valid for as long as they
    // are read, whatever the caller does with its own copy. Returns whether
    // the image was taken (the game ignores it).
    bool play(const QByteArray &image);

    // Cuts off the clip playing, if any, and lets go of its bytes.
    void stop();

    // Stops for good: cuts off the clip and ends the player's thread, waiting
    // for it at most `timeoutMs`. False when the thread is still held up (by
    // a sound server that does not answer); it is then left to itself. Later
    // calls play nothing.
    bool shutDown(int timeoutMs);

    // For tests and tools. sync() waits until the player has carried out
    // every call made so far (it would wait for a hung sound server, too);
    // the two counters are exact after it.
    void sync();
    void setOutput(std::unique_ptr<AudioOutput> output); // stops what plays first
    int startCount() const; // clips started on the output
    bool holdsClip() const; // bytes of a clip still held

private:
    class Worker;
    struct Status;

    std::shared_ptr<Status> m_status; // shared with the worker, which may outlive a hung exit
    Worker *m_worker;
    QThread *m_thread = nullptr;
    bool m_shutDown = false;
};
