#include "strategy/Levels.h"
#include "strategy/Strategy.h"
#include "strategy/TableCache.h"
#include "strategy/Wording.h"

#include <QtTest>

#include <atomic>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

using namespace strategy;

namespace {

template <typename... Row>
constexpr BookedRows rows(Row... row) { return BookedRows(((1u << (row - 1)) | ... | 0u)); }
constexpr int only(int row) { return AllBooked & ~rows(row); }

QString Best(const Table &table, const Dice &dice, int rollsLeft)
{
    const auto choices = Advise(table, 0, 0, dice, rollsLeft);
    return choices.empty() ? QString() : Describe(choices.front());
}

} // namespace

class TestStrategy : public QObject {
    Q_OBJECT
    std::shared_ptr<const Table> m_table;

private slots:
    // Stopped by a closing program, the work ends at once and hands out nothing half-done.
    void initTestCase()
    {
        std::atomic<int> calls{0};
        QVERIFY(!Table::Compute([&](long, long) { return ++calls < 10; }));
        QVERIFY(calls < 100);
        std::atomic<bool> finished{false};
        m_table = Table::Compute([&](long done, long total) {
            if (done == total)
                finished = true;
            return true;
        });
        QVERIFY(m_table && finished);
    }

    // Figures anyone can check: the whole game, and endgames by hand.
    void anchors_data()
    {
        QTest::addColumn<int>("booked");
        QTest::addColumn<int>("upperSum");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole game") << 0 << 0 << 248.44;
        QTest::newRow("only Chance left") << only(15) << 0 << 23.33;
        QTest::newRow("only Quinthor left") << only(14) << 0 << 2.30;
        // Only Sixs left: keep sixes, each die shows one with 1 - (5/6)^3; at 33 only five earn the bonus.
        const double six = 1 - std::pow(5.0 / 6, 3);
        QTest::newRow("only Sixs, 33 booked") << only(6) << 33 << 30 * six + 50 * std::pow(six, 5);
        QTest::newRow("only Sixs, 32 booked: no bonus") << only(6) << 32 << 30 * six;
    }
    void anchors()
    {
        QFETCH(int, booked);
        QFETCH(int, upperSum);
        QFETCH(double, expected);
        QCOMPARE(qRound(m_table->Expected(BookedRows(booked), upperSum) * 100), qRound(expected * 100));
    }

    // The obviously right booking comes first, however many rolls are left.
    void obviousChoices()
    {
        for (int left = 0; left <= 2; ++left)
            QCOMPARE(Best(*m_table, {6, 6, 6, 6, 6}, left), "book Quinthor for 50");
        QCOMPARE(Best(*m_table, {5, 3, 1, 4, 2}, 0), "book Small Straight for 15");
        // Only Chance open and five aces with one roll left: roll them all.
        const auto chance = Advise(*m_table, only(15), 0, {1, 1, 1, 1, 1}, 1);
        QVERIFY(!chance.empty());
        QCOMPARE(Describe(chance.front()), "roll all 5 dice");
    }

    // A booking counts its points, the bonus it earns and the position it leaves; averaged
    // over every first throw, the best choices give back the table's value, worked out apart.
    void adviceAgreesWithTable()
    {
        const BookedRows booked = rows(1, 2, 4, 5, 6);
        const auto choices = Advise(*m_table, booked, 60, Dice{3, 3, 3, 1, 2}, 1);
        QCOMPARE(int(choices.size()), 10 + 15); // keeps: 2 x 2 x 4 sets of 1, 2, 3 3 3 less all five
        for (const Choice &c : choices)
            if (c.action == Choice::Action::Book && c.row == 3)
                QCOMPARE(c.expected, 9 + 50 + m_table->Expected(booked | rows(3), 69));
        // Over every throw: the best with two rolls left gives the table, the
        // best with none left gives rolling all five with one left.
        double sum = 0, lastRoll = 0;
        for (int code = 0; code < 7776; ++code) {
            Dice d{};
            for (int i = 0, c = code; i < 5; ++i, c /= 6)
                d[i] = c % 6 + 1;
            sum += Advise(*m_table, booked, 60, d, 2).front().expected;
            lastRoll += Advise(*m_table, booked, 60, d, 0).front().expected;
        }
        QVERIFY2(std::abs(sum / 7776 - m_table->Expected(booked, 60)) < 1e-3, qPrintable(QString::number(sum / 7776)));
        for (const Choice &c : choices)
            if (c.action == Choice::Action::Keep && c.kept.empty())
                QVERIFY2(std::abs(c.expected - lastRoll / 7776) < 1e-3, qPrintable(QString::number(c.expected)));
    }

