// The game's additions where their own rules live: what a computer does with
// a roll, coach mode's verdicts, the opponents' remembered setup and the
// score sheet. They play on a table of their own in which every position is
// worth only what a turn books (no future, no computation), so the right
// answer is plain to see.

#include "support/GameFixture.h"

#include "coaching/CoachMode.h"
#include "history/Review.h"
#include "opponents/ComputerSetupDialog.h"
#include "opponents/ComputerTurn.h"
#include "opponents/Opponents.h"
#include "history/Statistics.h"
#include "history/TurningPoints.h"
#include "scoresheet/ScoreSheetView.h"
#include "support/FullCard.h"
#include "tablegate/StrategyLoader.h"
#include "turnlog/TurnLog.h"

#include <QAction>
#include <QChartView>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextDocument>

#include <numeric>

namespace {

void LetTheComputersPlay(GameFixture &g)
{
    for (int guard = 0; guard < 2000 && g.a().opponents().IsComputerTurn(); ++guard) {
        g.finishRoll();
        QCoreApplication::processEvents();
    }
}

} // namespace

class AdditionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QuietOffscreenWarnings(); }
    void computerHoldsWhatItKeeps();
    void computerPlaysAtItsLevel();
    void coachRatesBookingsBeforeTheirPoints();
    void coachRatesPeopleOnly();
    void setupIsRememberedAndOffered();
    void scoreSheetMarksThePlayerToPlay();
    void turnLogTellsEveryStep();
    void computersBonusIsToldWithoutABox();
    void scoreSheetShowsTheChanceToWin();
    void reviewChartsTheChanceTurnByTurn();
    void turningPointIsTheDecisionThatCostTheWin();
    void namesStayAsTyped();
    void declinedSacrificeLeavesNothingShown();
};

// The dice are 5 5 3 1 5 throughout. A held five stays held: no clicks to
// swap it for another five.
void AdditionsTest::computerHoldsWhatItKeeps()
{
    const struct { std::array<bool, 5> held; std::vector<int> kept; int die; } cases[] = {
        {{false, false, false, false, false}, {5, 5, 5}, 0}, {{true, false, false, false, false}, {5, 5, 5}, 1},
        {{true, true, false, false, true}, {5, 5, 5}, -1},   {{true, true, true, false, false}, {5, 5}, 2},
        {{false, false, false, false, true}, {5}, -1},       {{false, false, false, true, false}, {}, 3},
    };
    for (const auto &c : cases)
        QCOMPARE(DieToToggle({5, 5, 3, 1, 5}, c.held, c.kept), c.die);
}

// What a game's decisions cost against the table the computers play by:
// nothing for Perfect, something for Easy, in a game played in the window.
void AdditionsTest::computerPlaysAtItsLevel()
{
    StrategyLoader loader(BookingsOnly());
    for (strategy::Level level : {strategy::Level::Perfect, strategy::Level::Easy}) {
        GameFixture g(&loader);
        g.playComputers(1, level, 0, 7);
        quint32 lcg = 11;
        for (int row = 1; row <= 15; ++row) {
            g.book({1, 1, 2, 3, 4}, row);
            for (int i = 0; i < 300; ++i)
                g.random.faces << int((lcg = lcg * 1103515245u + 12345u) >> 16) % 6 + 1;
            LetTheComputersPlay(g);
        }
        QVERIFY(!g.f().GameOpen());
        const auto reviews = history::Review(*BookingsOnly(), g.a().recorder().record());
        QCOMPARE(reviews.size(), std::size_t(2));
        QVERIFY(reviews[1].computer == level);
        if (level == strategy::Level::Perfect)
            QCOMPARE(reviews[1].loss, 0.0);
        else
            QVERIFY2(reviews[1].loss > 1.0, qPrintable(QString::number(reviews[1].loss)));
    }
}

// Sixs lifts the upper rows from 45 to 63: the bonus makes it the best
// booking, which it is not once its own points are counted as already there.
void AdditionsTest::coachRatesBookingsBeforeTheirPoints()
{
    GameFixture g(BookingsOnly());
    g.action("mnuCoachMode")->trigger();
    g.newGame({"Ann"});
    for (int row = 1; row <= 5; ++row) // three of each: 45
        g.book(FullCard[row - 1].dice, row);
    // The last roll: only bookings are left to choose from.
    g.roll({6, 6, 6, 5, 5});
    g.roll({6, 6, 6, 5, 5});
    g.book({6, 6, 6, 5, 5}, 6);
    const QString verdict = g.a().coach().panel()->verdict();
    QCOMPARE(verdict, QStringLiteral("Ann, with 6 6 6 5 5: \"book Sixs for 18\" was the best choice."));
}

