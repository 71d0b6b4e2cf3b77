// The embedded clips byte for byte, their lookup by name, the WAVE reader on
// broken images, and the player's cut-off, buffer and release rules. The
// device end is replaced by a recorder; everything up to it is the real code,
// including the module's player thread (hence the sync() calls before looking).

#include "resources/SoundModule.h"
#include "resources/WavPlayer.h"

#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <random>
#include <thread>

namespace {

quint16 u16At(const QByteArray &b, int pos) { return qFromLittleEndian<quint16>(b.constData() + pos); }
quint32 u32At(const QByteArray &b, int pos) { return qFromLittleEndian<quint32>(b.constData() + pos); }

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// 8-bit mono, 11025 Hz, with recognisable sample bytes.
const QByteArray kPcm = QByteArray("\x10\x20\x30\x40\x50\x60\x70\x80\x90\xa0", 10);
const QByteArray kFmt8 = chunk("fmt ", fmtBody(1, 1, 11025, 8));

QByteArray smallImage()
{
    return riff(kFmt8 + chunk("data", kPcm));
}

// Stands in for the audio device and writes down what it is asked to do.
struct OutputLog {
    QStringList events;
    QAudioFormat format;
    QIODevice *pcm = nullptr;
    bool available = true;
    bool nestedLoopOnStop = false; // as deleting a QAudioSink does in Qt 6.4
};

class RecordingOutput : public AudioOutput {
public:
    explicit RecordingOutput(std::shared_ptr<OutputLog> log) : m_log(std::move(log)) {}
    bool available() override { return m_log->available; }
    void start(const QAudioFormat &format, QIODevice *pcm) override
    {
        m_log->events << QStringLiteral("start");
        m_log->format = format;
        m_log->pcm = pcm;
    }
    void stop() override
    {
        m_log->events << QStringLiteral("stop");
        m_log->pcm = nullptr;
        if (m_log->nestedLoopOnStop)
            QCoreApplication::processEvents();
    }

private:
    std::shared_ptr<OutputLog> m_log;
};

// The image in a heap block of its exact size (a QByteArray has slack), so ASan sees a read past its end.
struct ExactCopy {
    explicit ExactCopy(const QByteArray &image) : bytes(image.begin(), image.end()) {}
    QByteArray view() const { return QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())); }
    std::vector<char> bytes;
};

// Every message logged while the guard from LogMessages() lives; the threads take turns, so no lock.
QStringList g_logged;
void Collect(QtMsgType, const QMessageLogContext &, const QString &message) { g_logged << message; }
auto LogMessages()
{
    g_logged.clear();
    return qScopeGuard([previous = qInstallMessageHandler(Collect)] { qInstallMessageHandler(previous); });
}

// What the device would play, read the way a sink reads it.
QByteArray drain(QIODevice *pcm)
{
    if (!pcm)
        return QByteArray();
    pcm->seek(0);
    return pcm->readAll();
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void clipLayout_data();
    void clipLayout();
    void clipSound_data();
    void clipSound();
    void lookup_data();
    void lookup();
    void brokenImages_data();
    void brokenImages();
    void acceptedImages_data();
    void acceptedImages();
    void everyTruncationIsRejected();
    void corruptedBytesStayInBounds();
    void playerCutsOffAndKeepsItsBytes();
    void playerIgnoresBadImagesAndMissingDevice();
    void nestedEventLoopsKeepRequestsInOrder();
    void playResSoundHandsOverTheClip();
    void sinkIsKeptUntilTheClipIsHeard_data();
    void sinkIsKeptUntilTheClipIsHeard();
    void sinkOutputAsksAgainUntilThereIsADevice();
    void probeHoldsOnlyItsOwnMessages();
};

void SoundTest::clipLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("fmtSize");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<int>("total");
    QTest::newRow("ROLL") << "ROLL" << 22050 << 16 << 16 << 29824 << 29868;
    QTest::newRow("GLASS") << "GLASS" << 11025 << 8 << 16 << 11488 << 11532;
    QTest::newRow("CLAP") << "CLAP" << 11025 << 8 << 18 << 32078 << 32136;
}

