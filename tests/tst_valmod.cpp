#include "scoring/valmod.h"

#include <QtTest>

#include <algorithm>
#include <numeric>
#include <vector>

using namespace valmod;

namespace {

constexpr int ThrowCount = 7 * 7 * 7 * 7 * 7; // faces 0..6 on five dice

DiceArray throwFromCode(int code)
{
    DiceArray dice{};
    for (int d = 0; d < DiceCount; ++d, code /= 7)
        dice[d] = static_cast<std::int16_t>(code % 7);
    return dice;
}

int codeOf(const DiceArray &dice)
{
    int code = 0;
    for (int d = DiceCount - 1; d >= 0; --d)
        code = code * 7 + dice[d];
    return code;
}

QString describe(const DiceArray &dice)
{
    QStringList faces;
    for (auto v : dice)
        faces << QString::number(v);
    return faces.join(u'-');
}

QString describe(const CategoryArray &values)
{
    QStringList rows;
    for (int row = 1; row <= CategoryCount; ++row)
        rows << QString::number(values[row]);
    return rows.join(u", ");
}

// What each category means, worked out from the multiset of real faces
// rather than by the evaluation's loops. A die at 0 is no face at all.
CategoryArray expectedValues(const DiceArray &dice)
{
    std::vector<int> faces; // real faces, highest first
    for (auto v : dice)
        if (v >= 1 && v <= 6)
            faces.push_back(v);
    std::sort(faces.rbegin(), faces.rend());

    // Distinct faces with their multiplicities, highest face first.
    std::vector<std::pair<int, int>> groups;
    for (int f : faces) {
        if (!groups.empty() && groups.back().first == f)
            ++groups.back().second;
        else
            groups.push_back({f, 1});
    }
    std::vector<int> repeated; // faces shown by two or more dice, highest first
    std::vector<int> shape;    // multiplicities, largest first
    for (auto [face, count] : groups) {
        if (count >= 2)
            repeated.push_back(face);
        shape.push_back(count);
    }
    std::sort(shape.rbegin(), shape.rend());
    const auto faceWithAtLeast = [&](int n) {
        for (auto [face, count] : groups)
            if (count >= n)
                return face;
        return 0;
    };
    const bool hasFace6 = !faces.empty() && faces.front() == 6;
    const bool hasFace1 = !faces.empty() && faces.back() == 1;
    const int sum = std::accumulate(faces.begin(), faces.end(), 0);

    CategoryArray v{};
    for (auto [face, count] : groups)
        v[face] = static_cast<std::int16_t>(face * count);
    v[7] = static_cast<std::int16_t>(repeated.empty() ? 0 : 2 * repeated[0]);
    v[8] = static_cast<std::int16_t>(repeated.size() == 2 ? 2 * (repeated[0] + repeated[1]) : 0);
    v[9] = static_cast<std::int16_t>(3 * faceWithAtLeast(3));
    v[10] = static_cast<std::int16_t>(4 * faceWithAtLeast(4));
    v[11] = repeated.empty() && !hasFace6 ? 15 : 0;
    v[12] = repeated.empty() && !hasFace1 ? 20 : 0;
    v[13] = static_cast<std::int16_t>(shape == std::vector<int>{3, 2} ? sum : 0);
    v[14] = shape == std::vector<int>{5} ? 50 : 0;
    v[15] = static_cast<std::int16_t>(sum);
    return v;
}

// Evaluates on the shared arrays, as the game does after a roll.
CategoryArray evaluateShared(const DiceArray &dice)
{
    DiceValue = dice;
    EvaluateDice();
    return CategoryValue;
}

} // namespace

// QVERIFY2 builds its message even on success; over 16,807 throws that
// dominates the run time, so only describe a throw that failed.
#define VERIFY_THROW(cond, what)                                                               \
    do {                                                                                       \
        if (!(cond))                                                                           \
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(describe(dice), QStringLiteral(what)))); \
    } while (false)

class TestValmod : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void knownThrows_data();
    void knownThrows();
    void everyThrowMatchesTheRules();
    void everyThrowIsFreshAndOrderFree();
};

void TestValmod::initTestCase()
{
    // Must run before any evaluation: the shared arrays start at zero.
    QCOMPARE(DiceValue, DiceArray{});
    QCOMPARE(FaceCount, FaceArray{});
    QCOMPARE(CategoryValue, CategoryArray{});
}

