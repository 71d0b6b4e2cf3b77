// Whole games through real clicks: rolling and holding, booking, the bonus,
// the turn change, the end of the game and the high score.

#include "support/FullCard.h"
#include "support/GameFixture.h"
#include "support/SoundRecorder.h"

#include "resources/DiceImages.h"
#include "scoring/valmod.h"

#include <QFile>

namespace {

// Dice for which the row scores 0 (Chance never does).
QList<int> ZeroFor(int row)
{
    if (row > 6)
        return {1, 2, 3, 4, 6};
    QList<int> dice;
    for (int face = 1; face <= 6; ++face)
        if (face != row)
            dice.append(face);
    return dice;
}

// Books `row` for the player to play with one roll of `dice`.
void PlayTurn(GameFixture &g, const QList<int> &dice, int row)
{
    g.roll(dice);
    g.clickCategory(row);
}

int Count(const QStringList &list, const QString &value)
{
    return int(list.count(value));
}

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    void init() { g = std::make_unique<GameFixture>(); }
    void cleanup() { g.reset(); }

    void wholeGameForOnePlayer();
    void wholeGameForFourPlayers();
    void holdingAndFreeingBetweenRolls();
    void theThirdRollEndsRolling();
    void rollAnimationRunsOnTheRealTimer();
    void scoreHintsAfterARoll();
    void scoreHintsStayThroughTheTurnChange();
    void upperBonus_data();
    void upperBonus();
    void sacrificeAcceptedAndDeclined();
    void turnOrderWraps_data();
    void turnOrderWraps();
    void tieGoesToTheLowestNumberedPlayer();
    void playerWithOnlySacrificesKeepsAnEmptyTotal();
    void winnerWithAnEmptyName();
    void highscore_data();
    void highscore();
    void corruptSettingsFile();
    void captionsReadAsNumbers_data();
    void captionsReadAsNumbers();

    // Faults of the original rules that the game mends.
    void categoryClickDuringTheAnimationIsTurnedAway();
    void newGameStopsARunningAnimation();
    void rollClickDuringTheAnimationIsIgnored();
    void unrolledDieCannotBeHeld();
    void declinedSacrificeNeverLeavesIgnoreClickPending();
    void twoCopiesFinishOneAfterTheOther_data();
    void twoCopiesFinishOneAfterTheOther();

private:
    void playFullCard(const QString &name);
    std::unique_ptr<GameFixture> g;
};

void GameTest::playFullCard(const QString &name)
{
    g->newGame({name});
    for (const Turn &turn : FullCard)
        PlayTurn(*g, turn.dice, turn.row);
}