void SoundTest::clipLayout()
{
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, fmtSize);
    QFETCH(int, dataSize);
    QFETCH(int, total);

    const QByteArray b = SoundModule::LoadResSound(name);
    QCOMPARE(b.size(), total);
    QCOMPARE(b.left(4), QByteArray("RIFF"));
    QCOMPARE(u32At(b, 4), quint32(total - 8));
    QCOMPARE(b.mid(8, 4), QByteArray("WAVE"));

    QCOMPARE(b.mid(12, 4), QByteArray("fmt "));
    QCOMPARE(u32At(b, 16), quint32(fmtSize));
    QCOMPARE(u16At(b, 20), quint16(1)); // PCM
    QCOMPARE(u16At(b, 22), quint16(1)); // mono
    QCOMPARE(u32At(b, 24), quint32(rate));
    QCOMPARE(u32At(b, 28), quint32(rate * bits / 8));
    QCOMPARE(u16At(b, 32), quint16(bits / 8));
    QCOMPARE(u16At(b, 34), quint16(bits));
    int pos = 20 + fmtSize;
    if (fmtSize == 18) {
        QCOMPARE(u16At(b, 36), quint16(0)); // no extension
        QCOMPARE(b.mid(pos, 4), QByteArray("fact"));
        QCOMPARE(u32At(b, pos + 4), quint32(4));
        QCOMPARE(u32At(b, pos + 8), quint32(dataSize)); // samples, one byte each
        pos += 12;
    }
    QCOMPARE(b.mid(pos, 4), QByteArray("data"));
    QCOMPARE(u32At(b, pos + 4), quint32(dataSize));
    QCOMPARE(pos + 8 + dataSize, total);

    const std::optional<WavInfo> info = parseWav(b);
    QVERIFY(info);
    QCOMPARE(info->format.sampleRate(), rate);
    QCOMPARE(info->format.channelCount(), 1);
    QCOMPARE(info->format.sampleFormat(), bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    QCOMPARE(info->dataOffset, pos + 8);
    QCOMPARE(info->dataSize, dataSize);
}

void SoundTest::clipSound_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("roll") << "roll";
    QTest::newRow("glass") << "glass";
    QTest::newRow("clap") << "clap";
}

// Audible, never clipped, and silent at both ends so starting or cutting a
// clip does not click.
void SoundTest::clipSound()
{
    QFETCH(QString, name);
    const QByteArray b = SoundModule::LoadResSound(name);
    const std::optional<WavInfo> info = parseWav(b);
    QVERIFY(info);

    std::vector<double> s;
    const bool wide = info->format.sampleFormat() == QAudioFormat::Int16;
    for (qsizetype i = info->dataOffset; i < info->dataOffset + info->dataSize; i += wide ? 2 : 1)
        s.push_back(wide ? qint16(u16At(b, int(i))) / 32768.0 : (quint8(b[i]) - 128) / 128.0);

    double peak = 0, energy = 0;
    for (double v : s) {
        peak = std::max(peak, std::abs(v));
        energy += v * v;
    }
    const double rms = std::sqrt(energy / double(s.size()));
    QVERIFY2(peak < 0.708, qPrintable(QString::number(peak))); // below -3 dBFS
    QVERIFY2(peak > 0.35, qPrintable(QString::number(peak)));
    QVERIFY2(rms > 0.03, qPrintable(QString::number(rms)));    // above -30 dBFS
    QVERIFY(std::abs(s.front()) < 0.02);
    QVERIFY(std::abs(s.back()) < 0.02);
}

