// The hint and the computer opponent in the real window, with scripted dice
// and the table of perfect play from the test cache.

#include "support/FullCard.h"
#include "support/GameFixture.h"

#include "game/SettingsStore.h"
#include "tablegate/StrategyLoader.h"
#include "history/Review.h"
#include "scoring/valmod.h"
#include "strategy/TableCache.h"
#include "coaching/CoachPanel.h"
#include "opponents/ComputerSetupDialog.h"
#include "opponents/Opponents.h"
#include "coaching/CoachMode.h"
#include "scoresheet/ScoreSheetView.h"
#include "scoresheet/ScoreSheet.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>

namespace {

QString AskHint(GameFixture &g)
{
    g.action("mnuHint")->trigger();
    return g.dialogs.calls.last().title == QLatin1String("Hint") ? g.dialogs.calls.last().text : QString();
}

// Lets the computer act, running each of its rolls at once.
void LetTheComputerPlay(GameFixture &g)
{
    for (int guard = 0; guard < 1000 && g.a().opponents().IsComputerTurn(); ++guard) {
        g.finishRoll();
        QCoreApplication::processEvents();
    }
}

QTimer *ComputerTimer(GameFixture &g)
{
    return g.a().opponents().timer();
}

// A computer game in which Ann has just booked five sixes.
void ComputerToPlay(GameFixture &g, int pace)
{
    g.playComputers(1, strategy::Level::Perfect, pace);
    g.roll({6, 6, 6, 6, 6});
    g.clickCategory(14);
}

// One step of the computer, whatever its pace; any roll it starts is run at once.
void ComputerStep(GameFixture &g)
{
    QMetaObject::invokeMethod(ComputerTimer(g), "timeout");
    g.finishRoll();
}

} // namespace

class ComputerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void hint();
    void hintAskedWhileTheTableLoads();
    void coachMode();
    void progressWindowGoneBeforeTheHintOpens();
    void hintForAnotherPositionIsDropped();
    void loaderStopsAtOnceWhenDestroyed();
    void computerPlaysAWholeGame();
    void personCannotPlayTheComputersTurn();
    void setupDialog();
    void choiceIsShownBeforeItIsBooked();
    void threeComputersPlayAWholeGame();
    void newGameDuringTheComputersTurnLeavesNothingBehind();
};

void ComputerTest::initTestCase()
{
    QuietOffscreenWarnings();
    StrategyLoader::Shared().request();
    QTRY_VERIFY_WITH_TIMEOUT(StrategyLoader::Shared().table() != nullptr, 120000);
}

void ComputerTest::hint()
{
    GameFixture g;
    QAction *hint = g.action("mnuHint");
    QVERIFY(!hint->isEnabled());  // no game yet
    g.newGame({"Ann"});
    QCOMPARE(AskHint(g), QStringLiteral("Roll the dice.\nWith perfect play from here your "
                                        "final total will be 248.4 on average."));

    g.random.faces = QList<int>(20, 6);
    g.clickRoll();
    QVERIFY(!hint->isEnabled());  // the dice roll
    g.finishRoll();
    const QString text = AskHint(g);
    QVERIFY2(text.startsWith(QStringLiteral("Best choice: book Quinthor for 50.\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\nRunner-up: ")), qPrintable(text));
    // Asking changes nothing.
    QCOMPARE(g.s().RollCount, 1);
    QCOMPARE(g.s().ScoreCard[1][14], NotBooked);

    // At the last roll a small straight goes where it scores most.
    g.roll({1, 1, 1, 1, 1});
    g.roll({5, 3, 1, 4, 2});
    QVERIFY(AskHint(g).startsWith(QStringLiteral("Best choice: book Small Straight for 15.\n")));
    QCOMPARE(g.dialogs.calls.last().placement, Dialogs::Placement::Beside);

    // A runner-up within a tenth of a point is as good as the best.
    g.newGame({"Ann"});
    g.roll({1, 1, 2, 2, 5});
    QVERIFY2(AskHint(g).endsWith(QStringLiteral("\nRunner-up: keep 2 2 and roll 3 dice, about as good.")), qPrintable(AskHint(g)));
    // The last row with no roll left: nothing is left to chance.
    g.newGame({"Ann"});
    for (int t = 0; t < 14; ++t) {
        g.roll(FullCard[t].dice);
        g.clickCategory(FullCard[t].row);
    }
    for (int roll = 0; roll < 3; ++roll)
        g.roll(FullCard[14].dice);
    QCOMPARE(AskHint(g), QStringLiteral("Best choice: book Chance for 28.\n"
                                        "With perfect play from here your final total will be exactly %1.0.").arg(FullCardTotal));
}

