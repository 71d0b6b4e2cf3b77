#pragma once
// --win-chance: each player's chance of winning a recorded game, finished or
// still going on, from the position after its last booking.

#include "history/GameRecord.h"
#include "strategy/WinChance.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace coach {

struct SeatChance {
    QString name;
    std::optional<strategy::Level> computer;
    int total = 0;
    int open = 0; // rows still to book
    double chance = 0;
};

struct Chances {
    int games = 0; // sampled per player
    std::vector<SeatChance> seats;
};

// Nothing only for a position no game can reach, which a checked record
// never holds.
std::optional<Chances> WinChances(const strategy::Table &table, const history::GameRecord &record, int games,
                                  std::uint64_t seed);

QString FormatText(const Chances &chances);
QByteArray FormatJson(const Chances &chances);

} // namespace coach