void SoundTest::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource"); // empty: no clip
    QTest::newRow("Roll") << "Roll" << ":/sound/ROLL";
    QTest::newRow("ROLL") << "ROLL" << ":/sound/ROLL";
    QTest::newRow("roll") << "roll" << ":/sound/ROLL";
    QTest::newRow("rOlL") << "rOlL" << ":/sound/ROLL";
    QTest::newRow("glass") << "glass" << ":/sound/GLASS";
    QTest::newRow("Glass") << "Glass" << ":/sound/GLASS";
    QTest::newRow("clap") << "clap" << ":/sound/CLAP";
    QTest::newRow("CLAP") << "CLAP" << ":/sound/CLAP";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("unknown") << "drum" << "";
    QTest::newRow("file name") << "roll.wav" << "";
    QTest::newRow("trailing blank") << "roll " << "";
    QTest::newRow("path") << "../sound/ROLL" << "";
}

void SoundTest::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);
    const QByteArray found = SoundModule::LoadResSound(name);
    if (resource.isEmpty()) {
        QVERIFY(found.isEmpty());
        return;
    }
    QFile file(resource);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(found, file.readAll());
}

void SoundTest::brokenImages_data()
{
    QTest::addColumn<QByteArray>("image");
    const QByteArray data = chunk("data", kPcm);
    const QByteArray good = smallImage();

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not RIFF") << "RIFX" + good.mid(4);
    QTest::newRow("not WAVE") << good.left(8) + "AVI " + good.mid(12);
    QTest::newRow("RIFF size past end") << "RIFF" + le32(quint32(good.size())) + good.mid(8);
    QTest::newRow("RIFF size cuts data") << "RIFF" + le32(quint32(good.size() - 12)) + good.mid(8);
    QTest::newRow("data size past end") << riff(kFmt8 + "data" + le32(11) + kPcm);
    QTest::newRow("data size huge") << riff(kFmt8 + "data" + le32(0xffffffffu) + kPcm);
    QTest::newRow("unknown chunk past end") << riff(chunk("LIST", "abcd").left(4) + le32(0x7ffffff0) + "abcd" + kFmt8 + data);
    QTest::newRow("no data chunk") << riff(kFmt8 + chunk("LIST", "abcd"));
    QTest::newRow("no fmt chunk") << riff(data);
    QTest::newRow("data before fmt") << riff(data + kFmt8);
    QTest::newRow("two fmt chunks") << riff(kFmt8 + chunk("fmt ", fmtBody(1, 1, 22050, 16)) + data);
    QTest::newRow("fmt too short") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 8).left(14)) + data);
    // Read past its end, the next chunk's id would give a good bit depth of 8.
    QTest::newRow("fmt too short, 8 bits after it")
        << riff(chunk("fmt ", fmtBody(1, 1, 11025, 8).left(14)) + chunk(QByteArray("\x08\0JK", 4), "") + data);
    QTest::newRow("fmt too short at the end") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 8).left(14)));
    QTest::newRow("fmt size past end") << riff("fmt " + le32(200) + fmtBody(1, 1, 11025, 8) + data);
    QTest::newRow("empty data") << riff(kFmt8 + chunk("data", QByteArray()));
    QTest::newRow("less than a frame") << riff(chunk("fmt ", fmtBody(1, 2, 11025, 16)) + chunk("data", "abc"));
    QTest::newRow("zero channels") << riff(chunk("fmt ", fmtBody(1, 0, 11025, 8)) + data);
    QTest::newRow("zero rate") << riff(chunk("fmt ", fmtBody(1, 1, 0, 8)) + data);
    QTest::newRow("24 bits") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 24)) + data);
    QTest::newRow("12 bits") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 12)) + data);
    QTest::newRow("float") << riff(chunk("fmt ", fmtBody(3, 1, 11025, 32)) + data);
    QTest::newRow("ADPCM") << riff(chunk("fmt ", fmtBody(2, 1, 11025, 4)) + data);
    QByteArray badAlign = fmtBody(1, 2, 11025, 16);
    badAlign.replace(12, 2, le16(3));
    QTest::newRow("block align") << riff(chunk("fmt ", badAlign) + data);
}

