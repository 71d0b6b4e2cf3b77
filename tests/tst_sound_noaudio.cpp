// Run without any sound server (see tests/sound.cmake for the environment):
// clips are asked for as usual, the game is not held up, and the missing
// device is mentioned once at most.

#include "resources/SoundModule.h"
#include "resources/WavPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QMutex>
#include <QStringList>
#include <QTest>

namespace {

QMutex g_logMutex;
QStringList g_log;

void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker lock(&g_logMutex);
    g_log << message;
}

} // namespace

class NoAudioTest : public QObject {
    Q_OBJECT
private slots:
    void playsSilentlyAndLogsOnce()
    {
        const QtMessageHandler previous = qInstallMessageHandler(collect);

        const QStringList names = {"Roll", "glass", "clap", "Roll", "Roll", "Roll", "clap", "glass"};
        for (const QString &name : names) {
            SoundModule::PlayResSound(name);
            QCOMPARE(SoundModule::SoundData, SoundModule::LoadResSound(name));
        }
        QVERIFY(SoundModule::Player());
        SoundModule::Player()->sync();
        QTest::qWait(300); // room for anything the audio backend reports late
        SoundModule::StopSound();

        qInstallMessageHandler(previous);
        QVERIFY2(g_log.size() <= 1, qPrintable(g_log.join(QLatin1Char('\n'))));
        QCOMPARE(SoundModule::Player()->startCount(), 0);

        // Otherwise this run proved nothing.
        QVERIFY2(QMediaDevices::defaultAudioOutput().isNull(), "an audio device was reachable");
    }
};

QTEST_MAIN(NoAudioTest)
#include "tst_sound_noaudio.moc"
