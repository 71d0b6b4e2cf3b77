#include "game/Random.h"

#include <chrono>

namespace {

std::uint64_t SplitMix64(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

} // namespace

XoshiroRandom::XoshiroRandom(std::uint64_t seed)
{
    for (auto &word : m_state)
        word = SplitMix64(seed);
}

std::uint64_t XoshiroRandom::Next()
{
    const std::uint64_t result = Rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = Rotl(m_state[3], 45);
    return result;
}

void XoshiroRandom::Mix(std::uint64_t value)
{
    // XOR a scrambled clock into one word and step: an unchanged clock still
    // moves the state forward, so draws never repeat one another.
    m_state[0] ^= SplitMix64(value);
    Next();
}

std::uint64_t XoshiroRandom::ClockReading() const
{
    return static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count());
}

void XoshiroRandom::Randomize() { Mix(ClockReading()); }

float XoshiroRandom::Rnd() { return UnitFloat(Next()); }

float UnitFloat(std::uint64_t bits)
{
    // 24 bits fit a float's mantissa exactly: no rounding up to 1.0.
    return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}

int DieFace(float r)
{
    return static_cast<int>(static_cast<double>(r) * 6.0 + 1.0);
}