void GameTest::wholeGameForOnePlayer()
{
    SoundRecorder sounds;
    g->newGame({"Ann"});
    Form1 &f = g->f();
    int expected = 0;
    for (int i = 0; i < FullCard.size(); ++i) {
        const Turn &turn = FullCard[i];
        // Some turns take three rolls, holding what is kept.
        if (i % 3 == 0) {
            g->roll({1, 1, 1, 1, 1});
            g->clickDie(0);
            g->roll({1, 1, 1, 1});
            g->clickDie(0);
        }
        g->roll(turn.dice);
        QVERIFY(!f.chkChooseScore[turn.row]->isChecked());
        const int value = valmod::CategoryValue[turn.row];
        g->clickCategory(turn.row);
        expected += value + (turn.row == 6 ? 50 : 0);
        QCOMPARE(f.lblSum[1]->text(), QString::number(expected));
        QCOMPARE(f.Score[turn.row]->text(), QString::number(value));
        QVERIFY(f.chkChooseScore[turn.row]->isChecked());
        QVERIFY(!f.chkChooseScore[turn.row]->isEnabled());
    }
    QCOMPARE(expected, FullCardTotal);

    QCOMPARE(f.lblPlayerTurn->text(), QStringLiteral("Game Over"));
    QVERIFY(!f.cmdRoll->isEnabled());
    for (int r = 1; r <= 15; ++r)
        QVERIFY(!f.chkChooseScore[r]->isEnabled());
    QCOMPARE(g->s().ScoreCard[1][16], 50);
    QCOMPARE(g->s().ScoreCard[1][17], FullCardTotal);

    const QStringList messages = g->dialogs.messageTexts();
    QCOMPARE(messages, (QStringList{"Congratulations you have recieved a 50 pts bonus",
                                    "Winner is Ann\r\nWith the score: 305", "New Highscore !!"}));
    QCOMPARE(g->dialogs.calls.last().title, QStringLiteral("Highscore"));
    QCOMPARE(g->dialogs.calls[g->dialogs.calls.size() - 2].title, QStringLiteral("Winner"));
    // The bonus message has no title of its own.
    QVERIFY(g->dialogs.calls[1].title.isEmpty());

    // A roll sound for every roll, a clap for the bonus, the winner and the
    // high score, no glass.
    QCOMPARE(Count(sounds.played(), "ROLL"), 15 + 2 * 5);
    QCOMPARE(Count(sounds.played(), "CLAP"), 3);
    QCOMPARE(Count(sounds.played(), "GLASS"), 0);
    QCOMPARE(sounds.played().mid(sounds.played().size() - 2), (QStringList{"CLAP", "CLAP"}));

    QCOMPARE(f.lblHighscore->text(), QStringLiteral("305"));
    QCOMPARE(f.lblHighscoreName->text(), QStringLiteral("Ann"));
    // Nothing more can happen until New Game.
    g->clickRoll();
    g->clickCategory(1);
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(f.lblSum[1]->text(), QStringLiteral("305"));
}

void GameTest::wholeGameForFourPlayers()
{
    g->newGame({"Ann", "Bob", "Cy", "Di"});
    Form1 &f = g->f();
    // Ann plays the full card; Bob the same but sacrifices Quinthor; Cy
    // sacrifices both straights; Di books Chance 5 on every lower row.
    int totals[5] = {0, 0, 0, 0, 0};
    for (const Turn &turn : FullCard) {
        for (int p = 1; p <= 4; ++p) {
            QCOMPARE(f.lblPlayerTurn->text(), f.lblPlayer[p]->text());
            QCOMPARE(g->s().CurPlayer, p - 1);
            QList<int> dice = turn.dice;
            if ((p == 2 && turn.row == 14) || (p == 3 && (turn.row == 11 || turn.row == 12)))
                dice = ZeroFor(turn.row);
            if (p == 4 && turn.row >= 7 && turn.row != 15)
                dice = ZeroFor(turn.row);
            g->roll(dice);
            const int value = valmod::CategoryValue[turn.row];
            totals[p] += value + (turn.row == 6 ? 50 : 0);
            g->clickCategory(turn.row);
        }
    }
    QCOMPARE(totals[1], 305);
    QCOMPARE(totals[2], 255);
    QCOMPARE(totals[3], 270);
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(f.lblSum[p]->text(), QString::number(totals[p]));

    QCOMPARE(f.lblPlayerTurn->text(), QStringLiteral("Game Over"));
    QVERIFY(!f.cmdRoll->isEnabled());
    QVERIFY(g->dialogs.messageTexts().contains("Winner is Ann\r\nWith the score: 305"));
    // After the last booking the turn passed to player 1, whose card shows.
    QCOMPARE(g->s().CurPlayer, 0);
    QCOMPARE(f.Score[14]->text(), QStringLiteral("50"));
}

