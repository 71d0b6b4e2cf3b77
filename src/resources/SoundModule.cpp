#include "SoundModule.h"

#include "WavPlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace SoundModule {

QByteArray SoundData;

namespace {

// Owned by the application object, so it is gone (and its clip stopped)
// before the statics of this file, SoundData among them, are destroyed. It
// talks to the sound server on a thread of its own: PlayResSound returns at
// once even when the server is slow to answer.
QPointer<WavPlayer> g_player;

std::function<void(const QString &)> g_observer;

bool isClipName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            return false;
    return true;
}

} // namespace

QByteArray LoadResSound(const QString &name)
{
    // Only plain names: nothing else under the resource root can be reached.
    if (!isClipName(name))
        return QByteArray();
    QFile file(QStringLiteral(":/sound/") + name.toUpper());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

WavPlayer *Player()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return nullptr;
    if (!g_player) {
        g_player = new WavPlayer(createSinkOutput(), WavPlayer::Threading::OwnThread, app);
        QObject::connect(app, &QCoreApplication::aboutToQuit, g_player, &WavPlayer::stop);
    }
    return g_player;
}

void PlayResSound(const QString &name)
{
    WavPlayer *player = Player();
    if (!player)
        return; // not on the user-interface thread: leave SoundData alone
    if (g_observer)
        g_observer(name.toUpper());
    // The player shares the previous image until it has cut that clip off,
    // so replacing SoundData first never pulls bytes out from under it.
    SoundData = LoadResSound(name);
    player->play(SoundData);
}

void SetPlayObserver(std::function<void(const QString &name)> observer)
{
    g_observer = std::move(observer);
}

void StopSound()
{
    if (g_player)
        g_player->stop();
}

int Finish(int status)
{
    // A normal end takes a few hundred ms at most (see SinkOutput).
    if (!g_player || g_player->shutDown(600))
        return status;
    qWarning("The sound server does not answer; leaving without it");
    std::fflush(nullptr);
    std::quick_exit(status);
}

} // namespace SoundModule
