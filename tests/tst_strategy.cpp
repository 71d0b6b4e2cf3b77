#include "strategy/Strategy.h"
#include "strategy/TableCache.h"

#include <QtTest>

#include <atomic>
#include <cmath>

using namespace strategy;

namespace {

constexpr BookedRows only(int row)
{
    return static_cast<BookedRows>(AllBooked & ~(1u << (row - 1)));
}

constexpr BookedRows rows(std::initializer_list<int> list)
{
    BookedRows b = 0;
    for (int r : list)
        b = static_cast<BookedRows>(b | (1u << (r - 1)));
    return b;
}

// Every throw of five dice, in ascending order, with how many of the 7,776
// ordered throws show it.
QMap<Dice, int> allThrows()
{
    QMap<Dice, int> throws;
    for (int code = 0; code < 7776; ++code) {
        Dice d{};
        for (int i = 0, c = code; i < 5; ++i, c /= 6)
            d[i] = c % 6 + 1;
        std::sort(d.begin(), d.end());
        ++throws[d];
    }
    return throws;
}

} // namespace

class TestStrategy : public QObject {
    Q_OBJECT

    std::shared_ptr<const Table> m_table;

private slots:
    void initTestCase()
    {
        std::atomic<long> lastDone{0}, lastTotal{0};
        QElapsedTimer timer;
        timer.start();
        m_table = Table::Compute([&](long done, long total) {
            // Calls from two threads may arrive out of order; keep the furthest.
            long seen = lastDone.load();
            while (done > seen && !lastDone.compare_exchange_weak(seen, done)) {
            }
            lastTotal = total;
            return true;
        });
        qInfo("table worked out in %lld ms", static_cast<long long>(timer.elapsed()));
        QVERIFY(m_table);
        QVERIFY(lastTotal > 0);
        QCOMPARE(lastDone.load(), lastTotal.load());
    }

    // Figures anyone can check: the whole game, and two endgames by hand.
    void anchors_data()
    {
        QTest::addColumn<int>("booked");
        QTest::addColumn<int>("upperSum");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole game") << 0 << 0 << 248.44;
        QTest::newRow("only Chance left") << int(only(15)) << 0 << 23.33;
        QTest::newRow("only five of a kind left") << int(only(14)) << 0 << 2.30;
        // Only Sixs left: keep every six; each die shows one within three
        // rolls with 1 - (5/6)^3. Four short of the bonus one six will do.
        const double six = 1 - std::pow(5.0 / 6, 3);
        QTest::newRow("only Sixs left, 59 booked") << int(only(6)) << 59 << 30 * six + 50 * (1 - std::pow(1 - six, 5));
        QTest::newRow("only Sixs left, 33 booked: five sixes or no bonus") << int(only(6)) << 33 << 30 * six + 50 * std::pow(six, 5);
        QTest::newRow("only Sixs left, 32 booked: no bonus") << int(only(6)) << 32 << 30 * six;
        QTest::newRow("all booked") << int(AllBooked) << 63 << 0.0;
    }
    void anchors()
    {
        QFETCH(int, booked);
        QFETCH(int, upperSum);
        QFETCH(double, expected);
        QCOMPARE(std::round(m_table->Expected(BookedRows(booked), upperSum) * 100) / 100,
                 std::round(expected * 100) / 100);
    }