void GameTest::holdingAndFreeingBetweenRolls()
{
    g->newGame({"Ann"});
    Form1 &f = g->f();
    g->roll({1, 2, 3, 4, 5});

    g->clickDie(1);
    QVERIFY(!g->s().RollDie[1]);
    QCOMPARE(f.DicePic[1]->borderStyle(), 1);
    QCOMPARE(f.DicePic[1]->toolTip(), QStringLiteral("Die is hold"));
    QCOMPARE(f.DicePic[1]->pos(), QPoint(320, 80));
    QCOMPARE(f.DicePic[1]->accessibleName(), QStringLiteral("Die 2"));
    QCOMPARE(f.DicePic[1]->accessibleDescription(), QStringLiteral("Shows 2, held"));
    g->clickDie(1);
    QVERIFY(g->s().RollDie[1]);
    QCOMPARE(f.DicePic[1]->borderStyle(), 0);
    QCOMPARE(f.DicePic[1]->toolTip(), QStringLiteral("Hold/release die by clicking it"));
    QCOMPARE(f.DicePic[1]->accessibleDescription(), QStringLiteral("Shows 2, free"));

    g->clickDie(0);
    g->clickDie(4);
    g->roll({6, 6, 6});
    QCOMPARE(valmod::DiceValue, (valmod::DiceArray{1, 6, 6, 6, 5}));
    QCOMPARE(f.DicePic[0]->picture().toImage(), DiceImages::FacePicture(1).toImage());
    QCOMPARE(f.DicePic[4]->picture().toImage(), DiceImages::FacePicture(5).toImage());
    QCOMPARE(f.DicePic[2]->picture().toImage(), DiceImages::FacePicture(6).toImage());
    // Held dice stay held through the roll.
    QVERIFY(!g->s().RollDie[0]);
    QVERIFY(!g->s().RollDie[4]);
    QCOMPARE(valmod::CategoryValue[6], 18);

    // The turn change frees every die but leaves the pictures.
    g->clickCategory(6);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(g->s().RollDie[i]);
        QCOMPARE(f.DicePic[i]->borderStyle(), 0);
        QCOMPARE(valmod::DiceValue[i], 0);
    }
    QCOMPARE(f.DicePic[0]->picture().toImage(), DiceImages::FacePicture(1).toImage());
    // Before the first roll of the turn a click on a die does nothing.
    g->clickDie(3);
    QVERIFY(g->s().RollDie[3]);
}

void GameTest::theThirdRollEndsRolling()
{
    g->newGame({"Ann", "Bob"});
    Form1 &f = g->f();
    g->roll({1, 1, 1, 1, 1});
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 1 of 3"));
    g->roll({2, 2, 2, 2, 2});
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 2 of 3"));
    QVERIFY(f.cmdRoll->isEnabled());

    g->random.faces = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    g->clickRoll();
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 3 of 3"));
    QVERIFY(!f.cmdRoll->isEnabled());
    QCOMPARE(g->s().RollCount, 0);
    QVERIFY(!g->s().HasRolled);
    // While the last roll runs neither dice nor categories react.
    g->clickDie(0);
    QVERIFY(g->s().RollDie[0]);
    g->clickCategory(3);
    QCOMPARE(g->s().ScoreCard[1][3], NotBooked);

    g->finishRoll();
    QVERIFY(g->s().HasRolled);
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 3 of 3"));
    g->clickDie(0);
    QVERIFY(!g->s().RollDie[0]);
    g->clickRoll();
    QVERIFY(!f.Timer1->isActive());

    // The box clicked during the roll was left checked; a click unchecks
    // it, which is a booking too.
    QVERIFY(f.chkChooseScore[3]->isChecked());
    g->clickCategory(3);
    QCOMPARE(g->s().ScoreCard[1][3], 15);
    QCOMPARE(g->s().CurPlayer, 1);
    QVERIFY(f.cmdRoll->isEnabled());
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
}

