#include "reviews/HistoryWindows.h"

#include "files/RegularFile.h"

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
    for (const QString &folder : {here.filePath(QStringLiteral(QUINTOR_MODULE_DIR)), here.path()}) {
        const QString path = QDir(folder).filePath(QStringLiteral("quintor-charts.so"));
        QString problem;
        switch (files::KindOf(path, &problem)) {
        case files::Kind::Missing:
            tried << path;
            continue;
        case files::Kind::Other: // dlopen would wait on a FIFO for good
            if (why)
                *why = QStringLiteral("%1: %2").arg(path, problem);
            return nullptr;
        case files::Kind::Regular:
            break;
        }
        // Never unloaded (QLibrary's destructor leaves it): its windows live
        // as long as the game.
        static QLibrary library;
        library.setFileName(path);
        if (!library.load()) {
            if (why)
                *why = library.errorString();
            return nullptr;
        }
        const auto entry = reinterpret_cast<HistoryWindowsEntry>(library.resolve("quintor_history_windows"));
        if (entry && (windows = entry()))
            return windows;
        if (why)
            *why = entry ? QStringLiteral("%1 gave no windows").arg(path)
                         : QStringLiteral("%1 is not the game's chart module (no quintor_history_windows)").arg(path);
        return nullptr;
    }
    if (why)
        *why = QStringLiteral("not found at %1").arg(tried.join(QStringLiteral(" or ")));
    return nullptr;
}
