#include "reviews/HistoryWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

HistoryWindows *LoadHistoryWindows(QString *why)
{
    static HistoryWindows *windows = nullptr;
    if (windows)
        return windows;
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList tried;
    for (const QString &folder : {here.filePath(QStringLiteral("../lib/quintor")), here.path()}) {
        const QString path = QDir(folder).filePath(QStringLiteral("quintor-charts.so"));
        if (!QFile::exists(path)) {
            tried << path;
            continue;
        }
        // Never unloaded (QLibrary's destructor leaves it): its windows live
        // as long as the game.
        static QLibrary library;
        library.setFileName(path);
        const auto entry = reinterpret_cast<HistoryWindowsEntry>(library.resolve("quintor_history_windows"));
        if (entry && (windows = entry()))
            return windows;
        if (why)
            *why = library.errorString();
        return nullptr;
    }
    if (why)
        *why = QStringLiteral("not found at %1").arg(tried.join(QStringLiteral(" or ")));
    return nullptr;
}