void GameTest::rollAnimationRunsOnTheRealTimer()
{
    SoundRecorder sounds;
    g->newGame({"Ann"});
    g->random.faces = QList<int>(20, 4);
    g->clickRoll();
    QVERIFY(g->f().Timer1->isActive());
    QCOMPARE(sounds.played(), QStringList{"ROLL"});
    QTRY_VERIFY_WITH_TIMEOUT(!g->f().Timer1->isActive(), 2000);
    QCOMPARE(g->s().TickCount, 0);
    QCOMPARE(g->random.reseeds, 20);  // a reseed before every draw
    QCOMPARE(valmod::DiceValue, (valmod::DiceArray{4, 4, 4, 4, 4}));
    QCOMPARE(valmod::CategoryValue[10], 16);
}

void GameTest::scoreHintsAfterARoll()
{
    g->newGame({"Ann"});
    g->roll({6, 6, 6, 6, 6});
    g->clickCategory(6);  // Sixs booked: its box still gets hints.
    g->roll({2, 2, 3, 3, 3});
    const QStringList expected{"Aces = 0", "Deuces = 4", "Threes = 9", "Fours = 0", "Fives = 0",
                               "Sixs = 0", "Pair = 6", "Two Pair = 10", "3 Of a Kind = 9",
                               "4 Of a kind = 0", "Small Straight = 0", "Large Straight = 0",
                               "Full House = 13", "Quintor = 0", "Chance = 13"};
    for (int r = 1; r <= 15; ++r)
        QCOMPARE(g->f().chkChooseScore[r]->toolTip(), expected[r - 1]);
    QVERIFY(!g->f().chkChooseScore[6]->isEnabled());

    // Without a roll in this turn the hints are left alone.
    g->clickCategory(13);
    valmod::CategoryValue[1] = 42;
    g->f().ShowScoreHints();
    QCOMPARE(g->f().chkChooseScore[1]->toolTip(), QStringLiteral("Aces = 0"));
}

void GameTest::scoreHintsStayThroughTheTurnChange()
{
    g->newGame({"Ann", "Bob"});
    g->roll({1, 2, 3, 4, 5});
    g->clickCategory(11);
    QCOMPARE(g->s().CurPlayer, 1);
    QCOMPARE(g->f().chkChooseScore[11]->toolTip(), QStringLiteral("Small Straight = 15"));
    QCOMPARE(valmod::CategoryValue[11], 15);
    // Bob's card: the row Ann booked is open for him.
    QVERIFY(g->f().chkChooseScore[11]->isEnabled());
    QVERIFY(!g->f().chkChooseScore[11]->isChecked());
    QVERIFY(g->f().Score[11]->text().isEmpty());
}

void GameTest::upperBonus_data()
{
    QTest::addColumn<QList<Turn>>("turns");
    QTest::addColumn<QList<int>>("totals");  // after each booking
    QTest::addColumn<int>("bonusAt");         // booking index, -1 for none

    QTest::newRow("exactly 63") << QList<Turn>{{{1, 1, 1, 2, 3}, 1}, {{2, 2, 2, 5, 6}, 2},
                                               {{3, 3, 3, 1, 2}, 3}, {{4, 4, 4, 1, 2}, 4},
                                               {{5, 5, 5, 1, 2}, 5}, {{6, 6, 6, 1, 2}, 6}}
                                << QList<int>{3, 9, 18, 30, 45, 113} << 5;
    QTest::newRow("62 is not enough") << QList<Turn>{{{1, 1, 5, 2, 3}, 1}, {{2, 2, 2, 5, 6}, 2},
                                                     {{3, 3, 3, 1, 2}, 3}, {{4, 4, 4, 1, 2}, 4},
                                                     {{5, 5, 5, 1, 2}, 5}, {{6, 6, 6, 1, 2}, 6}}
                                      << QList<int>{2, 8, 17, 29, 44, 62} << -1;
    QTest::newRow("only once") << QList<Turn>{{{6, 6, 6, 6, 6}, 6}, {{5, 5, 5, 5, 5}, 5},
                                              {{4, 4, 1, 2, 3}, 4}, {{3, 3, 3, 1, 2}, 3},
                                              {{6, 6, 6, 6, 6}, 14}}
                               << QList<int>{30, 55, 113, 122, 172} << 2;
}

