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
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>

#include <chrono>
#include <thread>

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

// Written by hand: QSettings would remember what it wrote itself.
bool WriteFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
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

namespace {

// Permission checks do not apply to root: continue as "nobody", with a
// folder of its own in $TMPDIR for home, runtime and config, removed at the
// end. Empty when not started as root.
QString RootlessHome;

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
    if (!mkdtemp(folder.data()))
        return false;
    RootlessHome = QFile::decodeName(folder);
    setenv("XDG_RUNTIME_DIR", folder.constData(), 1);
    setenv("HOME", folder.constData(), 1);
    setenv("XDG_CONFIG_HOME", folder.constData(), 1);
    return true;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void unwritableStoreKeepsTheOldScore_data();
    void unwritableStoreKeepsTheOldScore();
    void unreadableFileShowsTheDefaults();
    void folderThatCannotBeCreated();
    void defaultFileIsPerUserOnly();
    void valuesReadBackAsText_data();
    void valuesReadBackAsText();
    void failedSaveOnAPartlyFilledFile();
    void anotherCopySavingMeanwhileIsWaitedFor();
    void rootlessHomeIsInTheTempFolder();
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
    QVERIFY(WriteFile(path, "[QuintorHighscore]\nScore=100\nName=Eve\n"));
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

void SettingsTest::defaultFileIsPerUserOnly()
{
    // QSettings fixes its folders at the first default-location store of the
    // process, so this must be the first one.
    QTemporaryDir home, system;
    QVERIFY(WriteFile(system.filePath("Quintor.conf"), "[QuintorHighscore]\nScore=999\nName=Admin\n"));
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME"),
                     oldDirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system.path()));
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        if (oldDirs.isNull())
            qunsetenv("XDG_CONFIG_DIRS");
        else
            qputenv("XDG_CONFIG_DIRS", oldDirs);
    });

    GameFixture g;
    g.settings = SettingsStore();
    QCOMPARE(g.settings.FileName("Quintor"), home.filePath(".config/Quintor.conf"));
    // A score of the system's is not this user's.
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));

    PlayWinningGame(g);
    QVERIFY(!SawFailureMessage(g.dialogs));
    QVERIFY(ReadAll(home.filePath(".config/Quintor.conf")).contains("Score=305"));
}

void SettingsTest::valuesReadBackAsText_data()
{
    QTest::addColumn<QByteArray>("line");  // written by hand; empty: saved by the game
    QTest::addColumn<QString>("name");

    const QString unusual[] = {
        "Smith, Ann", "a;b=c", "\"quoted\"", "back\\slash\\", "  blanks  ", "\ttab",
        "two\nlines\r\n", "@at", "@Variant(x)", QString::fromUtf8("Zo\u00eb \u5f20\u4f1f \U0001F3B2"),
        QString(40000, u'x'), "#not a comment", "[Section]",
    };
    for (const QString &name : unusual)
        QTest::newRow(qPrintable("saved " + name.left(16))) << QByteArray() << name;

    // Written by hand, unquoted: shown as written, not as a list's default.
    QTest::newRow("list") << QByteArray("Name=Smith, Ann") << "Smith, Ann";
    QTest::newRow("list with blanks") << QByteArray("Name =  Smith ,Ann  ") << "Smith ,Ann";
    QTest::newRow("comment") << QByteArray("Name=Smith, Ann ; the champion") << "Smith, Ann";
    QTest::newRow("quoted") << QByteArray("Name=\"Smith, Ann\"") << "Smith, Ann";
    QTest::newRow("non-ASCII list") << QByteArray("Name=Zo\xc3\xab, Ann") << QString::fromUtf8("Zo\u00eb, Ann");
}

void SettingsTest::valuesReadBackAsText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    GameFixture g;
    const QString path = g.settings.FileName("Quintor");
    if (line.isEmpty()) {
        QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "1,000"}, {"Name", name}}));
    } else {
        QVERIFY(WriteFile(path, "[Other]\nName=Nope\n[QuintorHighscore]\nScore=1,000\n" + line + "\n"));
    }
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("1,000"));
    QCOMPARE(g.f().lblHighscoreName->text(), name);

    // "1,000" reads as 1, so the game beats it and keeps the new score.
    PlayWinningGame(g);
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("305"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Ann"));
}

void SettingsTest::failedSaveOnAPartlyFilledFile()
{
    GameFixture g;
    const QString path = g.settings.FileName("Quintor");
    QVERIFY(WriteFile(path, "[QuintorHighscore]\nScore=100\n"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    g.reopen();
    PlayWinningGame(g);
    QVERIFY(SawFailureMessage(g.dialogs));
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("100"));
        QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));
        g.reopen();
    }
}

void SettingsTest::anotherCopySavingMeanwhileIsWaitedFor()
{
    GameFixture g;
    QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "10"}, {"Name", "Eve"}}));
    g.reopen();

    g.newGame({"Ann"});
    for (qsizetype i = 0; i + 1 < FullCard.size(); ++i) {
        g.roll(FullCard[i].dice);
        g.clickCategory(FullCard[i].row);
    }
    // Another copy of the game holds the lock and is about to store 500.
    QLockFile lock(g.settings.LockFileName("Quintor"));
    QVERIFY(lock.tryLock());
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        SettingsStore(g.dir.path()).SaveSettings("Quintor", "QuintorHighscore", {{"Score", "500"}, {"Name", "Bob"}});
        lock.unlock();
    });
    g.roll(FullCard.last().dice);
    g.clickCategory(FullCard.last().row);
    other.join();

    QVERIFY(!g.dialogs.messageTexts().contains("New Highscore !!"));
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("500"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Bob"));
    QVERIFY(ReadAll(g.settings.FileName("Quintor")).contains("Score=500"));
}

void SettingsTest::rootlessHomeIsInTheTempFolder()
{
    if (RootlessHome.isEmpty())
        QSKIP("not started as root");
    QCOMPARE(QFileInfo(RootlessHome).canonicalPath(), QFileInfo(QDir::tempPath()).canonicalFilePath());
}

int main(int argc, char *argv[])
{
    if (!DropRoot()) {
        std::fprintf(stderr, "cannot give up root privileges\n");
        return 1;
    }
    int result;
    {
        QApplication app(argc, argv);
        Fonts::InstallSubstitutes();
        SettingsTest test;
        result = QTest::qExec(&test, argc, argv);
    }
    if (!RootlessHome.isEmpty())
        QDir(RootlessHome).removeRecursively();
    return result;
}

#include "tst_settings.moc"
