// The chart module is opened only when it is a regular file, and what is
// wrong with it is named. This program runs from a folder of its own, where
// it puts what the loader finds beside it.

#include "reviews/HistoryWindows.h"

#include <QLibraryInfo>
#include <QtTest>

#include <sys/stat.h>

class ChartLoaderTest : public QObject {
    Q_OBJECT

private slots:
    void brokenModule_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing") << "" << "not found at";
        QTest::newRow("FIFO") << "fifo" << "quintor-charts.so: not a regular file";
        QTest::newRow("another library") << "library" << "not the game's chart module";
    }
    void brokenModule()
    {
        QFETCH(QString, module);
        QFETCH(QString, said);
        const QString path = QCoreApplication::applicationDirPath() + "/quintor-charts.so";
        QFile::remove(path);
        if (module == "fifo")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        if (module == "library")
            QVERIFY(QFile::link(QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Test.so.6", path));
        QString why;
        QVERIFY(!LoadHistoryWindows(&why));
        QVERIFY2(why.contains(said), qPrintable(why));
        QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(ChartLoaderTest)
#include "tst_chart_loader.moc"