void GameTest::upperBonus()
{
    QFETCH(QList<Turn>, turns);
    QFETCH(QList<int>, totals);
    QFETCH(int, bonusAt);

    SoundRecorder sounds;
    g->newGame({"Ann"});
    for (int i = 0; i < turns.size(); ++i) {
        sounds.clear();
        g->dialogs.calls.clear();
        PlayTurn(*g, turns[i].dice, turns[i].row);
        QCOMPARE(g->f().lblSum[1]->text(), QString::number(totals[i]));
        const bool bonus = i == bonusAt;
        QCOMPARE(g->dialogs.calls.size(), bonus ? 1 : 0);
        QCOMPARE(sounds.played(), (bonus ? QStringList{"ROLL", "CLAP"} : QStringList{"ROLL"}));
    }
    QCOMPARE(g->s().ScoreCard[1][16], bonusAt >= 0 ? 50 : 0);
}

void GameTest::sacrificeAcceptedAndDeclined()
{
    SoundRecorder sounds;
    g->newGame({"Ann", "Bob"});
    Form1 &f = g->f();
    g->roll({1, 2, 3, 4, 6});
    g->clickDie(2);
    sounds.clear();

    g->dialogs.answers = {Dialogs::Answer::Cancel};
    g->clickCategory(14);
    QCOMPARE(g->dialogs.calls.size(), 3);
    const DialogCall &question = g->dialogs.calls.last();
    QCOMPARE(question.text, QStringLiteral("Do you want to sacrifice Quinthor ?"));
    QCOMPARE(question.title, QStringLiteral("Quintor"));
    QCOMPARE(question.buttons, Dialogs::Buttons::OkCancel);
    // Declined: still open, unchecked, same turn, same dice, nothing pending.
    QCOMPARE(g->s().ScoreCard[1][14], NotBooked);
    QVERIFY(!f.chkChooseScore[14]->isChecked());
    QVERIFY(f.chkChooseScore[14]->isEnabled());
    QCOMPARE(g->s().CurPlayer, 0);
    QVERIFY(!g->s().RollDie[2]);
    QCOMPARE(g->s().IgnoreClick, 0);
    QVERIFY(sounds.played().isEmpty());
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 1 of 3"));

    // Accepted: booked for 0 with the glass sound; the total is not written.
    g->dialogs.answers = {Dialogs::Answer::Ok};
    g->clickCategory(14);
    QCOMPARE(g->s().ScoreCard[1][14], 0);
    QCOMPARE(sounds.played(), QStringList{"GLASS"});
    QVERIFY(f.lblSum[1]->text().isEmpty());
    QCOMPARE(g->s().CurPlayer, 1);

    // Back on Ann's card the row shows 0, checked and disabled.
    PlayTurn(*g, {1, 2, 3, 4, 5}, 15);
    QCOMPARE(g->s().CurPlayer, 0);
    QCOMPARE(f.Score[14]->text(), QStringLiteral("0"));
    QVERIFY(f.chkChooseScore[14]->isChecked());
    QVERIFY(!f.chkChooseScore[14]->isEnabled());
}

void GameTest::turnOrderWraps_data()
{
    QTest::addColumn<int>("players");
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("four") << 4;
}

