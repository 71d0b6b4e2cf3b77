// Writing on a full disk: every file is replaced whole or left exactly as it
// was, and the failure is reported as that file's failures always are. The
// disk, a 64 KiB tmpfs of the test's own, is $QUINTOR_FULL_DISK (see game.cmake).

#include "game/SettingsStore.h"
#include "history/Statistics.h"
#include "strategy/TableCache.h"

#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace history;

namespace {

const QString Disk = qEnvironmentVariable("QUINTOR_FULL_DISK");

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Fills the disk but for `pages` free pages.
void Fill(int pages)
{
    const int fd = open(QFile::encodeName(Disk + "/filler").constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const QByteArray page(4096, 'x');
    while (write(fd, page.constData(), page.size()) == page.size()) {
    }
    QVERIFY(errno == ENOSPC && ftruncate(fd, lseek(fd, 0, SEEK_CUR) - pages * sysconf(_SC_PAGESIZE)) == 0);
    close(fd);
}

GameRecord AllAces(const QString &name)
{
    GameRecord record{QDateTime(QDate(2026, 12, 7), QTime(15, 4), Qt::UTC), {{name, {}, 0, {}}}};
    for (int row = 1; row <= 15; ++row)
        record.players[0].turns.push_back({{{1, 1, 1, 1, 1}}, {}, row, Points({1, 1, 1, 1, 1}, row)});
    record.players[0].total = Total(record.players[0].turns);
    return record;
}

} // namespace

class FullDiskTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (Disk.isEmpty())
            QSKIP("needs a full disk of its own: run it through ctest");
    }
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
        // While there is room, names of one length saved in quick turns
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
        const bool saved = result == SettingsStore::SaveResult::Saved;
        QCOMPARE(store.GetSetting("Quintor", "QuintorHighscore", "Score", "gone"), saved ? "305" : "100");
        QVERIFY(saved || Bytes(store.FileName("Quintor")) == before);
        // Nothing half-written is left behind.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Quintor.conf"});
    }

    void gameRecord()
    {
        QVERIFY(QDir().mkpath(Disk + "/games"));
        Fill(0);
        QString why;
        QVERIFY(!Save(AllAces("Ann"), Disk + "/games", nullptr, &why) && !why.isEmpty());
        QCOMPARE(QDir(Disk + "/games").entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // The ratings are only a help for speed: ones that cannot be rewritten stay as they were.
    void ratings()
    {
        const auto table = strategy::TableCache().LoadOrCompute();
        QTemporaryDir games;
        const QString ratings = Disk + "/ratings.json";
        QVERIFY(table && Save(AllAces("Ann"), games.path()));
        Gather(*table, games.path(), ratings);
        const QByteArray before = Bytes(ratings);
        QVERIFY(before.contains("Ann"));

        QVERIFY(Save(AllAces("Bob"), games.path()));
        Fill(0);
        QCOMPARE(Gather(*table, games.path(), ratings).players.size(), std::size_t(2));
        QCOMPARE(Bytes(ratings), before);
    }
};

QTEST_GUILESS_MAIN(FullDiskTest)
#include "tst_full_disk.moc"
