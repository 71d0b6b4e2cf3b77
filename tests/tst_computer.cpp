// The hint and the computer opponent in the real window, with scripted dice
// and the table of perfect play from the test cache.

#include "support/GameFixture.h"

#include "game/StrategyLoader.h"
#include "strategy/TableCache.h"
#include "scoring/valmod.h"

#include <QAction>
#include <QProgressDialog>

namespace {

QString LastMessage(const GameFixture &g)
{
    return g.dialogs.calls.isEmpty() ? QString() : g.dialogs.calls.last().text;
}

// Lets the computer act, running each of its rolls at once.
void LetTheComputerPlay(GameFixture &g)
{
    for (int guard = 0; guard < 1000 && g.f().IsComputerTurn(); ++guard) {
        g.finishRoll();
        QCoreApplication::processEvents();
    }
}

} // namespace

class ComputerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void hint();
    void hintIsDisabledWhereItCannotHelp();
    void hintAskedWhileTheTableLoads();
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
    g.newGame({"Ann"});
    g.f().mnuHint->trigger();
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Hint"));
    QCOMPARE(LastMessage(g), QStringLiteral("Roll the dice.\nWith perfect play from here your "
                                            "final total will be 248.4 on average."));

    g.roll({6, 6, 6, 6, 6});
    g.f().mnuHint->trigger();
    const QString text = LastMessage(g);
    QVERIFY2(text.startsWith(QStringLiteral("Best choice: book Quinthor for 50.\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("\nRunner-up: ")), qPrintable(text));

    // Asking changes nothing.
    QCOMPARE(g.s().RollCount, 1);
    QVERIFY(g.s().HasRolled);
    QCOMPARE(g.s().ScoreCard[1][14], NotBooked);
    QVERIFY(g.f().lblSum[1]->text().isEmpty());

    // At the last roll a small straight goes where it scores most.
    g.roll({1, 1, 1, 1, 1});
    g.roll({5, 3, 1, 4, 2});
    g.f().mnuHint->trigger();
    QVERIFY2(LastMessage(g).startsWith(QStringLiteral("Best choice: book Small Straight for 15.\n")),
             qPrintable(LastMessage(g)));
}

void ComputerTest::hintIsDisabledWhereItCannotHelp()
{
    GameFixture g;
    QAction *hint = g.f().mnuHint;
    QVERIFY(!hint->isEnabled());  // no game yet
    g.newGame({"Ann"});
    QVERIFY(hint->isEnabled());
    g.random.faces = QList<int>(20, 3);
    g.clickRoll();
    QVERIFY(!hint->isEnabled());  // the dice roll
    g.finishRoll();
    QVERIFY(hint->isEnabled());
    const int calls = int(g.dialogs.calls.size());
    hint->trigger();
    QCOMPARE(g.dialogs.calls.size(), calls + 1);
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

void ComputerTest::computerPlaysAWholeGame()
{
    GameFixture g;
    g.f().setComputerPace(0);
    g.dialogs.names = QStringList{"Ann"};
    g.f().mnuComputer->trigger();
    QCOMPARE(g.dialogs.calls.size(), 1);  // only the person's name is asked
    QCOMPARE(g.f().lblPlayer[1]->text(), QStringLiteral("Ann"));
    QCOMPARE(g.f().lblPlayer[2]->text(), QStringLiteral("Computer"));

    for (int row = 1; row <= 15; ++row) {
        // Ann books 1 1 2 3 4 on every row in order, sacrificing where it scores nothing.
        g.roll({1, 1, 2, 3, 4});
        g.clickCategory(row);
        QVERIFY(g.f().IsComputerTurn());
        QVERIFY(!g.f().mnuHint->isEnabled());
        // The computer only ever sees sixes.
        g.random.faces = QList<int>(200, 6);
        LetTheComputerPlay(g);
        QVERIFY(!g.f().IsComputerTurn());
        if (row == 1)  // Five sixes: perfect play books them as five of a kind.
            QCOMPARE(g.s().ScoreCard[2][14], 50);
    }

    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Game Over"));
    for (int row = 1; row <= 15; ++row)
        QVERIFY(g.s().ScoreCard[2][row] != NotBooked);
    QCOMPARE(g.f().lblSum[1]->text(), QStringLiteral("24"));
    const QString computerTotal = g.f().lblSum[2]->text();
    QCOMPARE(computerTotal.toInt(), 50 + 30 + 24 + 18 + 12 + 30);
    QVERIFY(g.dialogs.messageTexts().contains(
        QStringLiteral("Winner is Computer\r\nWith the score: %1").arg(computerTotal)));
    // Only Ann was asked about sacrifices: rows 5, 6 and 8 to 14.
    int questions = 0;
    for (const QString &text : g.dialogs.messageTexts())
        questions += text.startsWith(QStringLiteral("Do you want to sacrifice")) ? 1 : 0;
    QCOMPARE(questions, 9);
    // The computer's win is no high score.
    QVERIFY(!g.dialogs.messageTexts().contains(QStringLiteral("New Highscore !!")));
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    g.reopen();
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Nobody"));
}

void ComputerTest::personCannotPlayTheComputersTurn()
{
    GameFixture g;
    g.f().setComputerPace(60000);  // the computer waits while the person tries
    g.dialogs.names = QStringList{"Ann"};
    g.f().mnuComputer->trigger();
    g.roll({6, 6, 6, 6, 6});
    g.clickCategory(14);
    QVERIFY(g.f().IsComputerTurn());

    g.clickRoll();
    QTest::keyClick(g.f().cmdRoll, Qt::Key_Space);
    QVERIFY(!g.f().Timer1->isActive());
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    g.clickCategory(15);
    QVERIFY(!g.f().chkChooseScore[15]->isChecked());
    QCOMPARE(g.s().ScoreCard[2][15], NotBooked);
    // Help still works; then the computer takes its turn.
    g.f().mnuHelp->trigger();
    QCOMPARE(g.dialogs.calls.last().title, QStringLiteral("Quintor Help"));
    g.f().setComputerPace(0);
    g.f().findChild<QTimer *>(QStringLiteral("ComputerTimer"))->start();
    LetTheComputerPlay(g);
    QVERIFY(!g.f().IsComputerTurn());
}

void ComputerTest::newGameDuringTheComputersTurnLeavesNothingBehind()
{
    GameFixture g;
    g.f().setComputerPace(0);
    g.dialogs.names = QStringList{"Ann"};
    g.f().mnuComputer->trigger();
    g.roll({6, 6, 6, 6, 6});
    g.clickCategory(14);
    // Mid-roll, with its dice about to land on five of a kind.
    g.random.faces = QList<int>(200, 6);
    QTRY_VERIFY(g.f().Timer1->isActive());
    const int calls = int(g.dialogs.calls.size());
    g.newGame({"Bob"});

    QTest::qWait(300);
    g.finishRoll();
    QCoreApplication::processEvents();
    QCOMPARE(g.f().computerSeat(), 0);
    QVERIFY(!g.f().Timer1->isActive());
    QVERIFY(!g.f().findChild<QTimer *>(QStringLiteral("ComputerTimer"))->isActive());
    QCOMPARE(g.dialogs.calls.size(), calls + 1);  // Bob's name, nothing else
    QVERIFY(g.f().lblPlayer[2]->text().isEmpty());
    for (int p = 1; p <= 4; ++p)
        for (int row = 1; row <= 15; ++row)
            QCOMPARE(g.s().ScoreCard[p][row], NotBooked);
    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Bob"));
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
}

QUINTOR_TEST_MAIN(ComputerTest)
#include "tst_computer.moc"
