#include "game/SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <memory>
#include <optional>

namespace {

std::unique_ptr<QSettings> Open(const QString &folder, const QString &appName)
{
    // The native format on Linux is an INI file named <app>.conf in the
    // user's config folder ($XDG_CONFIG_HOME, ~/.config by default).
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, appName);
    return std::make_unique<QSettings>(QDir(folder).filePath(appName + QStringLiteral(".conf")),
                                       QSettings::IniFormat);
}

// The stored text, or nothing when the key is missing or holds anything but
// text (a hand-edited list, say).
std::optional<QString> Read(const QString &folder, const QString &appName, const QString &section,
                            const QString &key)
{
    // A fresh object each time: what is read is what is on disk.
    auto settings = Open(folder, appName);
    settings->beginGroup(section);
    const QVariant value = settings->value(key);
    if (!value.isValid() || value.userType() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

QString SettingsStore::GetSetting(const QString &appName, const QString &section,
                                  const QString &key, const QString &defaultValue) const
{
    return Read(m_folder, appName, section, key).value_or(defaultValue);
}

bool SettingsStore::SaveSettings(const QString &appName, const QString &section,
                                 const QList<QPair<QString, QString>> &values)
{
    QList<std::optional<QString>> before;
    for (const auto &entry : values)
        before.append(Read(m_folder, appName, section, entry.first));

    auto settings = Open(m_folder, appName);
    settings->beginGroup(section);
    for (const auto &[key, value] : values)
        settings->setValue(key, value);
    // QSettings writes through a temporary file and a rename, so a failed
    // write leaves the old file untouched.
    settings->sync();
    // A FormatError left over from reading a corrupt file says nothing about
    // this write (which replaces the garbage); only AccessError means failure.
    if (settings->status() != QSettings::AccessError)
        return true;

    // QSettings keeps an unwritten change in a cache shared by the whole
    // process, where later reads would find it. Put back what is on disk, so
    // that the window never shows a score that was not stored.
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (before[i])
            settings->setValue(values[i].first, *before[i]);
        else
            settings->remove(values[i].first);
    }
    return false;
}

QString SettingsStore::FileName(const QString &appName) const
{
    return Open(m_folder, appName)->fileName();
}
