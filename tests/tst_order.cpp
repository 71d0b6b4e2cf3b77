// Who wins, and the order in which sounds, dialogs and labels come at the
// bonus and at the end of a game.

#include "support/FullCard.h"
#include "support/GameFixture.h"
#include "support/OrderLog.h"

namespace {

void PlayTurn(GameFixture &g, const Turn &turn)
{
    g.roll(turn.dice);
    g.clickCategory(turn.row);
}

// The full card with Chance on 1 1 1 2 2: 284 instead of 305.
QList<Turn> LowerCard()
{
    QList<Turn> card = FullCard;
    card.last().dice = {1, 1, 1, 2, 2};
    return card;
}

} // namespace

class OrderTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QuietOffscreenWarnings(); }
    void lastSeatWins_data();
    void lastSeatWins();
    void bonusClapsBeforeItsDialogAndBeforeTheTurnPasses();
    void sacrificeThatEndsTheGame();
};

void OrderTest::lastSeatWins_data()
{
    QTest::addColumn<int>("players");
    QTest::newRow("two") << 2;
    QTest::newRow("four") << 4;
}

void OrderTest::lastSeatWins()
{
    QFETCH(int, players);
    GameFixture g;
    const QStringList names = QStringList{"Ann", "Bob", "Cy", "Di"}.mid(0, players);
    g.newGame(names);
    const QList<Turn> lower = LowerCard();
    for (int turn = 0; turn < FullCard.size(); ++turn)
        for (int p = 1; p <= players; ++p)
            PlayTurn(g, p == players ? FullCard[turn] : lower[turn]);
    const QString winner = names.last();
    QVERIFY(g.dialogs.messageTexts().contains(QStringLiteral("Winner is %1\r\nWith the score: 305").arg(winner)));
    QCOMPARE(g.f().lblHighscoreName->text(), winner);
}

void OrderTest::bonusClapsBeforeItsDialogAndBeforeTheTurnPasses()
{
    GameFixture g;
    g.newGame({"Ann", "Bob"});
    for (int row = 1; row <= 5; ++row) {
        PlayTurn(g, FullCard[row - 1]);
        PlayTurn(g, FullCard[row - 1]);
    }
    OrderLog log(g.f(), g.dialogs);
    PlayTurn(g, FullCard[5]);  // Sixs: 63 in the upper rows
    QCOMPARE(log.entries, (QStringList{
        "sound ROLL [Ann|0|Roll]",
        "sound CLAP [Ann|0|Roll]",
        "dialog Quintis: Congratulations you have recieved a 50 pts bonus [Ann|0|Roll]",
    }));
    QCOMPARE(g.f().lblPlayerTurn->text(), QStringLiteral("Bob"));
}

void OrderTest::sacrificeThatEndsTheGame()
{
    // Ann makes 284; Bob leaves five of a kind for last and sacrifices it.
    GameFixture g;
    g.newGame({"Ann", "Bob"});
    QList<Turn> bob = FullCard;
    bob.move(13, 14);
    bob.last().dice = {1, 2, 3, 4, 6};
    const QList<Turn> ann = LowerCard();
    for (int turn = 0; turn < 15; ++turn) {
        PlayTurn(g, ann[turn]);
        if (turn < 14)
            PlayTurn(g, bob[turn]);
    }
    OrderLog log(g.f(), g.dialogs);
    PlayTurn(g, bob.last());
    QCOMPARE(log.entries, (QStringList{
        "sound ROLL [Bob|0|Roll]",
        "dialog Quintor: Do you want to sacrifice Quinthor ? [Bob|0|Roll]",
        "sound GLASS [Bob|0|Roll]",
        // The board shows the game as over before the winner is told.
        "sound CLAP [Game Over|0|-]",
        "dialog Winner: Winner is Ann\r\nWith the score: 284 [Game Over|0|-]",
        "sound CLAP [Game Over|284|-]",
        "dialog Highscore: New Highscore !! [Game Over|284|-]",
    }));
}

QUINTOR_TEST_MAIN(OrderTest)
#include "tst_order.moc"
