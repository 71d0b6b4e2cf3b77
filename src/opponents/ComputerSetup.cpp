#include "opponents/ComputerSetup.h"

#include "game/SettingsStore.h"
#include "history/GameRecord.h"

namespace {
const QString Section = QStringLiteral("ComputerOpponents");
const QString NameKey = QStringLiteral("Name");
const QString CountKey = QStringLiteral("Computers");
const QString LevelKey = QStringLiteral("Level");
const QString PaceKey = QStringLiteral("Pace");
const char *const PaceNames[] = {"slow", "normal", "fast"};
} // namespace

int ComputerSetup::Milliseconds(Pace pace)
{
    switch (pace) {
    case Pace::Slow:
        return 1000;
    case Pace::Fast:
        return 150;
    case Pace::Normal:
        break;
    }
    return 500;
}

QString ComputerSetup::ComputerName(int index, int computers, strategy::Level level)
{
    return history::DisplayName(computers == 1 ? QStringLiteral("Computer") : QStringLiteral("Computer %1").arg(index),
                                level);
}

ComputerSetup ComputerSetup::Load(const SettingsStore &settings)
{
    ComputerSetup setup;
    const auto get = [&](const QString &key) { return settings.GetSetting(SettingsApp, Section, key, QString()); };
    setup.name = get(NameKey);
    bool ok = false;
    const int count = get(CountKey).toInt(&ok);
    if (ok && count >= 1 && count <= MaxComputers)
        setup.computers = count;
    if (const auto level = strategy::LevelFromName(get(LevelKey).toStdString()))
        setup.level = *level;
    const QString pace = get(PaceKey);
    for (int i = 0; i < 3; ++i)
        if (pace == QLatin1String(PaceNames[i]))
            setup.pace = static_cast<Pace>(i);
    return setup;
}

bool ComputerSetup::Save(SettingsStore &settings) const
{
    return settings.SaveSettings(SettingsApp, Section,
                                 {{NameKey, name},
                                  {CountKey, QString::number(computers)},
                                  {LevelKey, QLatin1String(strategy::LevelName(level))},
                                  {PaceKey, QLatin1String(PaceNames[static_cast<int>(pace)])}});
}