void SoundTest::brokenImages()
{
    QFETCH(QByteArray, image);
    QVERIFY(!parseWav(ExactCopy(image).view()));

    auto log = std::make_shared<OutputLog>();
    WavPlayer player(std::make_unique<RecordingOutput>(log));
    QVERIFY(!player.play(image));
    QVERIFY(log->events.isEmpty());
}

void SoundTest::acceptedImages_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QByteArray>("pcm");

    const QByteArray data = chunk("data", kPcm);
    QTest::newRow("plain") << smallImage() << 1 << 8 << kPcm;
    QTest::newRow("chunks before fmt") << riff(chunk("LIST", "odd") + chunk("JUNK", QByteArray(6, 'j')) + kFmt8 + data)
                                       << 1 << 8 << kPcm;
    QTest::newRow("extended fmt and fact") << riff(chunk("fmt ", fmtBody(1, 1, 11025, 8) + le16(0))
                                                   + chunk("fact", le32(10)) + data)
                                           << 1 << 8 << kPcm;
    QTest::newRow("stereo 16 bits") << riff(chunk("fmt ", fmtBody(1, 2, 44100, 16)) + chunk("data", kPcm.left(8)))
                                    << 2 << 16 << kPcm.left(8);
    QTest::newRow("partial frame dropped") << riff(chunk("fmt ", fmtBody(1, 1, 22050, 16)) + chunk("data", kPcm.left(7)))
                                           << 1 << 16 << kPcm.left(6);
    QTest::newRow("bytes after RIFF") << smallImage() + "trailing" << 1 << 8 << kPcm;
}

void SoundTest::acceptedImages()
{
    QFETCH(QByteArray, image);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(QByteArray, pcm);

    const std::optional<WavInfo> info = parseWav(image);
    QVERIFY(info);
    QCOMPARE(info->format.channelCount(), channels);
    QCOMPARE(info->format.bytesPerSample(), bits / 8);
    QCOMPARE(image.mid(info->dataOffset, info->dataSize), pcm);
}

void SoundTest::everyTruncationIsRejected()
{
    const QByteArray whole = SoundModule::LoadResSound("clap");
    QVERIFY(parseWav(whole));
    for (int n = 0; n < 200; ++n)
        QVERIFY2(!parseWav(whole.left(n)), qPrintable(QString::number(n)));
    for (int n = whole.size() - 50; n < whole.size(); ++n)
        QVERIFY2(!parseWav(whole.left(n)), qPrintable(QString::number(n)));
}

// Random damage must never lead the reader outside the image (ASan watches
// the reads); whatever it accepts has to lie inside the buffer.
void SoundTest::corruptedBytesStayInBounds()
{
    const QByteArray whole = riff(chunk("LIST", "info") + chunk("fmt ", fmtBody(1, 1, 22050, 16) + le16(0))
                                  + chunk("fact", le32(5)) + chunk("data", kPcm));
    std::mt19937 rnd(1234);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray image = whole;
        for (int hits = 1 + int(rnd() % 3); hits > 0; --hits)
            image[int(rnd() % quint32(image.size()))] = char(rnd() % 256);
        image.truncate(int(rnd() % quint32(image.size() + 1)));
        // A real copy, so reading past its end is caught.
        const ExactCopy copy(image);
        const QByteArray exact = copy.view();
        if (const std::optional<WavInfo> info = parseWav(exact)) {
            ++accepted;
            QVERIFY(info->dataOffset >= 12);
            QVERIFY(info->dataSize > 0);
            QVERIFY(info->dataOffset + info->dataSize <= exact.size());
        }
    }
    QVERIFY(accepted > 0); // some damage is harmless (in the sample bytes)
}

