#pragma once
// A random source that yields the die faces a test asks for, in order.

#include "game/Random.h"

#include <QList>

class ScriptedRandom final : public RandomSource {
public:
    QList<int> faces;
    int reseeds = 0;

    void Randomize() override { ++reseeds; }
    float Rnd() override
    {
        const int face = faces.isEmpty() ? 1 : faces.takeFirst();
        // The middle of the face's sixth of [0, 1).
        return (static_cast<float>(face) - 0.5f) / 6.0f;
    }
};
