#pragma once
// Many one-player games at one level, with the game's own dice and scoring,
// spread over the cores. Game i draws from generators seeded by the seed and
// i alone, so the same seed gives the same figures on any machine.

#include "strategy/Levels.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace coach {

struct Simulation {
    long games = 0;
    strategy::Level level = strategy::Level::Perfect;
    double mean = 0, sd = 0;
    int min = 0, max = 0;
    double bonusRate = 0; // share of games, 0..1
    double meanLoss = 0;  // expected points lost per game against perfect play
};

// More would take hours: a million games take minutes.
constexpr long MostGames = 1000000;

// On `threads` threads (0: one per core, at most 16). `progress`, if given,
// hears of every game finished, from the threads that play them.
Simulation Simulate(const strategy::Table &table, long games, strategy::Level level, std::uint64_t seed,
                    unsigned threads = 0, const strategy::Progress &progress = {});

QString FormatText(const Simulation &simulation);
QByteArray FormatJson(const Simulation &simulation);

} // namespace coach