void GameTest::turnOrderWraps()
{
    QFETCH(int, players);
    const QStringList names = QStringList{"Ann", "Bob", "Cy", "Di"}.mid(0, players);
    g->newGame(names);
    for (int turn = 0; turn < 2 * players + 1; ++turn) {
        QCOMPARE(g->s().CurPlayer, turn % players);
        QCOMPARE(g->f().lblPlayerTurn->text(), names[turn % players]);
        QCOMPARE(g->f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
        PlayTurn(*g, {1, 2, 3, 4, 5}, 1 + turn / players);
    }
}

void GameTest::tieGoesToTheLowestNumberedPlayer()
{
    // Ann books a little less; Bob and Cy tie for the lead.
    g->newGame({"Ann", "Bob", "Cy"});
    for (const Turn &turn : FullCard) {
        for (int p = 1; p <= 3; ++p)
            PlayTurn(*g, p == 1 && turn.row == 15 ? QList<int>{1, 1, 1, 2, 2} : turn.dice, turn.row);
    }
    QCOMPARE(g->f().lblSum[2]->text(), g->f().lblSum[3]->text());
    QVERIFY(g->dialogs.messageTexts().contains("Winner is Bob\r\nWith the score: 305"));
    QCOMPARE(g->f().lblHighscoreName->text(), QStringLiteral("Bob"));
}

void GameTest::playerWithOnlySacrificesKeepsAnEmptyTotal()
{
    g->newGame({"Ann", "Bob"});
    for (int row = 1; row <= 14; ++row) {
        PlayTurn(*g, FullCard[row - 1].dice, row);
        PlayTurn(*g, ZeroFor(row), row);
        QVERIFY(g->f().lblSum[2]->text().isEmpty());
        QCOMPARE(g->s().ScoreCard[2][row], 0);
    }
    QCOMPARE(Val(g->f().lblSum[2]->text()), 0.0);
}

void GameTest::winnerWithAnEmptyName()
{
    g->settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "12"}, {"Name", "Eve"}});
    g->reopen();
    playFullCard(QString());
    QVERIFY(g->dialogs.messageTexts().contains("Winner is \r\nWith the score: 305"));
    // An empty name is stored as such: "Nobody" is only for nothing stored.
    QCOMPARE(g->f().lblHighscoreName->text(), QString());
    g->reopen();
    QCOMPARE(g->f().lblHighscoreName->text(), QString());
    QCOMPARE(g->f().lblHighscore->text(), QStringLiteral("305"));
}

void GameTest::highscore_data()
{
    QTest::addColumn<QString>("stored");  // empty: nothing stored
    QTest::addColumn<bool>("beaten");

    QTest::newRow("nothing stored") << QString() << true;
    QTest::newRow("lower") << "304" << true;
    QTest::newRow("equal") << "305" << false;
    QTest::newRow("higher") << "306" << false;
    QTest::newRow("leading blanks") << "  400 pts" << false;
    QTest::newRow("not a number") << "lots" << true;
}

void GameTest::highscore()
{
    QFETCH(QString, stored);
    QFETCH(bool, beaten);
    if (!stored.isEmpty()) {
        QVERIFY(g->settings.SaveSettings("Quintor", "QuintorHighscore",
                                         {{"Score", stored}, {"Name", "Eve"}}));
        g->reopen();
        QCOMPARE(g->f().lblHighscore->text(), stored);
        QCOMPARE(g->f().lblHighscoreName->text(), QStringLiteral("Eve"));
    }
    playFullCard(QStringLiteral("Ann"));

    QCOMPARE(g->dialogs.messageTexts().contains("New Highscore !!"), beaten);
    const QString score = beaten ? QStringLiteral("305") : stored;
    const QString holder = beaten ? QStringLiteral("Ann") : QStringLiteral("Eve");
    QCOMPARE(g->f().lblHighscore->text(), score);
    QCOMPARE(g->f().lblHighscoreName->text(), holder);
    // A new window reads back what was stored.
    g->reopen();
    QCOMPARE(g->f().lblHighscore->text(), score);
    QCOMPARE(g->f().lblHighscoreName->text(), holder);
}

