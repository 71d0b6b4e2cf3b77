// The dice's random source: reseeding never restarts the sequence, and the
// faces come out uniform.

#include "game/Random.h"

#include <QSet>
#include <QTest>
#include <array>

namespace {

// Pearson's chi-square of face counts against a uniform distribution.
double ChiSquare(const std::array<long, 7> &counts, long draws)
{
    const double expected = double(draws) / 6.0;
    double chi = 0;
    for (int face = 1; face <= 6; ++face)
        chi += (counts[face] - expected) * (counts[face] - expected) / expected;
    return chi;
}

template <typename Random>
std::array<long, 7> CountFaces(Random &random, long draws)
{
    std::array<long, 7> counts{};
    for (long i = 0; i < draws; ++i) {
        random.Randomize();  // as the game does, before every draw
        const int face = DieFace(random.Rnd());
        if (face < 1 || face > 6)
            return {};
        ++counts[face];
    }
    return counts;
}

} // namespace

class RandomTest : public QObject {
    Q_OBJECT

private slots:
    void dieFaceMapping_data();
    void dieFaceMapping();
    void everyDrawOnTheGridMapsEvenly();
    void drawsStayBelowOne();
    void extremeBitsOfTheGenerator_data();
    void extremeBitsOfTheGenerator();
    void reseedingWithAnUnchangedClockDoesNotRestart();
    void sameSeedReplaysTheSameGame();
    void facesAreUniform();
};

void RandomTest::dieFaceMapping_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("face");
    QTest::newRow("zero") << 0.0f << 1;
    QTest::newRow("below a sixth") << 0.1666666f << 1;
    QTest::newRow("a sixth") << 1.0f / 6.0f << 2;
    QTest::newRow("a half") << 0.5f << 4;
    QTest::newRow("below five sixths") << 0.8333333f << 5;
    QTest::newRow("above five sixths") << 0.8333334f << 6;
    QTest::newRow("largest below one") << 0.99999994f << 6;
}

void RandomTest::dieFaceMapping()
{
    QFETCH(float, r);
    QFETCH(int, face);
    QCOMPARE(DieFace(r), face);
}

void RandomTest::everyDrawOnTheGridMapsEvenly()
{
    // Rnd yields multiples of 2^-24; every face gets a share within one.
    std::array<long, 7> counts{};
    for (std::uint32_t k = 0; k < (1u << 24); ++k)
        ++counts[DieFace(float(k) * (1.0f / 16777216.0f))];
    QCOMPARE(counts[0], 0L);
    for (int face = 1; face <= 6; ++face)
        QVERIFY2(counts[face] == 2796202 || counts[face] == 2796203, qPrintable(QString::number(counts[face])));
}

void RandomTest::drawsStayBelowOne()
{
    XoshiroRandom random(7);
    float lowest = 1, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = random.Rnd();
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    QVERIFY(lowest >= 0.0f && lowest < 0.001f);
    QVERIFY(highest < 1.0f && highest > 0.999f);
}

void RandomTest::extremeBitsOfTheGenerator_data()
{
    QTest::addColumn<quint64>("bits");
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("face");
    QTest::newRow("all clear") << quint64(0) << 0.0f << 1;
    QTest::newRow("unused low bits") << quint64(0xFFFFFFFFFFull) << 0.0f << 1;
    QTest::newRow("lowest bit used") << (quint64(1) << 40) << 0x1p-24f << 1;
    QTest::newRow("all set, the largest") << ~quint64(0) << 1.0f - 0x1p-24f << 6;
}

void RandomTest::extremeBitsOfTheGenerator()
{
    QFETCH(quint64, bits);
    QFETCH(float, draw);
    QFETCH(int, face);
    // Exactly: QCOMPARE's fuzzy float compare takes 1.0 for 1 - 2^-24.
    const float got = UnitFloat(bits);
    QVERIFY2(got == draw, qPrintable(QString::number(got, 'g', 9)));
    QCOMPARE(DieFace(got), face);
}

void RandomTest::reseedingWithAnUnchangedClockDoesNotRestart()
{
    // SeededRandom reads a clock that never moves: the worst case of five
    // dice drawn within one clock tick.
    SeededRandom random(42);
    QSet<float> seen;
    QList<int> faces;
    for (int i = 0; i < 1000; ++i) {
        random.Randomize();
        const float r = random.Rnd();
        seen.insert(r);
        faces.append(DieFace(r));
    }
    // A reseed that replaced the state would give one value over and over.
    QVERIFY(seen.size() > 990);
    // Nor do the five dice of one tick repeat the five of the next.
    int repeats = 0;
    for (int i = 5; i < faces.size(); ++i)
        repeats += faces[i] == faces[i - 5] ? 1 : 0;
    QVERIFY2(repeats < 250, qPrintable(QString::number(repeats)));
}

void RandomTest::sameSeedReplaysTheSameGame()
{
    SeededRandom a(2024), b(2024), c(2025);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        a.Randomize();
        b.Randomize();
        c.Randomize();
        const float ra = a.Rnd();
        QCOMPARE(b.Rnd(), ra);
        differs = differs || c.Rnd() != ra;
    }
    QVERIFY(differs);
    // So do seeds that differ only above bit 31.
    for (const quint64 high : {quint64(1) << 32, quint64(1) << 63}) {
        SeededRandom low(2024), other(2024 | high);
        bool same = true;
        for (int i = 0; i < 20; ++i)
            same = same && low.Rnd() == other.Rnd();
        QVERIFY(!same);
    }
}

void RandomTest::facesAreUniform()
{
    constexpr long Draws = 60000;
    SeededRandom seeded(1);
    const auto seededCounts = CountFaces(seeded, Draws);
    // 20.5 is the 0.1 % point of chi-square with five degrees of freedom.
    QVERIFY2(ChiSquare(seededCounts, Draws) < 20.5, qPrintable(QString::number(ChiSquare(seededCounts, Draws))));

    // With the real clock the outcome varies from run to run; a generous
    // bound keeps this from ever flaking while still catching a bias.
    XoshiroRandom clocked(1);
    const auto clockedCounts = CountFaces(clocked, Draws);
    QVERIFY2(ChiSquare(clockedCounts, Draws) < 45.0, qPrintable(QString::number(ChiSquare(clockedCounts, Draws))));
}

QTEST_APPLESS_MAIN(RandomTest)
#include "tst_random.moc"
