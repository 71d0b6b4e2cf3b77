#pragma once
// The coach's command line: one table of options from which the parsing,
// --help, the manual page and the shell completion all come; checking that
// the arguments describe a position that can occur; and putting the
// engine's answer into words or JSON. Nothing here asks the engine, so all
// of it is quick to test.

#include "strategy/Levels.h"
#include "strategy/Strategy.h"
#include "strategy/WinChance.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace coach {

// What an option's value is, for the help and for shell completion.
enum class ValueKind { None, Rows, Number, Dice, Level, File, Folder };

struct Option {
    const char *name;    // "--booked"
    const char *value;   // "ROWS"; null for a flag
    ValueKind kind;
    bool optionalValue;  // "--stats [DIR]"
    const char *help;    // one paragraph, wrapped by whoever prints it
};

// Every option, in the order --help lists them.
const std::vector<Option> &Options();

struct Request {
    bool help = false;
    bool json = false;
    strategy::BookedRows booked = 0;
    int upperSum = 0;
    std::optional<strategy::Dice> dice; // with rollsLeft
    int rollsLeft = 0;
    std::optional<int> score; // the total so far: adds the expected final total
    std::optional<int> top;   // list only this many choices
    // --simulate: this many one-player games at the level, instead of advice.
    std::optional<long> simulate;
    strategy::Level level = strategy::Level::Perfect;
    std::optional<std::uint64_t> seed; // none: a different run each time
    // --review FILE, --stats [DIR] (an empty folder: the game's own).
    std::optional<QString> review;
    std::optional<QString> stats;
    // --win-chance FILE: each player's chance of winning, with --games
    // sampled games per player.
    std::optional<QString> winChance;
    int games = strategy::DefaultWinChanceGames;
};

struct Parsed {
    Request request;
    QString error; // one line naming the problem; empty when the input is good
};

// The arguments after the program name.
Parsed Parse(const QStringList &args);

QString HelpText();
// The rows as --booked takes them, "1 Aces" .. "15 Chance", for the help,
// the manual and the completion.
QStringList RowNames();

// The answer for people. choices is empty without --dice; otherwise it is
// the engine's list, best first, and expected is the best one's value.
QString FormatText(const Request &request, double expected,
                   const std::vector<strategy::Choice> &choices);

// The answer for scripts: one JSON object on one line.
QByteArray FormatJson(const Request &request, double expected,
                      const std::vector<strategy::Choice> &choices);

} // namespace coach
