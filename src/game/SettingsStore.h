#pragma once
// The per-user settings store: text values addressed by application, section
// and key. By default it is the user's QSettings file for the application;
// tests point it at a folder of their own.

#include <QString>
#include <QList>
#include <QPair>
#include <functional>

// The application the game's settings are kept under: the high score, and
// the additions' own sections beside it.
inline const QString SettingsApp = QStringLiteral("Quintor");

class SettingsStore {
public:
    using Values = QList<QPair<QString, QString>>;

    // An empty folder means the per-user default location.
    explicit SettingsStore(QString folder = QString());

    // The stored text exactly as written, or defaultValue when the key is
    // missing or the file cannot be read.
    QString GetSetting(const QString &appName, const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Saves all values together; false when they could not be written, in
    // which case what was stored before is left as it was.
    bool SaveSettings(const QString &appName, const QString &section, const Values &values);

    enum class SaveResult { Saved, Declined, Failed };
    // Reads what is stored under `key` (defaultValue when nothing is) and
    // saves `values` only if `replaces` accepts it. Every running copy of the
    // game takes the same lock for this, so none can store in between.
    SaveResult SaveSettingsIf(const QString &appName, const QString &section, const QString &key,
                              const QString &defaultValue,
                              const std::function<bool(const QString &stored)> &replaces,
                              const Values &values);

    QString FileName(const QString &appName) const;
    // The lock SaveSettingsIf holds. Not QSettings' own "<file>.lock": that
    // one is taken inside every write, and QLockFile does not nest.
    QString LockFileName(const QString &appName) const;

private:
    QString m_folder;
};