void AdditionsTest::coachRatesPeopleOnly()
{
    GameFixture g(BookingsOnly());
    g.action("mnuCoachMode")->trigger();
    g.playComputers(2, strategy::Level::Easy, 0, 7);
    g.book({1, 1, 2, 3, 4}, 15);
    const QString annsVerdict = g.a().coach().panel()->verdict();
    QVERIFY(annsVerdict.startsWith(QStringLiteral("Ann, with 1 1 2 3 4: ")));
    g.random.faces = QList<int>(200, 3);
    LetTheComputersPlay(g);
    QCOMPARE(g.s().CurPlayer, 0);
    QCOMPARE(g.a().coach().panel()->verdict(), annsVerdict);
    g.roll({1, 2, 3, 4, 6}); // her next turn: the old verdict is gone
    QVERIFY(g.a().coach().panel()->verdict().isEmpty());
}

// What was chosen comes back from the settings file, and the dialog offers
// exactly that.
void AdditionsTest::setupIsRememberedAndOffered()
{
    const ComputerSetup chosenSetups[] = {
        {QStringLiteral("Ann"), 1, strategy::Level::Easy, ComputerSetup::Pace::Slow},
        {QStringLiteral("Bob"), 3, strategy::Level::Perfect, ComputerSetup::Pace::Fast},
    };
    for (const ComputerSetup &chosen : chosenSetups) {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        QVERIFY(chosen.Save(settings));
        const ComputerSetup remembered = ComputerSetup::Load(settings);
        for (const ComputerSetup &setup : {remembered, ComputerSetupDialog(remembered).setup()}) {
            QCOMPARE(setup.name, chosen.name);
            QCOMPARE(setup.computers, chosen.computers);
            QCOMPARE(setup.level, chosen.level);
            QCOMPARE(setup.pace, chosen.pace);
        }
    }
}

void AdditionsTest::scoreSheetMarksThePlayerToPlay()
{
    GameFixture g;
    g.action("mnuScoreSheet")->trigger();
    const ScoreSheet *sheet = g.a().scoreSheet().sheet();
    g.newGame({"Ann", "Bob", "Cy"});
    for (int row : {13, 13, 13, 9}) {
        const int toPlay = g.s().CurPlayer + 1;
        for (int p = 1; p <= 3; ++p)
            QCOMPARE(sheet->headerText(p).startsWith(QStringLiteral("\u2192 ")), p == toPlay);
        g.book({2, 2, 2, 3, 3}, row);
    }
    QCOMPARE(g.s().CurPlayer, 1);
}

void AdditionsTest::turnLogTellsEveryStep()
{
    GameFixture g(BookingsOnly());
    g.action("mnuTurnLog")->trigger();
    g.playComputers(1, strategy::Level::Perfect, 0, 7);
    g.roll({2, 2, 3, 5, 6});
    g.clickDie(0);
    g.clickDie(1);
    g.book({2, 2, 2}, 2);
    g.random.faces = QList<int>(20, 6);
    LetTheComputersPlay(g);
    g.roll({1, 2, 3, 4, 6});
    g.book({1, 2, 3, 4, 6}, 14);
    const QStringList steps{
        "Ann rolled 2 2 3 5 6, kept 2 2",
        "Ann rolled 2 2 2 2 2",
        "Ann booked Deuces for 10",
        "Computer (Perfect) rolled 6 6 6 6 6",
        "Computer (Perfect) booked Quinthor for 50",
        "Ann rolled 1 2 3 4 6, kept nothing",
        "Ann rolled 1 2 3 4 6",
        "Ann sacrificed Quinthor",
    };
    QCOMPARE(g.a().turnLog().lines(), steps);
    const auto *view = g.f().findChild<QPlainTextEdit *>(QStringLiteral("TurnLog"));
    QCOMPARE(view->toPlainText(), steps.join(u'\n'));
    g.newGame({QString()});
    QVERIFY(g.a().turnLog().lines().isEmpty() && view->toPlainText().isEmpty());
    g.roll({1, 2, 3, 4, 6}); // a name left empty still says whose step it was
    QCOMPARE(g.a().turnLog().lines(), QStringList{QStringLiteral("Player 1 rolled 1 2 3 4 6")});
}

