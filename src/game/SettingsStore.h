#pragma once
// The per-user settings store: text values addressed by application, section
// and key. By default it is the user's QSettings file for the application;
// tests point it at a folder of their own.

#include <QString>
#include <QList>
#include <QPair>

class SettingsStore {
public:
    // An empty folder means the per-user default location.
    explicit SettingsStore(QString folder = QString());

    QString GetSetting(const QString &appName, const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Saves all values together; false when they could not be written, in
    // which case what was stored before is left as it was.
    bool SaveSettings(const QString &appName, const QString &section,
                      const QList<QPair<QString, QString>> &values);

    QString FileName(const QString &appName) const;

private:
    QString m_folder;
};