void GameTest::corruptSettingsFile()
{
    const QString path = g->settings.FileName("Quintor");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        static const char garbage[] = "\xff\xfe[QuintorHighscore\n\x01Score===\n\0\0garbage";
        file.write(garbage, sizeof garbage - 1);
    }
    g->reopen();
    QCOMPARE(g->f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g->f().lblHighscoreName->text(), QStringLiteral("Nobody"));

    playFullCard(QStringLiteral("Ann"));
    QVERIFY(g->dialogs.messageTexts().contains("New Highscore !!"));
    for (const DialogCall &call : g->dialogs.calls)
        QCOMPARE(call.icon, Dialogs::Icon::None);  // no failure reported
    g->reopen();
    QCOMPARE(g->f().lblHighscore->text(), QStringLiteral("305"));
}

void GameTest::captionsReadAsNumbers_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("digits") << "305" << 305.0;
    QTest::newRow("leading blanks") << "  42" << 42.0;
    QTest::newRow("trailing text") << "120 pts" << 120.0;
    QTest::newRow("thousands") << "1,000" << 1.0;
    QTest::newRow("text") << "Nobody" << 0.0;
    QTest::newRow("sign") << "-7" << -7.0;
    QTest::newRow("fraction") << "1.5" << 1.5;
    QTest::newRow("lone sign") << "- 3" << 0.0;
    QTest::newRow("other digits") << QString::fromUtf8("\u0663") << 0.0;
}

void GameTest::captionsReadAsNumbers()
{
    QFETCH(QString, caption);
    QFETCH(double, value);
    QCOMPARE(Val(caption), value);
}

void GameTest::categoryClickDuringTheAnimationIsTurnedAway()
{
    g->newGame({"Ann", "Bob"});
    PlayTurn(*g, {6, 6, 6, 6, 6}, 15);
    // Bob rolls; while the dice still roll he clicks Quinthor, which the
    // last finished roll (Ann's) would have scored 50.
    g->random.faces = QList<int>(20, 2);
    g->clickRoll();
    g->clickCategory(14);
    QCOMPARE(g->s().ScoreCard[2][14], NotBooked);
    QCOMPARE(g->s().CurPlayer, 1);
    QVERIFY(g->dialogs.messageTexts().isEmpty());
    g->finishRoll();
    QCOMPARE(valmod::CategoryValue[14], 50);
    // The box stays as the click left it; unchecking it books Bob's roll.
    QVERIFY(g->f().chkChooseScore[14]->isChecked());
    g->clickCategory(14);
    QCOMPARE(g->s().ScoreCard[2][14], 50);
}

void GameTest::newGameStopsARunningAnimation()
{
    g->newGame({"Ann"});
    g->random.faces = QList<int>(40, 5);
    g->clickRoll();
    g->f().Timer1_Timer();
    g->newGame({"Bob"});
    QVERIFY(!g->f().Timer1->isActive());
    QCOMPARE(g->s().TickCount, 0);
    QTest::qWait(500);
    QVERIFY(!g->s().HasRolled);
    QCOMPARE(valmod::DiceValue, (valmod::DiceArray{0, 0, 0, 0, 0}));
    QCOMPARE(g->f().cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    // Bob has his three rolls.
    for (int roll = 1; roll <= 3; ++roll)
        g->roll({1, 2, 3, 4, 5});
    QVERIFY(!g->f().cmdRoll->isEnabled());
}

void GameTest::rollClickDuringTheAnimationIsIgnored()
{
    SoundRecorder sounds;
    g->newGame({"Ann"});
    g->random.faces = QList<int>(20, 3);
    g->clickRoll();
    g->clickRoll();
    g->clickRoll();
    QCOMPARE(g->s().RollCount, 1);
    QCOMPARE(g->f().cmdRoll->text(), QStringLiteral("Roll 1 of 3"));
    QVERIFY(g->f().cmdRoll->isEnabled());
    QCOMPARE(sounds.played(), QStringList{"ROLL"});
    g->finishRoll();
    g->roll({4, 4, 4, 4, 4});
    QCOMPARE(g->f().cmdRoll->text(), QStringLiteral("Roll 2 of 3"));
}

void GameTest::unrolledDieCannotBeHeld()
{
    g->newGame({"Ann"});
    g->random.faces = QList<int>(20, 1);
    g->clickRoll();
    QVERIFY(g->s().HasRolled);
    // Before the first tick no die has a value: holding all five would
    // keep five blanks, which score both straights.
    for (int i = 0; i < 5; ++i)
        g->clickDie(i);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(g->s().RollDie[i]);
        QCOMPARE(g->f().DicePic[i]->borderStyle(), 0);
    }
    g->f().Timer1_Timer();
    g->clickDie(3);  // after it the die shows a face and can be held
    QVERIFY(!g->s().RollDie[3]);
    g->finishRoll();
    QCOMPARE(valmod::DiceValue, (valmod::DiceArray{1, 1, 1, 1, 1}));
    QCOMPARE(valmod::CategoryValue[11], 0);
    QCOMPARE(valmod::CategoryValue[12], 0);
}