void SoundTest::playerCutsOffAndKeepsItsBytes()
{
    auto log = std::make_shared<OutputLog>();
    WavPlayer player(std::make_unique<RecordingOutput>(log));

    QByteArray first = smallImage();
    QVERIFY(player.play(first));
    QCOMPARE(log->events, QStringList({"stop", "start"}));
    QCOMPARE(log->format.sampleRate(), 11025);
    QCOMPARE(log->format.sampleFormat(), QAudioFormat::UInt8);

    // The caller lets go of its image; the player must still read the clip.
    first = QByteArray();
    QCOMPARE(drain(log->pcm), kPcm);

    // A second clip: the first is stopped before the new one starts.
    const QByteArray second = riff(chunk("fmt ", fmtBody(1, 1, 22050, 16)) + chunk("data", "ABCDEF"));
    log->events.clear();
    QVERIFY(player.play(second));
    QCOMPARE(log->events, QStringList({"stop", "start"}));
    QCOMPARE(log->format.sampleRate(), 22050);
    QCOMPARE(drain(log->pcm), QByteArray("ABCDEF"));
    QCOMPARE(player.startCount(), 2);

    // Restarting the same clip plays it from its start again.
    log->pcm->read(4);
    QVERIFY(player.play(second));
    QVERIFY(log->pcm->pos() == 0);
    QCOMPARE(log->pcm->readAll(), QByteArray("ABCDEF"));

    QVERIFY(player.holdsClip());
    player.stop();
    QCOMPARE(log->events.last(), QStringLiteral("stop"));
    QVERIFY(!player.holdsClip());
}

void SoundTest::playerIgnoresBadImagesAndMissingDevice()
{
    auto log = std::make_shared<OutputLog>();
    WavPlayer player(std::make_unique<RecordingOutput>(log));
    QVERIFY(player.play(smallImage()));
    log->events.clear();

    // A bad image neither starts anything nor cuts off what plays.
    QVERIFY(!player.play(smallImage().left(30)));
    QVERIFY(log->events.isEmpty());
    QCOMPARE(drain(log->pcm), kPcm);

    // Without a device the clip playing (if any) is left alone, too.
    log->available = false;
    player.play(smallImage());
    QVERIFY(log->events.isEmpty());
    QCOMPARE(player.startCount(), 1);
}

// Requests that arrive while the output runs a nested event loop must wait
// for the one being carried out, or a clip would be started and then closed
// by the end of the stop that was under way.
void SoundTest::nestedEventLoopsKeepRequestsInOrder()
{
    auto log = std::make_shared<OutputLog>();
    log->nestedLoopOnStop = true;
    WavPlayer player(std::make_unique<RecordingOutput>(log), WavPlayer::Threading::OwnThread);
    const QByteArray other = riff(chunk("fmt ", fmtBody(1, 1, 22050, 16)) + chunk("data", "ABCDEF"));

    QStringList expected;
    for (int i = 0; i < 50; ++i) {
        player.play(i % 2 ? other : smallImage());
        expected << "stop" << "start";
    }
    player.sync();
    QCOMPARE(player.startCount(), 50);
    QCOMPARE(log->events, expected);
    QCOMPARE(log->format.sampleRate(), 22050);
    QCOMPARE(drain(log->pcm), QByteArray("ABCDEF"));
}

void SoundTest::playResSoundHandsOverTheClip()
{
    auto log = std::make_shared<OutputLog>();
    WavPlayer *player = SoundModule::Player();
    QVERIFY(player);
    player->setOutput(std::make_unique<RecordingOutput>(log));
    const int before = player->startCount();

    SoundModule::PlayResSound("Roll");
    player->sync();
    const QByteArray roll = SoundModule::LoadResSound("ROLL");
    QCOMPARE(SoundModule::SoundData, roll);
    QCOMPARE(log->format.sampleRate(), 22050);
    QCOMPARE(log->format.sampleFormat(), QAudioFormat::Int16);
    QCOMPARE(drain(log->pcm), roll.mid(44));

    // Three quick rolls: three starts, each cutting off the last.
    log->events.clear();
    for (int i = 0; i < 3; ++i)
        SoundModule::PlayResSound("Roll");
    player->sync();
    QCOMPARE(log->events, QStringList({"stop", "start", "stop", "start", "stop", "start"}));
    QCOMPARE(player->startCount(), before + 4);

    // glass, then at once the clap of the game end.
    SoundModule::PlayResSound("glass");
    SoundModule::PlayResSound("clap");
    player->sync();
    QCOMPARE(log->format.sampleRate(), 11025);
    const QByteArray clap = SoundModule::LoadResSound("CLAP");
    QCOMPARE(drain(log->pcm), clap.mid(58));

    // An unknown name empties SoundData but leaves the clap playing, whole.
    log->events.clear();
    SoundModule::PlayResSound("nothing");
    player->sync();
    QVERIFY(SoundModule::SoundData.isEmpty());
    QVERIFY(log->events.isEmpty());
    QCOMPARE(drain(log->pcm), clap.mid(58));

    SoundModule::StopSound();
    player->sync();
    QCOMPARE(log->events, QStringList({"stop"}));
    QVERIFY(!log->pcm);
    QVERIFY(!player->holdsClip());
}