void TestValmod::knownThrows_data()
{
    QTest::addColumn<QList<int>>("dice");
    QTest::addColumn<QList<int>>("values");

    const auto row = [](QList<int> dice, QList<int> values) {
        QStringList name;
        for (int v : dice)
            name << QString::number(v);
        QTest::newRow(qPrintable(name.join(u'-'))) << dice << values;
    };
    row({6, 6, 6, 6, 6}, {0, 0, 0, 0, 0, 30, 12, 0, 18, 24, 0, 0, 0, 50, 30});
    row({2, 2, 3, 3, 3}, {0, 4, 9, 0, 0, 0, 6, 10, 9, 0, 0, 0, 13, 0, 13});
    row({3, 3, 3, 5, 5}, {0, 0, 9, 0, 10, 0, 10, 16, 9, 0, 0, 0, 19, 0, 19});
    row({1, 1, 1, 2, 2}, {3, 4, 0, 0, 0, 0, 4, 6, 3, 0, 0, 0, 7, 0, 7});
    row({4, 4, 4, 4, 1}, {1, 0, 0, 16, 0, 0, 8, 0, 12, 16, 0, 0, 0, 0, 17});
    row({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 15, 0, 0, 0, 15});
    row({5, 3, 1, 4, 2}, {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 15, 0, 0, 0, 15});
    row({2, 3, 4, 5, 6}, {0, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 20, 0, 0, 20});
    row({1, 2, 3, 4, 6}, {1, 2, 3, 4, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 16});
    row({1, 1, 2, 2, 6}, {2, 4, 0, 0, 0, 6, 4, 6, 0, 0, 0, 0, 0, 0, 12});
    row({6, 6, 5, 5, 4}, {0, 0, 0, 4, 10, 12, 12, 22, 0, 0, 0, 0, 0, 0, 26});
    row({1, 2, 3, 4, 0}, {1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 15, 0, 0, 0, 10});
    row({0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, 20, 0, 0, 0});
}

void TestValmod::knownThrows()
{
    QFETCH(QList<int>, dice);
    QFETCH(QList<int>, values);

    DiceArray d{};
    std::copy(dice.begin(), dice.end(), d.begin());
    const CategoryArray got = evaluateShared(d);

    QList<int> rows(got.begin() + 1, got.end());
    QCOMPARE(rows, values);
    QCOMPARE(DiceValue, d); // the evaluation only reads the dice
}

void TestValmod::everyThrowMatchesTheRules()
{
    for (int code = 0; code < ThrowCount; ++code) {
        const DiceArray dice = throwFromCode(code);
        const CategoryArray expected = expectedValues(dice);
        const CategoryArray got = evaluateShared(dice);
        if (got != expected) {
            QFAIL(qPrintable(QStringLiteral("%1: got %2, expected %3")
                                 .arg(describe(dice), describe(got), describe(expected))));
        }

        VERIFY_THROW(DiceValue == dice, "the dice were changed");

        int counted = 0;
        for (int f = 1; f <= 6; ++f) {
            const auto n = std::count(dice.begin(), dice.end(), f);
            VERIFY_THROW(FaceCount[f] == n, "face count");
            counted += FaceCount[f];
        }
        const auto nonZero = DiceCount - std::count(dice.begin(), dice.end(), 0);
        VERIFY_THROW(counted == nonZero, "dice counted");

        const auto [lo, hi] = std::minmax_element(got.begin() + 1, got.end());
        VERIFY_THROW(*lo >= 0 && *hi <= 50, "value out of 0..50");
        if (got[13] != 0)
            VERIFY_THROW(got[13] == std::accumulate(dice.begin(), dice.end(), 0),
                         "Full House is not the sum");
    }
}

void TestValmod::everyThrowIsFreshAndOrderFree()
{
    // A fresh evaluation of every throw, straight from the pure function.
    std::vector<Evaluation> fresh;
    fresh.reserve(ThrowCount);
    for (int code = 0; code < ThrowCount; ++code)
        fresh.push_back(Evaluate(throwFromCode(code)));

    for (int code = 0; code < ThrowCount; ++code) {
        const DiceArray dice = throwFromCode(code);
        const Evaluation &want = fresh[code];

        // After the mirror throw (each die 6 - face, so pairs, zeros and
        // straights all move), and after values no throw can give: nothing
        // of either may leak into the result.
        evaluateShared(throwFromCode(ThrowCount - 1 - code));
        evaluateShared(dice);
        VERIFY_THROW(CategoryValue == want.categoryValue && FaceCount == want.faceCount,
                     "differs after another throw");

        FaceCount.fill(99);
        CategoryValue.fill(99);
        evaluateShared(dice);
        VERIFY_THROW(CategoryValue == want.categoryValue && FaceCount == want.faceCount,
                     "differs after garbage in the arrays");

        // Twice in a row on the same dice gives the same values.
        EvaluateDice();
        VERIFY_THROW(CategoryValue == want.categoryValue, "differs when evaluated twice");

        // Every arrangement of these dice is enumerated too; each must score
        // like the sorted one.
        DiceArray sorted = dice;
        std::sort(sorted.begin(), sorted.end());
        VERIFY_THROW(want.categoryValue == fresh[codeOf(sorted)].categoryValue,
                     "scores unlike the same dice sorted");
    }
}

QTEST_APPLESS_MAIN(TestValmod)
#include "tst_valmod.moc"