void ComputerTest::coachMode()
{
    GameFixture g;
    g.action("mnuCoachMode")->trigger();
    const CoachPanel *panel = g.a().coach().panel();
    QVERIFY(panel && panel->isVisible());
    // Docked in the window, beside the play area, never over it.
    QCOMPARE(panel->window(), &g.f());
    QVERIFY(!QRect(panel->mapTo(&g.f(), QPoint()), panel->size()).intersects(g.f().centralWidget()->geometry()));
    g.newGame({"Ann"});
    QVERIFY2(panel->advice().startsWith("Ann to roll. With perfect play the final total will be 248.4"), qPrintable(panel->advice()));
    g.roll({1, 1, 2, 2, 5});
    QVERIFY(panel->advice().startsWith("Best choice for Ann: keep 5 and roll 4 dice.\n"));
    // Ann keeps the deuces instead, which costs a little; then books the best.
    g.clickDie(2);
    g.clickDie(3);
    g.roll({1, 1, 1});
    QCOMPARE(panel->verdict(), QStringLiteral("Ann, with 1 1 2 2 5: \"keep 2 2 and roll 3 dice\" cost 0.09 points; the best was \"keep 5 and roll 4 dice\"."));
    QCOMPARE(g.s().ScoreCard[1][8], NotBooked); // it changes nothing
    // Hint answers in the dock, not in a box over something else, until the dice change.
    const int calls = int(g.dialogs.calls.size());
    g.action("mnuHint")->trigger();
    QCOMPARE(g.dialogs.calls.size(), calls);
    QVERIFY2(panel->hint().startsWith("Hint: Best choice: "), qPrintable(panel->hint()));
    g.clickCategory(8);
    QVERIFY(panel->hint().isEmpty());
    QVERIFY2(panel->verdict().contains("book Two Pair for 6"), qPrintable(panel->verdict()));
    // Remembered for the next start.
    g.reopen();
    QTRY_VERIFY(g.action("mnuCoachMode")->isChecked());
}

void ComputerTest::hintAskedWhileTheTableLoads()
{
    // A loader of its own that has not loaded anything yet.
    StrategyLoader loader(strategy::TableCache::DefaultFolder());
    GameFixture g(&loader);
    g.newGame({"Ann"});
    const int calls = int(g.dialogs.calls.size());
    g.action("mnuHint")->trigger();
    QVERIFY(loader.loading());
    // The hint comes once the table is there, and the progress window goes.
    QTRY_COMPARE(g.dialogs.calls.size(), calls + 1);
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Hint"));
    QTRY_VERIFY(g.f().findChildren<QProgressDialog *>().isEmpty());
    QTest::qWait(250);  // what the progress window left behind must not fire
}

void ComputerTest::hintForAnotherPositionIsDropped()
{
    // Asked while the table loads; then Ann rolls, or books: no box comes
    // later for a position nobody asked about.
    for (bool books : {false, true}) {
        StrategyLoader loader(strategy::TableCache::DefaultFolder());
        GameFixture g(&loader);
        g.newGame({"Ann", "Bob"});
        if (books)
            g.roll({1, 1, 2, 3, 4});
        g.action("mnuHint")->trigger();
        if (books)
            g.clickCategory(15);
        else
            g.roll({1, 1, 2, 3, 4});
        QTRY_VERIFY(loader.table());
        QCoreApplication::processEvents();
        for (const DialogCall &call : g.dialogs.calls)
            QVERIFY(call.title != QLatin1String("Hint"));
    }
}

