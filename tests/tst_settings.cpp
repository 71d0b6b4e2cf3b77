// A settings file or folder that cannot be read or written: the game goes on,
// tells the player when a new high score could not be kept, and never
// damages the score stored before.
//
// File permissions do not bind root, so when run as root (as in CI) this
// test first becomes the unprivileged user "nobody".

#include "support/FullCard.h"
#include "support/GameFixture.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Plays a one-player game worth 305.
void PlayWinningGame(GameFixture &g)
{
    g.newGame({"Ann"});
    for (const Turn &turn : FullCard) {
        g.roll(turn.dice);
        g.clickCategory(turn.row);
    }
}

bool SawFailureMessage(const ScriptedDialogs &dialogs)
{
    for (const DialogCall &call : dialogs.calls) {
        if (call.icon == Dialogs::Icon::Warning && call.title == QLatin1String("Highscore")
            && call.text.contains(QLatin1String("could not be saved")))
            return true;
    }
    return false;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void unwritableStoreKeepsTheOldScore_data();
    void unwritableStoreKeepsTheOldScore();
    void unreadableFileShowsTheDefaults();
    void folderThatCannotBeCreated();
};

void SettingsTest::unwritableStoreKeepsTheOldScore_data()
{
    QTest::addColumn<bool>("lockFolder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void SettingsTest::unwritableStoreKeepsTheOldScore()
{
    QFETCH(bool, lockFolder);
    GameFixture g;
    QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "100"}, {"Name", "Eve"}}));
    const QString path = g.settings.FileName("Quintor");
    const QByteArray before = ReadAll(path);
    QVERIFY(!before.isEmpty());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    if (lockFolder)
        QVERIFY(QFile::setPermissions(g.dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("100"));

    PlayWinningGame(g);

    QVERIFY(SawFailureMessage(g.dialogs));
    // The window shows what is really kept, now and at the next start.
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("100"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Eve"));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("100"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Eve"));
    QCOMPARE(ReadAll(path), before);

    // Once the file can be written again, the next high score is kept.
    QVERIFY(QFile::setPermissions(g.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    g.dialogs.calls.clear();
    PlayWinningGame(g);
    QVERIFY(!SawFailureMessage(g.dialogs));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("305"));
}

void SettingsTest::unreadableFileShowsTheDefaults()
{
    GameFixture g;
    const QString path = g.settings.FileName("Quintor");
    {
        // Written by hand: QSettings would remember what it wrote itself.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[QuintorHighscore]\nScore=100\nName=Eve\n");
    }
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));

    PlayWinningGame(g);
    QVERIFY(SawFailureMessage(g.dialogs));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QVERIFY(ReadAll(path).contains("Score=100"));
}

void SettingsTest::folderThatCannotBeCreated()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("config"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    // The settings folder would have to be created below a plain file.
    GameFixture g;
    g.settings = SettingsStore(dir.filePath("config/Quintor"));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    PlayWinningGame(g);
    QVERIFY(SawFailureMessage(g.dialogs));
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));
}

namespace {

// Permission checks do not apply to root: continue as "nobody", with a
// runtime folder of its own.
bool DropRoot()
{
    if (geteuid() != 0)
        return true;
    const gid_t nogroup = 65534;
    const uid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(nogroup) != 0 || setuid(nobody) != 0)
        return false;
    static char runtime[] = "/tmp/quintor-settings-XXXXXX";
    if (!mkdtemp(runtime))
        return false;
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    setenv("HOME", runtime, 1);
    setenv("XDG_CONFIG_HOME", runtime, 1);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!DropRoot()) {
        std::fprintf(stderr, "cannot give up root privileges\n");
        return 1;
    }
    QApplication app(argc, argv);
    Fonts::InstallSubstitutes();
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
