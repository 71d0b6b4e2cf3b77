#include "game/SettingsStore.h"

#include "files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <chrono>
#include <memory>
#include <optional>

namespace {

// The native format on Linux is an INI file named <app>.conf in the user's
// config folder ($XDG_CONFIG_HOME, ~/.config by default).
QString Path(const QString &folder, const QString &appName)
{
    const QString dir = folder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        : folder;
    return QDir(dir).filePath(appName + QStringLiteral(".conf"));
}

// Null when the file is there but is no regular file: QSettings reads it as
// soon as it is made, and a FIFO would hold the game before its first frame.
std::unique_ptr<QSettings> Open(const QString &folder, const QString &appName)
{
    const QString path = Path(folder, appName);
    if (files::KindOf(path) == files::Kind::Other)
        return nullptr;
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    // The high score is the user's own: never one from /etc/xdg or
    // $XDG_CONFIG_DIRS.
    settings->setFallbacksEnabled(false);
    return settings;
}

// The text after "key=" in the section, as written. QSettings splits an
// unquoted comma or semicolon into a list, which a hand-edited "Smith, Ann"
// was never meant to be.
std::optional<QString> RawValue(const QString &path, const QString &section, const QString &key)
{
    QFile file(path);
    if (!files::OpenForReading(file))
        return std::nullopt;
    const QString header = u'[' + section + u']';
    std::optional<QString> found;
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inSection = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        // As in QSettings, a later line for the same key wins, and a
        // semicolon starts a comment.
        if (inSection && equals > 0 && QStringView(line).left(equals).trimmed() == key)
            found = line.mid(equals + 1).section(u';', 0, 0).trimmed();
    }
    return found;
}

// The stored text, or nothing when the key is missing or holds anything but
// text or a list.
std::optional<QString> Read(const QString &folder, const QString &appName, const QString &section,
                            const QString &key)
{
    // A fresh object each time: what is read is what is on disk.
    auto settings = Open(folder, appName);
    if (!settings)
        return std::nullopt;
    settings->beginGroup(section);
    const QVariant value = settings->value(key);
    if (value.userType() == QMetaType::QString)
        return value.toString();
    if (value.userType() == QMetaType::QStringList)
        return RawValue(settings->fileName(), section, key);
    return std::nullopt;
}

} // namespace

SettingsStore::SettingsStore(QString folder) : m_folder(std::move(folder)) {}

QString SettingsStore::GetSetting(const QString &appName, const QString &section,
                                  const QString &key, const QString &defaultValue) const
{
    return Read(m_folder, appName, section, key).value_or(defaultValue);
}

bool SettingsStore::SaveSettings(const QString &appName, const QString &section, const Values &values)
{
    auto settings = Open(m_folder, appName);
    if (!settings)
        return false; // never replaced: it is not ours to overwrite
    settings->beginGroup(section);
    QList<QVariant> before;
    for (const auto &[key, value] : values) {
        before.append(settings->value(key));
        settings->setValue(key, value);
    }
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
        if (before[i].isValid())
            settings->setValue(values[i].first, before[i]);
        else
            settings->remove(values[i].first);
    }
    return false;
}

SettingsStore::SaveResult SettingsStore::SaveSettingsIf(
    const QString &appName, const QString &section, const QString &key, const QString &defaultValue,
    const std::function<bool(const QString &stored)> &replaces, const Values &values)
{
    using namespace std::chrono_literals;
    const QString lockName = LockFileName(appName);
    // The lock sits next to the file, in a folder QSettings would otherwise
    // create only when it writes.
    QDir().mkpath(QFileInfo(lockName).absolutePath());
    QLockFile lock(lockName);
    // Another copy holds the lock only for one read and one write.
    if (!lock.tryLock(5s) && lock.error() == QLockFile::LockFailedError)
        return SaveResult::Failed;
    // Any other lock error means the folder cannot take new files, and so
    // cannot take the settings either: the write below fails and says so.

    if (!replaces(Read(m_folder, appName, section, key).value_or(defaultValue)))
        return SaveResult::Declined;
    return SaveSettings(appName, section, values) ? SaveResult::Saved : SaveResult::Failed;
}

QString SettingsStore::FileName(const QString &appName) const
{
    return Path(m_folder, appName);
}

QString SettingsStore::LockFileName(const QString &appName) const
{
    return FileName(appName) + QStringLiteral(".update.lock");
}