void ComputerTest::progressWindowGoneBeforeTheHintOpens()
{
    // A fresh loader over the cached table: the load beats the progress
    // window's 500 ms delay.
    StrategyLoader loader(strategy::TableCache::DefaultFolder());
    GameFixture g(&loader);
    g.newGame({"Ann"});
    bool progressShown = false;
    g.dialogs.onCall = [&](const DialogCall &call) {
        if (call.title != QLatin1String("Hint"))
            return;
        // Stand in for the modal box's own event loop, open past that delay.
        QEventLoop loop;
        QTimer::singleShot(900, &loop, &QEventLoop::quit);
        loop.exec();
        for (QWidget *w : QApplication::topLevelWidgets())
            progressShown |= qobject_cast<QProgressDialog *>(w) && w->isVisible();
    };
    g.action("mnuHint")->trigger();
    QTRY_COMPARE(g.dialogs.calls.last().title, QStringLiteral("Hint"));
    QVERIFY(!progressShown);
}

void ComputerTest::loaderStopsAtOnceWhenDestroyed()
{
    QTemporaryDir empty; // nothing cached: the table is worked out
    auto loader = std::make_unique<StrategyLoader>(empty.path());
    loader->request();
    QTRY_VERIFY(loader->percent() > 0);
    QElapsedTimer clock;
    clock.start();
    loader.reset();
    // Stopped, not sat out or given up on after the longest wait.
    QVERIFY2(clock.elapsed() < StrategyLoader::ShutDownMilliseconds, qPrintable(QString::number(clock.elapsed())));
}

void ComputerTest::computerPlaysAWholeGame()
{
    GameFixture g;
    g.playComputers(1, strategy::Level::Perfect, 0);
    QCOMPARE(g.dialogs.calls.size(), 1);  // only the setup is asked
    QCOMPARE(g.f().lblPlayer[2]->text(), QStringLiteral("Computer (Perfect)"));

    for (int row = 1; row <= 15; ++row) {
        // Ann books 1 1 2 3 4 on every row in order, sacrificing where it scores nothing.
        g.roll({1, 1, 2, 3, 4});
        g.clickCategory(row);
        QVERIFY(!g.action("mnuHint")->isEnabled());
        g.random.faces = QList<int>(200, 6);  // the computer only ever sees sixes
        LetTheComputerPlay(g);
        QVERIFY(!g.a().opponents().IsComputerTurn());
        if (row == 1)
            QCOMPARE(g.s().ScoreCard[2][14], 50);
    }

    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Game Over"));
    QCOMPARE(g.f().lblSum[1]->text(), QStringLiteral("24"));
    QCOMPARE(g.f().lblSum[2]->text(), QStringLiteral("164"));  // 50 + 30 + 24 + 18 + 12 + 30
    const QStringList messages = g.dialogs.messageTexts();
    QVERIFY(messages.contains(QStringLiteral("Winner is Computer (Perfect)\r\nWith the score: 164")));
    // Only Ann was asked about her nine sacrifices; the computer's win is no high score.
    QCOMPARE(messages.filter(QStringLiteral("Do you want to sacrifice")).size(), 9);
    QVERIFY(!messages.contains(QStringLiteral("New Highscore !!")));
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
}

void ComputerTest::personCannotPlayTheComputersTurn()
{
    GameFixture g;
    ComputerToPlay(g, 60000);  // the computer waits while the person tries
    // Not the person's to use, to the eye and to a screen reader.
    for (QWidget *control : std::initializer_list<QWidget *>{g.f().cmdRoll, g.f().DicePic[0], g.f().chkChooseScore[15]}) {
        QVERIFY(!control->isEnabled());
        QVERIFY(QAccessible::queryAccessibleInterface(control)->state().disabled);
    }
    g.clickRoll();
    QTest::keyClick(g.f().cmdRoll, Qt::Key_Space);
    g.clickCategory(15);
    QVERIFY(!g.f().Timer1->isActive());
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    QVERIFY(!g.f().chkChooseScore[15]->isChecked());
    // Once the computer has rolled, its dice cannot be held either.
    g.a().opponents().setPace(0);
    ComputerTimer(g)->start();
    QTRY_VERIFY(g.f().Timer1->isActive());
    g.a().opponents().setPace(60000);
    g.finishRoll();
    g.clickDie(0);
    QTest::keyClick(g.f().DicePic[1], Qt::Key_Space);
    QVERIFY(g.s().HasRolled && g.s().RollDie[0] && g.s().RollDie[1]);
    // Help still works; then the computer takes its turn.
    g.f().mnuHelp->trigger();
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Quintor Help"));
    g.a().opponents().setPace(0);
    ComputerTimer(g)->start();
    LetTheComputerPlay(g);
    QVERIFY(!g.a().opponents().IsComputerTurn());
    QVERIFY(g.f().cmdRoll->isEnabled() && g.f().chkChooseScore[15]->isEnabled());
}