    // The choice that is obviously right comes first.
    void obviousChoices_data()
    {
        QTest::addColumn<int>("booked");
        QTest::addColumn<Dice>("dice");
        QTest::addColumn<int>("rollsLeft");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("points");
        for (int left = 0; left <= 2; ++left) {
            QTest::addRow("6 6 6 6 6, new game, %d left", left) << 0 << Dice{6, 6, 6, 6, 6} << left << 14 << 50;
            QTest::addRow("6 6 6 6 6, late, %d left", left)
                << int(rows({1, 2, 3, 7, 8, 11, 12, 15})) << Dice{6, 6, 6, 6, 6} << left << 14 << 50;
        }
        QTest::newRow("5 3 1 4 2, last roll") << 0 << Dice{5, 3, 1, 4, 2} << 0 << 11 << 15;
        QTest::newRow("1 2 3 4 5, last roll, late")
            << int(rows({1, 2, 4, 5, 6, 9, 14})) << Dice{1, 2, 3, 4, 5} << 0 << 11 << 15;
    }
    void obviousChoices()
    {
        QFETCH(int, booked);
        QFETCH(Dice, dice);
        QFETCH(int, rollsLeft);
        QFETCH(int, row);
        QFETCH(int, points);
        const auto choices = Advise(*m_table, BookedRows(booked), 0, dice, rollsLeft);
        QVERIFY(!choices.empty());
        QCOMPARE(int(choices.front().action), int(Choice::Action::Book));
        QCOMPARE(choices.front().row, row);
        QCOMPARE(choices.front().points, points);
    }

    // The advice and the table are worked out along different paths: the
    // best first-roll choice, averaged over every throw, must give back the
    // table's value of the position.
    void adviceAgreesWithTable_data()
    {
        QTest::addColumn<int>("booked");
        QTest::addColumn<int>("upperSum");
        QTest::newRow("new game") << 0 << 0;
        QTest::newRow("upper rows nearly done") << int(rows({1, 2, 3, 4, 9, 15})) << 30;
        QTest::newRow("bonus earned") << int(rows({4, 5, 6, 7})) << 75;
        QTest::newRow("two rows left") << int(AllBooked & ~rows({5, 13})) << 40;
    }
    void adviceAgreesWithTable()
    {
        QFETCH(int, booked);
        QFETCH(int, upperSum);
        double sum = 0;
        const auto throws = allThrows();
        for (auto it = throws.begin(); it != throws.end(); ++it)
            sum += it.value() * Advise(*m_table, BookedRows(booked), upperSum, it.key(), 2).front().expected;
        QVERIFY2(std::abs(sum / 7776 - m_table->Expected(BookedRows(booked), upperSum)) < 1e-3,
                 qPrintable(QString::number(sum / 7776, 'f', 5)));
    }

    // Every choice is there once, best first, and a booking counts its
    // points, the bonus it earns and the position it leaves.
    void adviceListsEveryChoice()
    {
        const BookedRows booked = rows({1, 2, 4, 5, 6});
        const Dice dice{3, 3, 3, 1, 2};
        for (int left = 0; left <= 2; ++left) {
            const auto choices = Advise(*m_table, booked, 60, dice, left);
            // Keeps: 2 x 2 x 4 sets out of 1, 2, 3 3 3, less the whole roll.
            QCOMPARE(int(choices.size()), 10 + (left > 0 ? 15 : 0));
            QSet<QVector<int>> keeps;
            for (std::size_t i = 0; i < choices.size(); ++i) {
                if (i > 0)
                    QVERIFY(choices[i - 1].expected >= choices[i].expected);
                if (choices[i].action == Choice::Action::Keep)
                    keeps.insert(QVector<int>(choices[i].kept.begin(), choices[i].kept.end()));
            }
            QCOMPARE(keeps.size(), left > 0 ? 15 : 0);
            for (const Choice &c : choices) {
                if (c.action == Choice::Action::Book && c.row == 3) {
                    QCOMPARE(c.points, 9);
                    QCOMPARE(c.expected, 9 + 50 + m_table->Expected(booked | rows({3}), 69));
                }
            }
        }
    }

