#include "scoring/valmod.h"

namespace valmod {

// Static storage: all three start at zero when the program starts.
DiceArray DiceValue{};
FaceArray FaceCount{};
CategoryArray CategoryValue{};

namespace {

enum Row : int {
    Pair = 7,
    TwoPair = 8,
    ThreeOfAKind = 9,
    FourOfAKind = 10,
    SmallStraight = 11,
    LargeStraight = 12,
    FullHouse = 13,
    FiveOfAKind = 14,
    Chance = 15,
};

void countInto(const DiceArray &dice, FaceArray &faceCount)
{
    // A die at 0 (held before it was ever rolled) matches no face.
    for (int f = 1; f <= 6; ++f)
        for (int d = 0; d < DiceCount; ++d)
            faceCount[f] = static_cast<std::int16_t>(faceCount[f] + (dice[d] == f));
}

// Everything after the face count. Expects cv zeroed and fc counted; each
// step reads what the earlier ones wrote, so the order below is fixed.
// The steps work on locals and store once: conditional updates of locals
// compile to branch-free code, which matters as throws are random.
void applyRules(const DiceArray &dice, const FaceArray &fc, CategoryArray &cv)
{
    for (int f = 1; f <= 6; ++f)
        cv[f] = static_cast<std::int16_t>(f * fc[f]);

    // The first face from the top with two dice: the highest pair wins, even
    // over a lower face with more dice.
    int pair = 0;
    for (int f = 6; f >= 1; --f)
        if (pair == 0 && fc[f] >= 2)
            pair = 2 * f;

    // Five dice allow at most one face per test, so the direction is moot.
    int three = 0, four = 0, five = 0;
    for (int f = 6; f >= 1; --f) {
        if (fc[f] >= 3)
            three = 3 * f;
        if (fc[f] >= 4)
            four = 4 * f;
        if (fc[f] == 5)
            five = 50;
    }

    // No repeated face: with five real dice that leaves exactly 1-5 or 2-6.
    // Dice at 0 are not looked at, so an unrolled die does not spoil it.
    const bool noRepeat = pair == 0 && three == 0 && four == 0 && five == 0;
    const int small = fc[6] == 0 && noRepeat ? 15 : 0;
    const int large = fc[1] == 0 && noRepeat ? 20 : 0;

    int twoPair = 0, fullHouse = 0;
    for (int f = 1; f <= 6; ++f) {
        // A triple counts as the second pair; the Pair face itself is excluded.
        if (fc[f] >= 2 && f != pair / 2)
            twoPair = pair + 2 * f;
        // An exact pair beside a triple: the sum of all five dice.
        if (fc[f] == 2 && three > 0 && f != three / 3)
            fullHouse = three + 2 * f;
    }

    int chance = 0;
    for (int d = 0; d < DiceCount; ++d)
        chance += dice[d];

    const auto put = [&cv](int row, int value) { cv[row] = static_cast<std::int16_t>(value); };
    put(Pair, pair);
    put(TwoPair, twoPair);
    put(ThreeOfAKind, three);
    put(FourOfAKind, four);
    put(SmallStraight, small);
    put(LargeStraight, large);
    put(FullHouse, fullHouse);
    put(FiveOfAKind, five);
    put(Chance, chance);
}

} // namespace

void ClearValues()
{
    CategoryValue.fill(0);
    FaceCount.fill(0);
}

void CountFaces()
{
    countInto(DiceValue, FaceCount);
}

void EvaluateDice()
{
    ClearValues();
    CountFaces();
    applyRules(DiceValue, FaceCount, CategoryValue);
}

Evaluation Evaluate(const DiceArray &dice)
{
    Evaluation e; // zero-initialised, like the arrays after ClearValues
    countInto(dice, e.faceCount);
    applyRules(dice, e.faceCount, e.categoryValue);
    return e;
}

} // namespace valmod
