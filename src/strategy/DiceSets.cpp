#include "strategy/DiceSets.h"

#include "scoring/valmod.h"

#include <algorithm>
#include <vector>

namespace strategy::detail {

namespace {

int keyOf(const FaceCounts &counts)
{
    int key = 0;
    for (int f = 1; f <= 6; ++f)
        key = key * 6 + counts[f];
    return key;
}

// All face counts with exactly `dice` dice, in lexicographic order of counts.
void collect(int dice, int face, FaceCounts &counts, std::vector<FaceCounts> &out)
{
    if (face == 6) {
        counts[6] = static_cast<std::uint8_t>(dice);
        out.push_back(counts);
        return;
    }
    for (int n = dice; n >= 0; --n) {
        counts[face] = static_cast<std::uint8_t>(n);
        collect(dice - n, face + 1, counts, out);
    }
}

// Every set of dice that can be kept out of `counts`, more dice first, then
// in descending order of face counts; the whole roll itself is left out.
std::vector<FaceCounts> keepsOf(const FaceCounts &counts)
{
    std::vector<FaceCounts> keeps;
    FaceCounts k{};
    const auto walk = [&](auto &&self, int face) -> void {
        if (face > 6) {
            if (k != counts)
                keeps.push_back(k);
            return;
        }
        for (int n = counts[face]; n >= 0; --n) {
            k[face] = static_cast<std::uint8_t>(n);
            self(self, face + 1);
        }
    };
    walk(walk, 1);
    const auto size = [](const FaceCounts &c) {
        int n = 0;
        for (int f = 1; f <= 6; ++f)
            n += c[f];
        return n;
    };
    std::stable_sort(keeps.begin(), keeps.end(),
                     [&](const FaceCounts &a, const FaceCounts &b) { return size(a) > size(b); });
    return keeps;
}

DiceSets build()
{
    DiceSets d;
    std::vector<FaceCounts> order;
    for (int dice = 5; dice >= 0; --dice) {
        FaceCounts counts{};
        collect(dice, 1, counts, order);
    }

    d.byKey.fill(-1);
    for (int s = 0; s < AllSets; ++s) {
        d.count[s] = order[s];
        d.byKey[keyOf(order[s])] = static_cast<std::int16_t>(s);
    }

    for (int s = 0; s < AllSets; ++s) {
        d.plusDie[s].fill(-1);
        d.minusDie[s].fill(-1);
        for (int f = 1; f <= 6; ++f) {
            FaceCounts c = d.count[s];
            if (s >= RollSets) { // fewer than five dice
                ++c[f];
                d.plusDie[s][f - 1] = d.byKey[keyOf(c)];
                --c[f];
            }
            if (c[f] > 0) {
                --c[f];
                d.minusDie[s][d.minusCount[s]++] = d.byKey[keyOf(c)];
            }
        }
    }

    // 5! / (n1! ... n6!) orders of the same set, out of 6^5 throws.
    const int factorial[6] = {1, 1, 2, 6, 24, 120};
    for (int r = 0; r < RollSets; ++r) {
        int orders = 120;
        valmod::DiceArray dice{};
        int die = 0;
        for (int f = 1; f <= 6; ++f) {
            orders /= factorial[d.count[r][f]];
            d.faceColumn[f][r] = d.count[r][f];
            for (int k = 0; k < d.count[r][f]; ++k)
                dice[die++] = static_cast<std::int16_t>(f);
        }
        d.probability[r] = orders / 7776.0;
        for (const FaceCounts &k : keepsOf(d.count[r]))
            d.keeps[r][d.keepCount[r]++] = d.byKey[keyOf(k)];
        const auto e = valmod::Evaluate(dice);
        for (int row = 1; row <= RowCount; ++row)
            d.points[row][r] = e.categoryValue[row];
    }
    return d;
}

} // namespace

int DiceSets::IndexOf(const FaceCounts &counts) const
{
    int n = 0;
    for (int f = 1; f <= 6; ++f) {
        if (counts[f] > 5)
            return -1;
        n += counts[f];
    }
    return n <= 5 ? byKey[keyOf(counts)] : -1;
}

const DiceSets &Sets()
{
    static const DiceSets sets = build();
    return sets;
}

std::bitset<MostUpperSum + 1> UpperSums(unsigned upperBooked)
{
    std::bitset<MostUpperSum + 1> sums;
    sums.set(0); // nothing booked: 0
    for (int face = 1; face <= 6; ++face) {
        if (!(upperBooked & (1u << (face - 1))))
            continue;
        std::bitset<MostUpperSum + 1> next;
        for (int n = 0; n <= 5; ++n)
            next |= sums << static_cast<std::size_t>(face * n);
        sums = next;
    }
    return sums;
}

std::uint64_t ReachableUpperSums(unsigned upperBooked)
{
    const auto sums = UpperSums(upperBooked);
    std::uint64_t capped = 0;
    for (int u = 0; u <= MostUpperSum; ++u)
        if (sums.test(static_cast<std::size_t>(u)))
            capped |= std::uint64_t{1} << std::min(UpperCap, u);
    return capped;
}

} // namespace strategy::detail
