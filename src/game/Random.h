#pragma once
// The random source of the dice. The game reseeds from the clock before every
// single draw, so a reseed must never restart the sequence: the clock is
// mixed into the state instead of replacing it.

#include <cstdint>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Mixes the current clock reading into the state.
    virtual void Randomize() = 0;
    // The next value, uniform in [0, 1).
    virtual float Rnd() = 0;
};

// xoshiro256** with splitmix64 seeding. Without a clock it is a plain seeded
// generator, which is what tests use to replay a game.
class XoshiroRandom : public RandomSource {
public:
    explicit XoshiroRandom(std::uint64_t seed);
    void Randomize() override;
    float Rnd() override;

protected:
    virtual std::uint64_t ClockReading() const;

private:
    std::uint64_t Next();
    void Mix(std::uint64_t value);

    std::uint64_t m_state[4];
};

// A generator that ignores the clock: the same seed gives the same game.
class SeededRandom final : public XoshiroRandom {
public:
    using XoshiroRandom::XoshiroRandom;

protected:
    std::uint64_t ClockReading() const override { return 0; }
};

// A draw in [0, 1) from 64 random bits: their top 24 on a 2^-24 grid, so even
// all bits set stays below 1.
float UnitFloat(std::uint64_t bits);

// The face of a die for a draw r in [0, 1): 1..6.
int DieFace(float r);