namespace {
// Every seat a computer's, whoever clicks.
struct ComputersOnly final : Seats {
    bool IsComputer(int) const override { return true; }
};
} // namespace

// A computer's bonus does not stop the game with a box addressed to "you";
// the turn log and the score sheet tell it. Nor is its win kept.
void AdditionsTest::computersBonusIsToldWithoutABox()
{
    GameFixture g;
    g.action("mnuScoreSheet")->trigger();
    g.newGame({"Hal"});
    const ComputersOnly computers;
    g.f().setSeats(&computers);
    for (int t = 0; t < 6; ++t)
        g.book(FullCard[t].dice, FullCard[t].row);
    QVERIFY(g.dialogs.messageTexts().isEmpty());
    QCOMPARE(g.a().turnLog().lines().last(), QStringLiteral("Hal earned the bonus of 50"));
    QVERIFY(g.a().scoreSheet().sheet()->isMarked(BonusRow, 1));
    for (int t = 6; t < 15; ++t)
        g.book(FullCard[t].dice, FullCard[t].row);
    QCOMPARE(g.dialogs.messageTexts(), QStringList{QStringLiteral("Winner is Hal\r\nWith the score: %1").arg(FullCardTotal)});
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(g.a().turnLog().lines().last(), QStringLiteral("Hal wins with %1").arg(FullCardTotal));
    g.f().setSeats(&g.a().opponents());
}

// After every booking the sheet shows each player's chance, worked out off
// the window's thread: a share of the whole while the game goes on, and
// exactly all or nothing at its end.
void AdditionsTest::scoreSheetShowsTheChanceToWin()
{
    GameFixture g(BookingsOnly());
    g.action("mnuScoreSheet")->trigger();
    const ScoreSheetView &view = g.a().scoreSheet();
    QSignalSpy shown(&view, &ScoreSheetView::chancesShown);
    g.newGame({"Ann", "Bob"});
    for (int t = 0; t < 15; ++t) {
        g.book(FullCard[t].dice, FullCard[t].row);
        QTRY_VERIFY(!view.chances().empty() && shown.count() > 2 * t);
        const double sum = std::accumulate(view.chances().begin(), view.chances().end(), 0.0);
        QVERIFY(std::abs(sum - 1) < 1e-9);
        // Bob books the same rows on little.
        g.book({1, 2, 3, 4, 6}, FullCard[t].row);
        QTRY_VERIFY(shown.count() > 2 * t + 1);
    }
    QVERIFY(!g.f().GameOpen());
    QCOMPARE(view.sheet()->cellText(18, 1), QStringLiteral("100%"));
    QCOMPARE(view.sheet()->cellText(18, 2), QStringLiteral("0%"));
    view.sheet()->setChances({0.996, 0.004}); // only what is certain says 100% or 0%
    QCOMPARE(view.sheet()->cellText(18, 1) + view.sheet()->cellText(18, 2), QStringLiteral(">99%<1%"));
}

// Ann books the full card, Bob little: the Review's chart has each player's
// chance at the start and after each of the fifteen rounds, ending in all or
// nothing.
void AdditionsTest::reviewChartsTheChanceTurnByTurn()
{
    GameFixture g(BookingsOnly());
    g.newGame({"Ann", "Bob"});
    g.action("mnuReview")->trigger(); // open all along: each roll counts at once
    const auto summary = [&] { return g.f().findChild<QLabel *>(QStringLiteral("ReviewSummary"))->text(); };
    for (int t = 0; t < 15; ++t) {
        g.book(FullCard[t].dice, FullCard[t].row);
        const QString before = summary();
        g.roll({1, 2, 3, 4, 6});
        QVERIFY(summary() != before && summary().contains(QStringLiteral("\nBob: expected final total now")));
        g.clickCategory(FullCard[t].row);
    }
    const auto *view = g.f().findChild<QChartView *>(QStringLiteral("ReviewChances"));
    QVERIFY(view);
    QTRY_VERIFY_WITH_TIMEOUT(view->chart()->series().size() == 2
                                 && static_cast<QLineSeries *>(view->chart()->series()[1])->count() == 16,
                             20000);
    const auto ann = static_cast<QLineSeries *>(view->chart()->series()[0])->points();
    const auto bob = static_cast<QLineSeries *>(view->chart()->series()[1])->points();
    for (int round = 0; round <= 15; ++round)
        QVERIFY(std::abs(ann[round].y() + bob[round].y() - 100) < 1e-6);
    QCOMPARE(ann.back(), QPointF(15, 100));
    QCOMPARE(bob.back(), QPointF(15, 0));
}