void GameTest::declinedSacrificeNeverLeavesIgnoreClickPending()
{
    g->newGame({"Ann", "Bob"});
    // Before the roll a click on Quinthor is turned away and leaves it checked.
    g->clickCategory(14);
    QVERIFY(g->f().chkChooseScore[14]->isChecked());
    g->roll({1, 2, 3, 4, 6});
    // This click unchecks it and asks; the decline then changes nothing,
    // so no event comes to clear the flag.
    g->dialogs.answers = {Dialogs::Answer::Cancel};
    g->clickCategory(14);
    QCOMPARE(g->s().ScoreCard[1][14], NotBooked);
    QCOMPARE(g->s().IgnoreClick, 0);
    // The player's next category click books at once.
    g->clickCategory(15);
    QCOMPARE(g->s().ScoreCard[1][15], 16);
    QCOMPARE(g->s().CurPlayer, 1);
}

void GameTest::twoCopiesFinishOneAfterTheOther_data()
{
    // Dice of each copy's last booking, Chance: 28 makes 305, 7 makes 284.
    QTest::addColumn<QList<int>>("firstChance");
    QTest::addColumn<QList<int>>("secondChance");
    QTest::addColumn<QString>("holder");
    const QList<int> high{6, 6, 6, 5, 5}, low{1, 1, 1, 2, 2};
    QTest::newRow("second lower") << high << low << "Ann";
    QTest::newRow("second equal") << high << high << "Ann";
    QTest::newRow("second higher") << low << high << "Bob";
}

void GameTest::twoCopiesFinishOneAfterTheOther()
{
    QFETCH(QList<int>, firstChance);
    QFETCH(QList<int>, secondChance);
    QFETCH(QString, holder);
    const bool secondBeatsFirst = holder == QLatin1String("Bob");
    const auto play = [](GameFixture &w, const QString &name, const QList<int> &chance) {
        w.newGame({name});
        for (const Turn &turn : FullCard)
            PlayTurn(w, turn.row == 15 ? chance : turn.dice, turn.row);
    };

    // Both windows start showing no score.
    GameFixture second;
    second.settings = SettingsStore(g->dir.path());
    second.reopen();
    play(*g, "Ann", firstChance);
    SoundRecorder sounds;
    play(second, "Bob", secondChance);

    // The second compares with what the first stored, not with the 0 it
    // showed, and claps for the bonus and the winner only.
    QCOMPARE(second.dialogs.messageTexts().contains("New Highscore !!"), secondBeatsFirst);
    QCOMPARE(Count(sounds.played(), "CLAP"), secondBeatsFirst ? 3 : 2);
    QCOMPARE(second.f().lblHighscore->text(), QStringLiteral("305"));
    QCOMPARE(second.f().lblHighscoreName->text(), holder);
}

QUINTOR_TEST_MAIN(GameTest)
#include "tst_game.moc"