    // Seeded games at each level lose about what the level is meant to, and
    // what the games scored plus what they lost averages perfect play.
    void levelsLoseWhatTheyShould()
    {
        for (const auto &[level, target] : {std::pair{Level::Easy, 60.0}, {Level::Medium, 35.0}, {Level::Hard, 15.0}, {Level::Perfect, 0.0}}) {
            LevelRandom dice(11), choices(12);
            constexpr int games = 250;
            double total = 0, loss = 0;
            for (int g = 0; g < games; ++g) {
                const GameResult r = PlayGame(*m_table, level, [&] { return int(dice.Next() % 6) + 1; }, choices);
                total += r.total;
                loss += r.loss;
            }
            const QString figures = QStringLiteral("%1: total %2, loss %3").arg(LevelName(level)).arg(total / games).arg(loss / games);
            QVERIFY2(std::abs(loss / games - target) < 8, qPrintable(figures));
            QVERIFY2(std::abs((total + loss) / games - 248.44) < 12, qPrintable(figures));
        }
    }

    // However weak, no level ever throws away more than MaxMistake points at once.
    void noLevelMakesABigMistake()
    {
        LevelRandom random(3);
        int risky = 0; // positions that offer such a mistake
        for (int n = 0; n < 3000; ++n) {
            const auto booked = BookedRows(random.Next() % AllBooked);
            int upper = int(random.Next() % (MostUpperSum + 1));
            while (!UpperSumPossible(booked, upper))
                upper = upper > 0 ? upper - 1 : 0;
            Dice dice{};
            for (int &d : dice)
                d = int(random.Next() % 6) + 1;
            const auto choices = Advise(*m_table, booked, upper, dice, int(random.Next() % 3));
            QVERIFY(!choices.empty());
            const double best = choices.front().expected;
            risky += best - choices.back().expected > MaxMistake ? 1 : 0;
            for (Level level : Levels)
                for (int draw = 0; draw < 3; ++draw)
                    QVERIFY(best - choices[Choose(level, choices, random)].expected <= MaxMistake);
        }
        QVERIFY(risky > 500);
    }

    // The cap holds wherever the draw lands, to its very end, whatever the level.
    void noDrawPassesTheCap()
    {
        const auto costing = [](std::initializer_list<double> costs) {
            std::vector<Choice> choices;
            for (double cost : costs)
                choices.push_back({Choice::Action::Keep, {}, 0, 0, 100 - cost});
            return choices;
        };
        for (const auto &choices : {costing({0, 25.01}), costing({0, 1, 20, 25, 25.01, 90})})
            for (Level level : Levels)
                for (double draw : {0.0, 0.5, 0.999, std::nextafter(1.0, 0.0)}) {
                    const std::size_t i = Choose(level, choices, draw);
                    QVERIFY(i < choices.size() && 100 - choices[i].expected <= MaxMistake);
                    QVERIFY(draw > 0 || i == 0);
                }
        // Seeds that differ only above bit 31 draw otherwise.
        QVERIFY(LevelRandom(5).Next() != LevelRandom(5 | std::uint64_t{1} << 40).Next());
    }

    // Nothing out of range is ever looked up.
    void rejectsWhatCannotBe()
    {
        const Dice good{1, 2, 3, 4, 5};
        for (const auto &[dice, left] : {std::pair{Dice{1, 2, 3, 4, 7}, 1}, {Dice{0, 2, 3, 4, 5}, 1}, {good, -1}, {good, 3}})
            QVERIFY(Advise(*m_table, 0, 0, dice, left).empty());
        QVERIFY(Advise(*m_table, AllBooked, 63, good, 1).empty());
        QVERIFY(std::isnan(m_table->Expected(0x8000, 0)));
        QVERIFY(std::isnan(m_table->Expected(0, -1)));
        QVERIFY(!UpperSumPossible(rows(1, 2, 3, 4, 5, 6), 106));
    }