void ComputerTest::setupDialog()
{
    // The real dialog, by keyboard alone: a name, Up for two computers, Down
    // for Hard, Down twice for Fast, Enter.
    QtSetupQuestion real;
    ComputerSetup setup;
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        QApplication::setActiveWindow(dialog); // offscreen windows are not activated by showing
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Zo"));
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QStringLiteral("\u00eb"), {});
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" <b>"));
        for (auto key : {Qt::Key_Tab, Qt::Key_Up, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Down})
            QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QVERIFY(real.AskComputerSetup(setup));
    QCOMPARE(setup.name, QStringLiteral("Zo\u00eb <b>"));
    QCOMPARE(setup.computers, 2);
    QCOMPARE(setup.level, strategy::Level::Hard);
    QCOMPARE(setup.pace, ComputerSetup::Pace::Fast);
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QVERIFY(!real.AskComputerSetup(setup));
    QCOMPARE(setup.name, QStringLiteral("Zo\u00eb <b>"));
    const ComputerSetupDialog dialog(setup);
    for (QWidget *w : dialog.findChildren<QWidget *>())
        if (qobject_cast<QSpinBox *>(w) || qobject_cast<QComboBox *>(w))
            QVERIFY(!w->accessibleName().isEmpty());

    // The choices are remembered, in a section of their own, and offered
    // next time, also after a restart; Cancel leaves the game as it was.
    GameFixture g;
    QVERIFY(g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "77"}, {"Name", "Eve"}}));
    g.dialogs.setup = setup;
    g.action("mnuComputer")->trigger();
    QCOMPARE(g.s().PlayerCount, 3);
    QCOMPARE(g.f().lblPlayer[3]->text(), QStringLiteral("Computer 2 (Hard)"));
    g.reopen();
    g.dialogs.names = QStringList{"Bob"};
    g.newGame({"Bob"});
    g.action("mnuComputer")->trigger(); // cancelled: no setup, no names left
    QCOMPARE(g.dialogs.offered.name, setup.name);
    QCOMPARE(g.dialogs.offered.computers, 2);
    QCOMPARE(g.dialogs.offered.level, strategy::Level::Hard);
    QCOMPARE(g.dialogs.offered.pace, ComputerSetup::Pace::Fast);
    QCOMPARE(g.s().PlayerCount, 1);
    QCOMPARE(g.f().lblPlayer[1]->text(), QStringLiteral("Bob"));
    QCOMPARE(g.settings.GetSetting("Quintor", "QuintorHighscore", "Score", "0"), QStringLiteral("77"));
}

void ComputerTest::choiceIsShownBeforeItIsBooked()
{
    GameFixture g;
    ComputerToPlay(g, 60000);
    QVERIFY(!g.a().opponents().choiceMark());
    int guard = 0;
    while (!g.a().opponents().choiceMark() && ++guard < 20)
        ComputerStep(g);
    const QWidget *mark = g.a().opponents().choiceMark();
    QVERIFY(mark && mark->isVisible());
    int row = 1;
    while (row < 15 && !g.f().chkChooseScore[row]->geometry().contains(mark->geometry().center()))
        ++row;
    // Marked, with its points, but not yet booked.
    QCOMPARE(g.s().ScoreCard[2][row], NotBooked);
    QCOMPARE(qobject_cast<const QLabel *>(mark)->text(), QString::number(valmod::CategoryValue[row]));
    QVERIFY(!g.f().chkChooseScore[row]->isChecked());
    ComputerStep(g);
    QVERIFY(!g.a().opponents().choiceMark());
    QCOMPARE(g.s().ScoreCard[2][row], valmod::CategoryValue[row]);
    QCOMPARE(g.s().CurPlayer, 0); // Ann's turn again
}

