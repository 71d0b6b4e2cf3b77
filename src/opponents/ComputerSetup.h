#pragma once
// What New Game > Against the Computer asks: the person's name, how many
// computers play and how strong and fast they are. The last choices are
// kept in the settings file, in a section of their own.

#include "strategy/Levels.h"

#include <QString>

class SettingsStore;

struct ComputerSetup {
    enum class Pace { Slow, Normal, Fast };

    QString name;
    int computers = 1; // 1..3, the players after the person
    strategy::Level level = strategy::Level::Medium;
    Pace pace = Pace::Normal;

    static constexpr int MaxComputers = 3;

    // Time between two of a computer's steps.
    static int Milliseconds(Pace pace);
    // "Computer", or "Computer 1".."Computer 3" when there are several,
    // with the strength: "Computer 2 (Hard)".
    static QString ComputerName(int index, int computers, strategy::Level level);

    // Anything missing or out of range in the file reads as the default.
    static ComputerSetup Load(const SettingsStore &settings);
    bool Save(SettingsStore &settings) const;
};

// Asks for the setup of a game against the computer, starting from `setup`;
// false when cancelled, and then `setup` is left as it was.
class SetupQuestion {
public:
    virtual ~SetupQuestion() = default;
    virtual bool AskComputerSetup(ComputerSetup &setup) = 0;
};