    // A damaged or foreign file is never trusted: the table is worked out and saved again.
    void cacheRejectsBadFiles_data()
    {
        QTest::addColumn<int>("offset"); // of the byte to flip; 0: cut off the last byte instead
        QTest::newRow("value byte flipped") << 32 + 4 * 1000;
        QTest::newRow("truncated") << 0;
        QTest::newRow("foreign magic") << 1;
        QTest::newRow("other version") << 8;
        QTest::newRow("other rules") << 16;
    }
    void cacheRejectsBadFiles()
    {
        QFETCH(int, offset);
        QTemporaryDir dir;
        TableCache cache(dir.path() + "/sub", [&](const Progress &) { return m_table; });
        QVERIFY(cache.Save(*m_table));
        QFile file(cache.FileName());
        QVERIFY(file.open(QIODevice::ReadWrite));
        char byte = 0;
        if (offset == 0)
            QVERIFY(file.resize(file.size() - 1));
        else
            QVERIFY(file.seek(offset) && file.getChar(&byte) && file.seek(offset) && file.putChar(char(byte ^ 0x10)));
        file.close();
        QVERIFY(!cache.Load());
        QCOMPARE(cache.LoadOrCompute(), m_table); // worked out, not read
        const auto reread = cache.Load();
        QVERIFY(reread && std::memcmp(reread->Values().data(), m_table->Values().data(), Table::ValueCount * 4) == 0);
    }

    void unwritableFolderStillGivesTable()
    {
        QTemporaryDir dir;
        QVERIFY(QFile(dir.path() + "/file").open(QIODevice::WriteOnly));
        // A folder below a plain file cannot be made, not even by root.
        TableCache cache(dir.path() + "/file/quintor", [&](const Progress &) { return m_table; });
        QString why;
        QCOMPARE(cache.LoadOrCompute({}, &why), m_table);
        QVERIFY(!why.isEmpty()); // so the coach can say why every run takes seconds
    }

    // A cache that is no regular file is never waited on (a FIFO would block
    // the open for good) and never replaced (saving through a link would
    // rename a plain file over whatever it points at). A link to a regular
    // file elsewhere is the user's own choice and keeps working.
    void cacheThatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to a FIFO") << "link to fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to a regular file") << "link to file";
    }
    void cacheThatIsNotARegularFile()
    {
        QFETCH(QString, what);
        QTemporaryDir dir;
        TableCache cache(dir.path(), [&](const Progress &) { return m_table; });
        const QByteArray name = QFile::encodeName(cache.FileName());
        const QByteArray target = QFile::encodeName(dir.filePath("elsewhere"));
        if (what == "fifo")
            QVERIFY(mkfifo(name, 0600) == 0);
        if (what == "link to fifo")
            QVERIFY(mkfifo(target, 0600) == 0 && symlink(target, name) == 0);
        if (what == "folder")
            QVERIFY(QDir(dir.path()).mkdir("strategy-table.bin"));
        if (what == "link to file")
            QVERIFY(symlink(target, name) == 0);

        QString why;
        QCOMPARE(cache.LoadOrCompute({}, &why), m_table);
        struct stat st {};
        QVERIFY(lstat(name, &st) == 0);
        if (what == "link to file") {
            QVERIFY(why.isEmpty());
            QVERIFY(S_ISLNK(st.st_mode));
            QVERIFY(cache.Load() && QFileInfo(QString::fromLocal8Bit(target)).size() > qint64{Table::ValueCount} * 4);
            return;
        }
        QVERIFY(!why.isEmpty());
        QCOMPARE(st.st_mode & S_IFMT, what == "fifo" ? S_IFIFO : what == "folder" ? S_IFDIR : S_IFLNK);
        if (what == "link to fifo")
            QVERIFY(stat(target, &st) == 0 && S_ISFIFO(st.st_mode));
    }
};

QTEST_GUILESS_MAIN(TestStrategy)
#include "tst_strategy.moc"
