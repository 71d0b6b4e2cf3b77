// The hint and the computer opponent in the real window, with scripted dice
// and the table of perfect play from the test cache.

#include "support/GameFixture.h"

#include "game/StrategyLoader.h"
#include "strategy/TableCache.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>

namespace {

QString AskHint(GameFixture &g)
{
    g.f().mnuHint->trigger();
    return g.dialogs.calls.last().title == QLatin1String("Hint") ? g.dialogs.calls.last().text : QString();
}

// Lets the computer act, running each of its rolls at once.
void LetTheComputerPlay(GameFixture &g)
{
    for (int guard = 0; guard < 1000 && g.f().IsComputerTurn(); ++guard) {
        g.finishRoll();
        QCoreApplication::processEvents();
    }
}

QTimer *ComputerTimer(GameFixture &g)
{
    return g.f().findChild<QTimer *>(QStringLiteral("ComputerTimer"));
}

// A computer game in which Ann has just booked five sixes.
void ComputerToPlay(GameFixture &g, int pace)
{
    g.f().setComputerPace(pace);
    g.dialogs.names = QStringList{"Ann"};
    g.f().mnuComputer->trigger();
    g.roll({6, 6, 6, 6, 6});
    g.clickCategory(14);
}

} // namespace

class ComputerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void hint();
    void hintAskedWhileTheTableLoads();
    void progressWindowGoneBeforeTheHintOpens();
    void loaderStopsAtOnceWhenDestroyed();
    void computerPlaysAWholeGame();
    void personCannotPlayTheComputersTurn();
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
    QAction *hint = g.f().mnuHint;
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
}

void ComputerTest::hintAskedWhileTheTableLoads()
{
    // A loader of its own that has not loaded anything yet.
    StrategyLoader loader(strategy::TableCache::DefaultFolder());
    GameFixture g;
    g.f().setStrategy(loader);
    g.newGame({"Ann"});
    const int calls = int(g.dialogs.calls.size());
    g.f().mnuHint->trigger();
    QVERIFY(loader.loading());
    // The hint comes once the table is there, and the progress window goes.
    QTRY_COMPARE(g.dialogs.calls.size(), calls + 1);
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Hint"));
    QTRY_VERIFY(g.f().findChildren<QProgressDialog *>().isEmpty());
    QTest::qWait(250);  // what the progress window left behind must not fire
}

void ComputerTest::progressWindowGoneBeforeTheHintOpens()
{
    // A fresh loader over the cached table: the load beats the progress
    // window's 500 ms delay.
    StrategyLoader loader(strategy::TableCache::DefaultFolder());
    GameFixture g;
    g.f().setStrategy(loader);
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
    g.f().mnuHint->trigger();
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
    g.f().setComputerPace(0);
    g.dialogs.names = QStringList{"Ann"};
    g.f().mnuComputer->trigger();
    QCOMPARE(g.dialogs.calls.size(), 1);  // only the person's name is asked
    QCOMPARE(g.f().lblPlayer[2]->text(), QStringLiteral("Computer"));

    for (int row = 1; row <= 15; ++row) {
        // Ann books 1 1 2 3 4 on every row in order, sacrificing where it scores nothing.
        g.roll({1, 1, 2, 3, 4});
        g.clickCategory(row);
        QVERIFY(!g.f().mnuHint->isEnabled());
        g.random.faces = QList<int>(200, 6);  // the computer only ever sees sixes
        LetTheComputerPlay(g);
        QVERIFY(!g.f().IsComputerTurn());
        if (row == 1)
            QCOMPARE(g.s().ScoreCard[2][14], 50);
    }

    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Game Over"));
    QCOMPARE(g.f().lblSum[1]->text(), QStringLiteral("24"));
    QCOMPARE(g.f().lblSum[2]->text(), QStringLiteral("164"));  // 50 + 30 + 24 + 18 + 12 + 30
    const QStringList messages = g.dialogs.messageTexts();
    QVERIFY(messages.contains(QStringLiteral("Winner is Computer\r\nWith the score: 164")));
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
    g.clickRoll();
    QTest::keyClick(g.f().cmdRoll, Qt::Key_Space);
    g.clickCategory(15);
    QVERIFY(!g.f().Timer1->isActive());
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    QVERIFY(!g.f().chkChooseScore[15]->isChecked());
    // Once the computer has rolled, its dice cannot be held either.
    g.f().setComputerPace(0);
    ComputerTimer(g)->start();
    QTRY_VERIFY(g.f().Timer1->isActive());
    g.f().setComputerPace(60000);
    g.finishRoll();
    g.clickDie(0);
    QTest::keyClick(g.f().DicePic[1], Qt::Key_Space);
    QVERIFY(g.s().HasRolled && g.s().RollDie[0] && g.s().RollDie[1]);
    // Help still works; then the computer takes its turn.
    g.f().mnuHelp->trigger();
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Quintor Help"));
    g.f().setComputerPace(0);
    ComputerTimer(g)->start();
    LetTheComputerPlay(g);
    QVERIFY(!g.f().IsComputerTurn());
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
    QCOMPARE(g.f().computerSeat(), 0);
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