void ComputerTest::threeComputersPlayAWholeGame()
{
    GameFixture g;
    g.playComputers(3, strategy::Level::Hard, 0);
    g.action("mnuScoreSheet")->trigger();
    const ScoreSheet *sheet = g.a().scoreSheet().sheet();
    QVERIFY(sheet && sheet->isVisible());
    quint32 lcg = 7;
    for (int turn = 1; turn <= 15; ++turn) {
        g.roll({1, 1, 2, 3, 4});
        g.clickCategory(turn);
        g.random.faces.clear();
        for (int i = 0; i < 3000; ++i)
            g.random.faces << int((lcg = lcg * 1103515245u + 12345u) >> 16) % 6 + 1;
        LetTheComputerPlay(g);
        QVERIFY(!g.a().opponents().IsComputerTurn());
        // Each computer's card shows its bookings, the last one marked.
        for (int p = 2; p <= 4; ++p) {
            int booked = 0, marked = 0;
            for (int row = 1; row <= 15; ++row) {
                if (g.s().ScoreCard[p][row] == NotBooked)
                    continue;
                ++booked;
                QCOMPARE(sheet->cellText(row, p), QString::number(g.s().ScoreCard[p][row]));
                marked += sheet->isMarked(row, p) ? 1 : 0;
            }
            QCOMPARE(booked, turn);
            QCOMPARE(marked, 1);
        }
    }
    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Game Over"));
    int best = 1;
    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(g.f().lblPlayer[p]->text(), p == 1 ? QStringLiteral("Ann") : QStringLiteral("Computer %1 (Hard)").arg(p - 1));
        QCOMPARE(sheet->cellText(TotalRow, p), g.f().lblSum[p]->text());
        if (g.s().ScoreCard[p][TotalRow] > g.s().ScoreCard[best][TotalRow])
            best = p; // ties stay with the lower seat
    }
    QVERIFY(!sheet->headerText(1).contains(QStringLiteral("\u2192")));
    const QStringList messages = g.dialogs.messageTexts();
    QVERIFY(messages.contains(QStringLiteral("Winner is %1\r\nWith the score: %2")
                                  .arg(g.f().lblPlayer[best]->text(), g.f().lblSum[best]->text())));
    QCOMPARE(messages.filter(QStringLiteral("Do you want to sacrifice")).size(), 9); // Ann's alone
    QVERIFY(!messages.contains(QStringLiteral("New Highscore !!")));

    // The game's record: the computers' level, and a review whose luck and
    // loss account for every total exactly.
    const history::GameRecord &record = g.a().recorder().record();
    QCOMPARE(record.players.size(), std::size_t(4));
    QVERIFY(!record.players[0].computer && record.players[3].computer == strategy::Level::Hard);
    for (const history::PlayerReview &r : history::Review(*StrategyLoader::Shared().table(), record))
        QVERIFY2(std::abs(r.expectedStart + r.luck - r.loss - r.total) < 1e-3, qPrintable(r.name));
}

void ComputerTest::newGameDuringTheComputersTurnLeavesNothingBehind()
{
    GameFixture g;
    ComputerToPlay(g, 0);
    g.random.faces = QList<int>(200, 6);
    QTRY_VERIFY(g.f().Timer1->isActive());  // mid-roll
    const int calls = int(g.dialogs.calls.size());
    g.newGame({"Bob"});

    QTest::qWait(300);
    g.finishRoll();
    QCoreApplication::processEvents();
    QCOMPARE(g.a().opponents().computers(), 0);
    QVERIFY(!g.a().opponents().choiceMark());
    QVERIFY(!g.f().Timer1->isActive());
    QVERIFY(!ComputerTimer(g)->isActive());
    QCOMPARE(g.dialogs.calls.size(), calls + 1);  // Bob's name, nothing else
    for (int p = 1; p <= 4; ++p)
        for (int row = 1; row <= 15; ++row)
            QCOMPARE(g.s().ScoreCard[p][row], NotBooked);
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
}

QUINTOR_TEST_MAIN(ComputerTest)
#include "tst_computer.moc"