    void rejectsWhatCannotBe()
    {
        const Dice good{1, 2, 3, 4, 5};
        QVERIFY(Advise(*m_table, 0, 0, good, 3).empty());
        QVERIFY(Advise(*m_table, 0, 0, good, -1).empty());
        QVERIFY(Advise(*m_table, 0, 0, Dice{1, 2, 3, 4, 7}, 1).empty());
        QVERIFY(Advise(*m_table, 0, 0, Dice{0, 2, 3, 4, 5}, 1).empty());
        QVERIFY(Advise(*m_table, AllBooked, 63, good, 0).empty());
        QVERIFY(Advise(*m_table, rows({1}), 6, good, 0).empty()); // Aces cannot make 6
        QVERIFY(std::isnan(m_table->Expected(rows({6}), 7)));
        QVERIFY(std::isnan(m_table->Expected(rows({4, 5, 6}), 80))); // more than 75
        QVERIFY(std::isnan(m_table->Expected(0x8000, 0)));
        QVERIFY(std::isnan(m_table->Expected(0, -1)));

        QVERIFY(UpperSumPossible(rows({1, 2, 3, 4, 5, 6}), 105));
        QVERIFY(UpperSumPossible(rows({2, 3}), 13));
        QVERIFY(!UpperSumPossible(rows({2, 4}), 13));
        QVERIFY(!UpperSumPossible(rows({7, 8}), 1));
        QVERIFY(!UpperSumPossible(rows({1, 2, 3, 4, 5, 6}), 106));
    }

    void cacheRoundTrip()
    {
        QTemporaryDir dir;
        TableCache cache(dir.path() + "/sub");
        QVERIFY(!cache.Load());
        QVERIFY(cache.Save(*m_table));
        const auto loaded = cache.Load();
        QVERIFY(loaded);
        QVERIFY(std::memcmp(loaded->Values().data(), m_table->Values().data(),
                            Table::ValueCount * sizeof(float)) == 0);
    }

    // A damaged or foreign file is never trusted, and LoadOrCompute then
    // works the table out again and replaces the file.
    void cacheRejectsBadFiles_data()
    {
        QTest::addColumn<int>("offset"); // from the start; negative: from the end
        QTest::addColumn<int>("truncateBy");
        QTest::newRow("value byte flipped") << -4000 << 0;
        QTest::newRow("truncated") << 0 << 1;
        QTest::newRow("foreign magic") << 0 << 0;
        QTest::newRow("other version") << 8 << 0;
        QTest::newRow("other rules") << 16 << 0;
    }
    void cacheRejectsBadFiles()
    {
        QFETCH(int, offset);
        QFETCH(int, truncateBy);
        QTemporaryDir dir;
        int computed = 0;
        TableCache cache(dir.path(), [&](const Progress &) {
            ++computed;
            return m_table;
        });
        QVERIFY(cache.Save(*m_table));
        QFile file(cache.FileName());
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (truncateBy) {
            QVERIFY(file.resize(file.size() - truncateBy));
        } else {
            const qint64 at = offset < 0 ? file.size() + offset : offset;
            file.seek(at);
            char byte = 0;
            file.getChar(&byte);
            file.seek(at);
            file.putChar(char(byte ^ 0x10));
        }
        file.close();
        QVERIFY(!cache.Load());
        QCOMPARE(cache.LoadOrCompute(), m_table);
        QCOMPARE(computed, 1);
        QVERIFY(cache.Load()); // rewritten whole
        QVERIFY(cache.LoadOrCompute());
        QCOMPARE(computed, 1);
    }

    void unwritableFolderStillGivesTable()
    {
        QTemporaryDir dir;
        QFile blocker(dir.path() + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // A folder below a plain file cannot be made, not even by root.
        TableCache cache(dir.path() + "/file/quintor", [&](const Progress &) { return m_table; });
        QVERIFY(!cache.Save(*m_table));
        QCOMPARE(cache.LoadOrCompute(), m_table);
        QVERIFY(!QFileInfo::exists(cache.FileName()));
    }

    // A closing program stops the computation: nothing half-done is handed
    // out, and the workers end almost at once.
    void computationStopsWhenAsked()
    {
        std::atomic<int> calls{0};
        QVERIFY(!Table::Compute([&](long, long) { return ++calls < 10; }));
        QVERIFY(calls < 100);
    }

    void defaultFolderIsTheSharedCache()
    {
        QCOMPARE(TableCache::DefaultFolder(), qEnvironmentVariable("XDG_CACHE_HOME") + "/quintor");
        QVERIFY(!Table::FromValues(std::vector<float>(10)));
    }
};

QTEST_GUILESS_MAIN(TestStrategy)
#include "tst_strategy.moc"
