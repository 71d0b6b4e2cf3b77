#pragma once
// Strengths below perfect play, for the computer opponent and the coach's
// simulations. A level picks among the engine's choices, best first, with a
// chance that falls off with what a choice costs: small slips are common,
// larger ones rare (more of both at lower levels), and no level ever makes
// a choice that costs more than MaxMistake expected points.

#include "strategy/Strategy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace strategy {

enum class Level { Easy, Medium, Hard, Perfect };
constexpr Level Levels[] = {Level::Easy, Level::Medium, Level::Hard, Level::Perfect};

constexpr double MaxMistake = 25.0;

// "easy", "medium", "hard", "perfect": the names in game records and on the
// coach's command line.
const char *LevelName(Level level);
// "Easy" .. "Perfect", as people read them.
std::string LevelTitle(Level level);
std::optional<Level> LevelFromName(std::string_view name);

// A small seeded generator (splitmix64), so a level's play replays exactly.
class LevelRandom {
public:
    explicit LevelRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next();
    double Uniform(); // [0, 1)

private:
    std::uint64_t m_state;
};

// The index, into choices as Advise gives them (best first), of the choice
// the level makes. Perfect always takes the first.
std::size_t Choose(Level level, const std::vector<Choice> &choices, LevelRandom &random);
// The same over the choices' expected values alone, best first.
std::size_t Choose(Level level, const double *expected, std::size_t count, LevelRandom &random);
// The same for a draw in [0, 1): the choices within MaxMistake of the best
// share that range by their weights, best first.
std::size_t Choose(Level level, const std::vector<Choice> &choices, double draw);
std::size_t Choose(Level level, const double *expected, std::size_t count, double draw);

// One game of one player at a level, with dice from rollDie (a face 1..6 per
// call, die by die as the game draws them).
struct GameResult {
    int total = 0;    // bonus included
    bool bonus = false;
    double loss = 0;  // what the choices cost against perfect play, in expected points
};
GameResult PlayGame(const Table &table, Level level, const std::function<int()> &rollDie,
                    LevelRandom &random);

} // namespace strategy
