#pragma once
// The coach's command line: reading the arguments, checking that they
// describe a position that can occur, and putting the engine's answer into
// words or JSON. Nothing here asks the engine, so all of it is quick to test.

#include "strategy/Levels.h"
#include "strategy/Strategy.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace coach {

struct Request {
    bool help = false;
    bool json = false;
    strategy::BookedRows booked = 0;
    int upperSum = 0;
    std::optional<strategy::Dice> dice; // with rollsLeft
    int rollsLeft = 0;
    // --simulate: this many one-player games at the level, instead of advice.
    std::optional<long> simulate;
    strategy::Level level = strategy::Level::Perfect;
    std::optional<std::uint64_t> seed; // none: a different run each time
};

struct Parsed {
    Request request;
    QString error; // one line naming the problem; empty when the input is good
};

// The arguments after the program name.
Parsed Parse(const QStringList &args);

QString HelpText();

// The answer for people. choices is empty without --dice; otherwise it is
// the engine's list, best first, and expected is the best one's value.
QString FormatText(const Request &request, double expected,
                   const std::vector<strategy::Choice> &choices);

// The answer for scripts: one JSON object on one line.
QByteArray FormatJson(const Request &request, double expected,
                      const std::vector<strategy::Choice> &choices);

} // namespace coach
