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
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace {

// Far more than the few sections the game keeps.
constexpr qint64 MaxFileSize = 1024 * 1024;

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

// QSettings takes a file it has read before for unchanged while its size
// and modification time, in milliseconds, are the same: a new file written
// within the same clock tick as the old one is given a later time.
void KeepAfter(const QString &old, const QString &replacement)
{
    struct stat before {}, now {};
    const auto ms = [](const timespec &t) { return std::int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000; };
    if (::stat(QFile::encodeName(old).constData(), &before) != 0
        || ::stat(QFile::encodeName(replacement).constData(), &now) != 0 || ms(now.st_mtim) > ms(before.st_mtim))
        return;
    const std::int64_t later = ms(before.st_mtim) + 1;
    const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(later / 1000), static_cast<long>(later % 1000 * 1000000)}};
    ::utimensat(AT_FDCWD, QFile::encodeName(replacement).constData(), times, 0);
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
    using namespace std::chrono_literals;
    const QString path = Path(m_folder, appName);
    if (files::KindOf(path) == files::Kind::Other)
        return false; // never replaced: it is not ours to overwrite
    // The lock QSettings takes for every write of the file: whoever writes
    // it meanwhile waits, and nothing written by another copy is lost.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5s))
        return false;
    // The rest of the file is kept: one that cannot be read is not replaced.
    QByteArray stored;
    if (files::KindOf(path) == files::Kind::Regular && !files::ReadAll(path, MaxFileSize, stored))
        return false;

    // On a full disk QSettings::sync() leaves an empty or cut-off file and
    // reports no error. So it writes a copy, which replaces the real file
    // only once it reads back whole; and the real file's QSettings, cached
    // for the whole process, never holds a value that was not stored.
    return files::Replace(path, stored, [&](QString &temporary, QString *why) {
        *why = QStringLiteral("the settings could not be written");
        QSettings settings(temporary, QSettings::IniFormat);
        settings.beginGroup(section);
        for (const auto &[key, value] : values)
            settings.setValue(key, value);
        settings.endGroup();
        settings.sync();
        // A FormatError left over from reading a corrupt file says nothing
        // about this write (which replaces the garbage).
        if (settings.status() == QSettings::AccessError)
            return false;
        // Read back under a name QSettings has not cached.
        const QString check = temporary + QStringLiteral(".check");
        if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(check).constData()) != 0)
            return false;
        temporary = check;
        const QSettings written(check, QSettings::IniFormat);
        QStringList keys = settings.allKeys(), found = written.allKeys();
        keys.sort();
        found.sort();
        if (written.status() != QSettings::NoError || found != keys)
            return false;
        for (const QString &key : keys)
            if (written.value(key) != settings.value(key))
                return false;
        KeepAfter(path, check);
        return true;
    });
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
