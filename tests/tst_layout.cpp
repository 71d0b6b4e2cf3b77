// One tidy window on a 1280 x 1024 screen, at the scale the test runs with:
// the docks sit beside the play area, the other windows of the game beside
// the main window, and everything on the screen.

#include "support/GameFixture.h"

#include "app/DockLayout.h"
#include "coaching/CoachMode.h"
#include "tablegate/StrategyLoader.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

namespace {

// Where a window manager would put a new window: the middle of the screen.
void Centre(QWidget &window)
{
    QRect frame = window.frameGeometry();
    frame.moveCenter(window.screen()->availableGeometry().center());
    window.move(frame.topLeft());
}

// The game's windows on the screen, the main one left out.
QList<QWidget *> OtherWindows(QWidget &main)
{
    QList<QWidget *> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != &main && w->isVisible())
            windows << w;
    return windows;
}

QRect InWindow(const QWidget *widget, const QWidget &window)
{
    return QRect(widget->mapTo(&window, QPoint()), widget->size());
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QuietOffscreenWarnings(); }
    void docksStandBesideThePlayArea();
    void windowsStandBesideTheGameAndOnTheScreen();
    void layoutIsRemembered();
};

void LayoutTest::docksStandBesideThePlayArea()
{
    GameFixture g;
    Centre(g.f());
    const QSize design = g.f().size();
    g.newGame({"Ann", QString(60, u'W'), "Cy"});
    for (const char *dock : {"mnuScoreSheet", "mnuCoachMode", "mnuTurnLog"})
        g.action(dock)->trigger();
    QApplication::processEvents();
    const QRect playArea = g.f().centralWidget()->geometry();
    QCOMPARE(playArea.size(), QSize(405, 255)); // never squeezed
    for (QDockWidget *dock : g.f().findChildren<QDockWidget *>()) {
        QVERIFY(dock->isVisible() && !dock->isFloating());
        QVERIFY2(!InWindow(dock, g.f()).intersects(playArea), qPrintable(dock->objectName()));
    }
    // A long name is cut short in its column, not given the room it asks for.
    const auto *table = g.f().findChild<QTableWidget *>(QStringLiteral("ScoreSheetTable"));
    QVERIFY(table->horizontalHeader()->sectionSize(1) < table->fontMetrics().horizontalAdvance(QString(60, u'W')));
    QVERIFY(table->horizontalHeaderItem(1)->text().endsWith(u'\u2026'));
    // Docks at the side have the window's height: every row of the sheet in
    // view where the screen has the room.
    if (g.f().devicePixelRatio() < 2)
        QVERIFY(!table->verticalScrollBar()->isVisible());
    // The coach grows with its text, but no further than a third of the screen.
    g.a().coach().panel()->setAdvice(QString(3000, u'x').replace(QStringLiteral("xxxxx"), QStringLiteral("word ")));
    QVERIFY(g.a().coach().panel()->minimumSizeHint().height() <= g.f().screen()->availableGeometry().height() / 3 + 8);
    QVERIFY(g.f().frameGeometry().width() <= g.f().screen()->availableGeometry().width());
    // With every dock closed, the design's window again, at its size.
    for (const char *dock : {"mnuScoreSheet", "mnuCoachMode", "mnuTurnLog"})
        g.action(dock)->trigger();
    QApplication::processEvents();
    QCOMPARE(g.f().size(), design);
}

// The score sheet and the coach docked, Review and Statistics open, and a
// hint asked during a turn: nothing covers the main window where the screen
// has room for all of it, and nothing runs off the screen.
void LayoutTest::windowsStandBesideTheGameAndOnTheScreen()
{
    GameFixture g(BookingsOnly());
    const bool roomy = g.f().devicePixelRatio() < 2;
    Centre(g.f());
    g.newGame({"Ann", "Bob"});
    g.action("mnuScoreSheet")->trigger();
    g.action("mnuCoachMode")->trigger();
    g.roll({2, 2, 3, 5, 6});
    g.action("mnuReview")->trigger();
    g.action("mnuStatistics")->trigger();
    g.action("mnuHint")->trigger();
    QApplication::processEvents();
    QVERIFY(!g.a().coach().panel()->hint().isEmpty()); // in the coach's dock
    const QRect screen = g.f().screen()->availableGeometry();
    const QList<QWidget *> others = OtherWindows(g.f());
    QCOMPARE(others.size(), 2);
    for (QWidget *w : others + QList<QWidget *>{&g.f()}) {
        QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(w->objectName()));
        if (roomy && w != &g.f())
            QVERIFY2(!w->frameGeometry().intersects(g.f().frameGeometry()), qPrintable(w->objectName()));
    }
    // Without the coach, the hint box too stands beside the window.
    g.action("mnuCoachMode")->trigger();
    QRect hintBox;
    g.dialogs.onCall = [&](const DialogCall &) {};
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        hintBox = box ? box->frameGeometry() : QRect();
        if (box)
            box->close();
    });
    QtDialogs real(&g.f());
    PromptAnswers(real).MsgBox(QStringLiteral("Best choice: book Chance for 18."), Dialogs::Buttons::Ok,
                               QStringLiteral("Hint"), Dialogs::Icon::None, Dialogs::Placement::Beside);
    QVERIFY(screen.contains(hintBox));
    if (roomy)
        QVERIFY(!hintBox.intersects(g.f().frameGeometry()));
}

void LayoutTest::layoutIsRemembered()
{
    GameFixture g;
    g.action("mnuTurnLog")->trigger();
    g.action("mnuScoreSheet")->trigger();
    g.f().addDockWidget(Qt::LeftDockWidgetArea, g.f().findChild<QDockWidget *>(QStringLiteral("TurnLogDock")));
    g.reopen();
    QTRY_VERIFY(g.action("mnuTurnLog")->isChecked());
    QVERIFY(g.action("mnuScoreSheet")->isChecked());
    QVERIFY(!g.action("mnuCoachMode")->isChecked());
    auto *log = g.f().findChild<QDockWidget *>(QStringLiteral("TurnLogDock"));
    QCOMPARE(g.f().dockWidgetArea(log), Qt::LeftDockWidgetArea);
    // Apart from the high score.
    QCOMPARE(g.settings.GetSetting("Quintor", "QuintorHighscore", "Score", "none"), QStringLiteral("none"));
}

QUINTOR_TEST_MAIN(LayoutTest)
#include "tst_layout.moc"
