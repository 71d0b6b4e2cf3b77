#pragma once
// One player's fifteen turns that book every category: 63 in the upper rows
// (the bonus comes with Sixs), 192 below, 305 in all.

#include <QList>

struct Turn {
    QList<int> dice;
    int row;
};

inline const QList<Turn> FullCard{
    {{1, 1, 1, 2, 3}, 1},  {{2, 2, 2, 5, 6}, 2},  {{3, 3, 3, 1, 2}, 3},
    {{4, 4, 4, 1, 2}, 4},  {{5, 5, 5, 1, 2}, 5},  {{6, 6, 6, 1, 2}, 6},
    {{6, 6, 1, 2, 3}, 7},  {{6, 6, 5, 5, 1}, 8},  {{4, 4, 4, 1, 2}, 9},
    {{5, 5, 5, 5, 1}, 10}, {{1, 2, 3, 4, 5}, 11}, {{2, 3, 4, 5, 6}, 12},
    {{3, 3, 3, 2, 2}, 13}, {{6, 6, 6, 6, 6}, 14}, {{6, 6, 6, 5, 5}, 15},
};
inline constexpr int FullCardTotal = 63 + 50 + 192;