void SoundTest::sinkIsKeptUntilTheClipIsHeard_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QList<int>>("events"); // a state and the ms since the start, in turn
    QTest::addColumn<int>("due");           // -1: kept
    constexpr int idle = QAudio::IdleState, active = QAudio::ActiveState, stopped = QAudio::StoppedState;
    constexpr int lost = -1; // stopped with an error
    // CLAP is 2909 ms long, ROLL 676 ms.
    QTest::newRow("idle before the end") << "clap" << QList<int>{idle, 2800} << 2909 + 500;
    QTest::newRow("idle late, on a busy machine") << "clap" << QList<int>{idle, 3100} << 3100 + 500;
    QTest::newRow("starved of data, then playing") << "clap" << QList<int>{idle, 900, active, 950} << -1;
    QTest::newRow("starved, then idle at the end") << "roll" << QList<int>{idle, 90, active, 95, idle, 580}
                                                   << 676 + 500;
    QTest::newRow("stopped keeps the time") << "roll" << QList<int>{idle, 580, stopped, 600} << 676 + 500;
    QTest::newRow("device lost") << "roll" << QList<int>{lost, 300} << 300;
}

// Idle comes before the last samples are heard: letting go of the sink any
// earlier than the clip's end and a margin for the device cuts the clip short.
void SoundTest::sinkIsKeptUntilTheClipIsHeard()
{
    QFETCH(QString, clip);
    QFETCH(QList<int>, events);
    QFETCH(int, due);
    const std::optional<WavInfo> info = parseWav(SoundModule::LoadResSound(clip));
    QVERIFY(info);
    SinkRelease release(info->format, info->dataSize, 0);
    for (int i = 0; i < events.size(); i += 2) {
        const bool failed = events[i] < 0;
        release.stateChanged(failed ? QAudio::StoppedState : QAudio::State(events[i]), failed, events[i + 1]);
    }
    QCOMPARE(release.dueMs().value_or(-1), due);
}

// A sound server may come up while the game runs: each clip asks again; the absence is said once.
void SoundTest::sinkOutputAsksAgainUntilThereIsADevice()
{
    bool present = false;
    const std::unique_ptr<AudioOutput> output = createSinkOutput([&] { return present; });
    const auto log = LogMessages();
    QVERIFY(!output->available());
    QVERIFY(!output->available());
    present = true;
    QVERIFY(output->available());
    QCOMPARE(g_logged, QStringList{"No audio output device: playing without sound"});
}

// While a probe waits on the sound server, the rest of the program logs as
// usual; what the probing thread logged follows once a device is found.
// (Without one it is dropped: see tst_sound_noaudio.)
void SoundTest::probeHoldsOnlyItsOwnMessages()
{
    const auto log = LogMessages();
    QSemaphore inside, leave;
    std::thread probing([&] {
        probeQuietly([&] {
            qWarning("from the backend");
            inside.release();
            leave.acquire();
            return true;
        });
    });
    inside.acquire();
    qWarning("from elsewhere");
    leave.release();
    probing.join();
    QCOMPARE(g_logged, QStringList({"from elsewhere", "from the backend"}));
}

QTEST_MAIN(SoundTest)
#include "tst_sound.moc"
