// Writing on a full disk: every file is replaced whole or left exactly as it
// was, and the failure is reported as that file's failures always are.
//
// The disk is a 64 KiB tmpfs of the test's own, mounted in a mount namespace
// (inside a user namespace when not started as root), so nothing outside
// sees it. Where neither can be made the test says why and is skipped
// (exit status 77).

#include "game/SettingsStore.h"
#include "history/Statistics.h"
#include "strategy/TableCache.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace history;

namespace {

QString Disk;

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Fills the disk but for `pages` free pages.
void Fill(int pages)
{
    const QByteArray name = QFile::encodeName(Disk + "/filler");
    const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const QByteArray page(4096, 'x');
    off_t size = 0;
    while (write(fd, page.constData(), page.size()) == page.size())
        size += page.size();
    QVERIFY(errno == ENOSPC && ftruncate(fd, size - pages * sysconf(_SC_PAGESIZE)) == 0 && close(fd) == 0);
}

GameRecord AllAces(const QString &name)
{
    GameRecord record;
    record.finished = QDateTime(QDate(2026, 12, 7), QTime(15, 4), Qt::UTC);
    record.players.push_back({name, {}, 0, {}});
    for (int row = 1; row <= 15; ++row)
        record.players[0].turns.push_back({{{1, 1, 1, 1, 1}}, {}, row, Points({1, 1, 1, 1, 1}, row)});
    record.players[0].total = Total(record.players[0].turns);
    return record;
}

} // namespace

class FullDiskTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(Disk + "/filler"); }

    void settings_data()
    {
        QTest::addColumn<int>("pages");
        for (int pages = 0; pages <= 4; ++pages)
            QTest::addRow("%d free pages", pages) << pages;
    }
    void settings()
    {
        QFETCH(int, pages);
        const QString folder = Disk + QStringLiteral("/config%1").arg(pages);
        SettingsStore store(folder);
        // While there is room: names of one length saved in quick turns
        // (within one tick of the file clock) each read back as saved.
        for (const QString name : {"Ann", "Eve", "Ann", "Eve", "Ann", "Eve", "Ann", "Eve"}) {
            QVERIFY(store.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "100"}, {"Name", name}}));
            QCOMPARE(store.GetSetting("Quintor", "QuintorHighscore", "Name", {}), name);
        }
        const QByteArray before = Bytes(store.FileName("Quintor"));

        Fill(pages);
        const auto result = store.SaveSettingsIf("Quintor", "QuintorHighscore", "Score", "0",
                                                 [](const QString &) { return true; }, {{"Score", "305"}});
        // One page takes the lock, none is left for the new file.
        if (pages <= 1)
            QCOMPARE(result, SettingsStore::SaveResult::Failed);
        QCOMPARE(store.GetSetting("Quintor", "QuintorHighscore", "Score", "gone"),
                 result == SettingsStore::SaveResult::Saved ? "305" : "100");
        if (result == SettingsStore::SaveResult::Failed)
            QCOMPARE(Bytes(store.FileName("Quintor")), before);
        // Nothing half-written is left behind.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Quintor.conf"});
    }

    void gameRecord()
    {
        const QString folder = Disk + "/games";
        QVERIFY(QDir().mkpath(folder));
        Fill(0);
        QString name, why;
        QVERIFY(!Save(AllAces("Ann"), folder, &name, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // Ratings are only a help for speed: one that cannot be rewritten stays as it was.
    void ratings()
    {
        const auto table = strategy::TableCache().LoadOrCompute();
        QVERIFY(table);
        QTemporaryDir games;
        const QString ratings = Disk + "/ratings.json";
        QVERIFY(Save(AllAces("Ann"), games.path()));
        QCOMPARE(Gather(*table, games.path(), ratings).players.size(), std::size_t(1));
        const QByteArray before = Bytes(ratings);
        QVERIFY(before.contains("Ann"));

        QVERIFY(Save(AllAces("Bob"), games.path()));
        Fill(0);
        QCOMPARE(Gather(*table, games.path(), ratings).players.size(), std::size_t(2));
        QCOMPARE(Bytes(ratings), before);
    }
};

namespace {

bool WriteTo(const char *file, const QByteArray &text)
{
    const int fd = open(file, O_WRONLY);
    const bool written = fd >= 0 && write(fd, text.constData(), std::size_t(text.size())) == text.size();
    return close(fd) == 0 && written;
}

// A 64 KiB tmpfs at Disk, seen by this process alone; else why not.
QString MountOwnDisk()
{
    const QByteArray uid = QByteArray::number(geteuid()), gid = QByteArray::number(getegid());
    if (geteuid() != 0) {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return QStringLiteral("no user namespace: %1").arg(strerror(errno));
        if (!WriteTo("/proc/self/setgroups", "deny") || !WriteTo("/proc/self/uid_map", "0 " + uid + " 1")
            || !WriteTo("/proc/self/gid_map", "0 " + gid + " 1"))
            return QStringLiteral("cannot map the user into its namespace");
    } else if (unshare(CLONE_NEWNS) != 0) {
        return QStringLiteral("no mount namespace: %1").arg(strerror(errno));
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return QStringLiteral("cannot keep mounts private: %1").arg(strerror(errno));
    QByteArray folder = QFile::encodeName(QDir::tempPath() + "/quintor-full-disk-XXXXXX");
    if (!mkdtemp(folder.data()))
        return QStringLiteral("cannot make a folder: %1").arg(strerror(errno));
    Disk = QFile::decodeName(folder);
    if (mount("quintor-full-disk", folder, "tmpfs", 0, "size=64k,mode=700") != 0) {
        const int error = errno;
        rmdir(folder);
        return QStringLiteral("cannot mount a tmpfs: %1").arg(strerror(error));
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    // Before any thread starts: a user namespace takes only a single-threaded process.
    if (const QString why = MountOwnDisk(); !why.isEmpty()) {
        std::fprintf(stderr, "SKIP: a full disk cannot be made here (%s)\n", qPrintable(why));
        return 77;
    }
    QCoreApplication app(argc, argv);
    FullDiskTest test;
    const int result = QTest::qExec(&test, argc, argv);
    umount2(QFile::encodeName(Disk), MNT_DETACH);
    rmdir(QFile::encodeName(Disk));
    return result;
}

#include "tst_full_disk.moc"