// Ann makes 305; Bob has 277 with Chance left and rolls 6 6 6 5 1. Booking
// the 24 at once loses for certain; the best keep can still reach 29.
void AdditionsTest::turningPointIsTheDecisionThatCostTheWin()
{
    GameFixture g(BookingsOnly());
    g.newGame({"Ann", "Bob"});
    for (int t = 0; t < 15; ++t) {
        g.book(FullCard[t].dice, FullCard[t].row);
        g.book(t < 14 ? FullCard[t].dice : QList<int>{6, 6, 6, 5, 1}, FullCard[t].row);
    }
    QCOMPARE(g.f().lblSum[2]->text(), QStringLiteral("301"));
    const history::GameRecord &record = g.a().recorder().record();
    const auto reviews = history::Review(*BookingsOnly(), record);
    const auto points = history::TurningPoints(*BookingsOnly(), record, reviews, 2000, 1);
    const auto bob = std::find_if(points.begin(), points.end(), [](const auto &p) { return p.player == 1; });
    QVERIFY(bob != points.end());
    QCOMPARE(bob->decision.turn, 15);
    QCOMPARE(bob->chosen, 0.0);
    QVERIFY2(bob->best > 0.1, qPrintable(QString::number(bob->best)));
    QVERIFY(history::Wording(*bob, QStringLiteral("Bob"))
                .startsWith(QStringLiteral("Bob, turn 15, roll 1, with 6 6 6 5 1: \"book Chance for 24\" left a 0% chance")));
}

namespace {
// A tooltip as Qt shows it: markup read as markup.
QString Shown(const QString &tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}
} // namespace

// A name is data wherever it goes: "%1" is not filled in, "<b>" not bold.
void AdditionsTest::namesStayAsTyped()
{
    GameFixture g(BookingsOnly());
    const QString odd = QStringLiteral("A%1 <b>%2</b>");
    for (const char *dock : {"mnuCoachMode", "mnuTurnLog", "mnuScoreSheet"})
        g.action(dock)->trigger();
    g.newGame({odd, "Bob"});
    QVERIFY(g.a().coach().panel()->advice().startsWith(odd + QStringLiteral(" to roll.")));
    g.book({2, 2, 2, 2, 6}, 2);
    QCOMPARE(g.a().turnLog().lines().last(), odd + QStringLiteral(" booked Deuces for 8"));
    QVERIFY(g.a().coach().panel()->verdict().startsWith(odd + QStringLiteral(", with 2 2 2 2 6: ")));
    const auto *table = g.f().findChild<QTableWidget *>(QStringLiteral("ScoreSheetTable"));
    QCOMPARE(Shown(table->horizontalHeaderItem(0)->toolTip()), odd);
    QCOMPARE(Shown(table->item(1, 0)->toolTip()), QStringLiteral("Last booking of ") + odd);
    history::Statistics statistics;
    statistics.players.push_back({odd, {history::GameFigures{{}, 250, true, 10, 8.44}}});
    QVERIFY(history::FormatText(statistics).contains(odd + QStringLiteral("      1   250.0")));
}

// The 0 of a sacrifice stands on the card while the question is open; a
// sheet drawn meanwhile must not keep showing it once the answer is Cancel.
void AdditionsTest::declinedSacrificeLeavesNothingShown()
{
    GameFixture g;
    QAction *sheet = g.action("mnuScoreSheet");
    sheet->trigger();
    g.newGame({"Ann"});
    g.roll({1, 2, 3, 4, 6});
    g.dialogs.answers = {Dialogs::Answer::Cancel};
    g.dialogs.onCall = [&](const DialogCall &) {
        sheet->trigger(); // closed and opened again: drawn anew
        sheet->trigger();
    };
    g.clickCategory(14);
    g.dialogs.onCall = nullptr;
    QCOMPARE(g.s().ScoreCard[1][14], NotBooked);
    QCOMPARE(g.a().scoreSheet().sheet()->cellText(14, 1), QString());
}

QUINTOR_TEST_MAIN(AdditionsTest)
#include "tst_additions.moc"
