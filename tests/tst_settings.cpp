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
#include <QLockFile>
#include <QScopeGuard>

#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <thread>
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
    void unreadableFileShowsTheDefaults_data();
    void unreadableFileShowsTheDefaults();
    void folderThatCannotBeCreated();
    void defaultFileIsPerUserOnly();
    void valuesReadBackAsWritten();
    void anotherCopySavingMeanwhileIsWaitedFor();
    void rootlessHomeIsInTheTempFolder();
};

void SettingsTest::unwritableStoreKeepsTheOldScore_data()
{
    QTest::addColumn<bool>("lockFolder");
    QTest::addColumn<bool>("withName"); // else the score alone is stored
    QTest::newRow("read-only file") << false << true;
    QTest::newRow("read-only folder") << true << true;
    QTest::newRow("read-only file, no name") << false << false;
}

void SettingsTest::unwritableStoreKeepsTheOldScore()
{
    QFETCH(bool, lockFolder);
    QFETCH(bool, withName);
    GameFixture g;
    const SettingsStore::Values stored{{"Score", "100"}, {"Name", "Eve"}};
    QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", withName ? stored : stored.first(1)));
    const QString name = withName ? "Eve" : "Nobody";
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
    QCOMPARE(g.f().lblHighscoreName->text(), name);
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("100"));
    QCOMPARE(g.f().lblHighscoreName->text(), name);
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

void SettingsTest::unreadableFileShowsTheDefaults_data()
{
    QTest::addColumn<bool>("fifo"); // else a file without read permission
    QTest::newRow("unreadable file") << false;
    // Opening a FIFO for reading waits for a writer: the window would never appear.
    QTest::newRow("FIFO") << true;
}

void SettingsTest::unreadableFileShowsTheDefaults()
{
    QFETCH(bool, fifo);
    GameFixture g;
    const QString path = g.settings.FileName("Quintor");
    if (fifo) {
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else {
        // Written by hand: QSettings would remember what it wrote itself.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[QuintorHighscore]\nScore=100\nName=Eve\n");
        file.close();
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    }
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));

    PlayWinningGame(g);
    QVERIFY(SawFailureMessage(g.dialogs));
    // Never replaced.
    struct stat st {};
    QVERIFY(lstat(QFile::encodeName(path).constData(), &st) == 0);
    if (fifo) {
        QVERIFY(S_ISFIFO(st.st_mode));
        return;
    }
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

void SettingsTest::defaultFileIsPerUserOnly()
{
    // QSettings fixes its folders at the first default-location store of the
    // process, so this must be the first one.
    QTemporaryDir home, system;
    QVERIFY(SettingsStore(system.path()).SaveSettings("Quintor", "QuintorHighscore", {{"Score", "999"}}));
    const auto restore = qScopeGuard([home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME")] {
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", config);
        qunsetenv("XDG_CONFIG_DIRS");
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system.path()));

    GameFixture g;
    g.settings = SettingsStore();
    QCOMPARE(g.settings.FileName("Quintor"), home.filePath(".config/Quintor.conf"));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0")); // not the system's 999
}

void SettingsTest::valuesReadBackAsWritten()
{
    // By hand and unquoted, before another section's Name: shown as written,
    // not split into a list.
    GameFixture g;
    QFile file(g.settings.FileName("Quintor"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[QuintorHighscore]\nScore=1,000\nName = Zo\xc3\xab Smith, Ann ; the champion\n[Other]\nName=Nope\n");
    file.close();
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("1,000"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Zo\u00eb Smith, Ann"));

    for (const QString name : {"Smith, Ann", "  a;b=\"c\"\\ ", "two\r\nlines\n", "@Variant(x)", "Zo\u00eb \U0001F3B2"}) {
        QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Name", name}}));
        g.reopen();
        QCOMPARE(g.f().lblHighscoreName->text(), name);
    }
}

void SettingsTest::anotherCopySavingMeanwhileIsWaitedFor()
{
    GameFixture g;
    // As the winner is announced, another copy holds the lock and stores 500
    // a little later: this one must wait for it, then find 500 stored.
    QLockFile lock(g.settings.LockFileName("Quintor"));
    QVERIFY(lock.tryLock());
    std::thread other;
    g.dialogs.onCall = [&](const DialogCall &call) {
        if (call.title == QLatin1String("Winner"))
            other = std::thread([&] {
                QTest::qSleep(300);
                SettingsStore(g.dir.path()).SaveSettings("Quintor", "QuintorHighscore", {{"Score", "500"}});
                lock.unlock();
            });
    };
    PlayWinningGame(g);
    other.join();
    QVERIFY(!g.dialogs.messageTexts().contains("New Highscore !!"));
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("500"));
}

namespace {

// Permission checks do not apply to root: continue as "nobody", with a
// folder of its own in $TMPDIR, removed at the end.
QString RootlessHome; // empty when not started as root

bool DropRoot()
{
    if (geteuid() != 0)
        return true;
    const gid_t nogroup = 65534;
    const uid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(nogroup) != 0 || setuid(nobody) != 0)
        return false;
    // Made after giving up root, so that "nobody" can remove it.
    QByteArray folder = QFile::encodeName(QDir::tempPath() + QStringLiteral("/quintor-settings-XXXXXX"));
    char *runtime = folder.data();
    if (!mkdtemp(runtime))
        return false;
    RootlessHome = QFile::decodeName(folder);
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    setenv("HOME", runtime, 1);
    setenv("XDG_CONFIG_HOME", runtime, 1);
    return true;
}

} // namespace

void SettingsTest::rootlessHomeIsInTheTempFolder()
{
    if (RootlessHome.isEmpty())
        QSKIP("not started as root");
    QCOMPARE(QDir(RootlessHome + "/..").canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}

int main(int argc, char *argv[])
{
    if (!DropRoot()) {
        std::fprintf(stderr, "cannot give up root privileges\n");
        return 1;
    }
    QApplication app(argc, argv);
    Fonts::InstallSubstitutes();
    SettingsTest test;
    const int result = QTest::qExec(&test, argc, argv);
    if (!RootlessHome.isEmpty())
        QDir(RootlessHome).removeRecursively();
    return result;
}

#include "tst_settings.moc"
