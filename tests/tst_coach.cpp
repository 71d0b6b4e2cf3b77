#include "coach/Coach.h"
#include "strategy/Wording.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using strategy::Choice;
Q_DECLARE_METATYPE(strategy::Choice)

namespace {

struct Run {
    int status = -1;
    QByteArray out, err;
};

Run RunCoach(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QUINTOR_COACH), args);
    Run run;
    if (process.waitForFinished(15 * 60 * 1000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    return run;
}

Choice Keep(std::vector<int> kept, double expected = 0)
{
    Choice c;
    c.action = Choice::Action::Keep;
    c.kept = std::move(kept);
    c.expected = expected;
    return c;
}

Choice Book(int row, int points)
{
    Choice c;
    c.row = row;
    c.points = points;
    return c;
}

// What a request says, in a form a table row can spell out.
QString Summary(const coach::Request &r)
{
    QString dice = QStringLiteral("-");
    if (r.dice)
        dice = QStringLiteral("%1%2%3%4%5/%6").arg((*r.dice)[0]).arg((*r.dice)[1]).arg((*r.dice)[2])
                   .arg((*r.dice)[3]).arg((*r.dice)[4]).arg(r.rollsLeft);
    return QStringLiteral("%1 %2 %3 %4").arg(r.booked, 0, 16).arg(r.upperSum).arg(dice).arg(r.json);
}

} // namespace

class TestCoach : public QObject {
    Q_OBJECT

private slots:
    void goodInput_data();
    void goodInput();
    void wording_data();
    void wording();
    void jsonShape();
    void badInput_data();
    void badInput();
    void newGame();
    void jsonAnswer();
};

void TestCoach::goodInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("request");

    QTest::newRow("new game") << QStringList{} << "0 0 - 0";
    QTest::newRow("= form, spaces, any order") // rows 1, 6 and 15 are bits 0, 5 and 14
        << QStringList{"--upper=34", "--json", "--booked=15, 6,1"} << "4021 34 - 1";
    QTest::newRow("empty list, dice")
        << QStringList{"--rolls-left", "0", "--booked", "", "--dice", "52341"} << "0 0 52341/0 0";
}

void TestCoach::goodInput()
{
    QFETCH(QStringList, args);
    const coach::Parsed parsed = coach::Parse(args);
    QCOMPARE(parsed.error, QString());
    QTEST(Summary(parsed.request), "request");
}

void TestCoach::wording_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QString>("words");

    QTest::newRow("keep three") << Keep({5, 5, 5}) << "keep 5 5 5 and roll 2 dice";
    QTest::newRow("keep four") << Keep({1, 2, 3, 4}) << "keep 1 2 3 4 and roll 1 die";
    QTest::newRow("keep none") << Keep({}) << "roll all 5 dice";
    QTest::newRow("book") << Book(9, 15) << "book Three of a kind for 15";
    QTest::newRow("sacrifice") << Book(14, 0) << "sacrifice Quinthor";
}

void TestCoach::wording()
{
    QFETCH(Choice, choice);
    QTEST(strategy::Describe(choice), "words");
}

// Keeps as JSON; bookings are read back from the real program below.
void TestCoach::jsonShape()
{
    coach::Request request;
    const std::vector<Choice> choices{Keep({2, 5, 5}, 190.123456)};
    request.dice = strategy::Dice{5, 2, 5, 3, 6};
    const QJsonObject keep{{"action", "keep"}, {"dice", QJsonArray{2, 5, 5}}, {"expected_remaining", 190.1235}};
    QCOMPARE(QJsonDocument::fromJson(coach::FormatJson(request, 190.123456, choices)).object(),
             (QJsonObject{{"expected_remaining", 190.1235}, {"best", keep}, {"choices", QJsonArray{keep}}}));
}

void TestCoach::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("names"); // what the one line must mention

    const QString all = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "unknown option '--bogus'";
    QTest::newRow("stray argument") << QStringList{"66666"} << "'66666'";
    QTest::newRow("missing value at end") << QStringList{"--booked"} << "--booked needs a value";
    QTest::newRow("missing value before option") << QStringList{"--dice", "--rolls-left", "1"} << "--dice needs a value";
    QTest::newRow("option twice") << QStringList{"--upper", "0", "--upper=0"} << "--upper is given twice";
    QTest::newRow("row 16") << QStringList{"--booked", "7,16"} << "row 16";
    QTest::newRow("row twice") << QStringList{"--booked", "8,15,8"} << "row 8 is given twice";
    QTest::newRow("row not a number") << QStringList{"--booked", "1;2"} << "'1;2'";
    QTest::newRow("empty row") << QStringList{"--booked", "7,,8"} << "'7,,8'";
    QTest::newRow("upper 106") << QStringList{"--booked", "1,2,3,4,5,6", "--upper", "106"} << "--upper 106";
    QTest::newRow("upper negative") << QStringList{"--upper", "-1"} << "--upper -1";
    QTest::newRow("upper not a number") << QStringList{"--upper", "ten"} << "'ten'";
    QTest::newRow("upper unmakeable") << QStringList{"--booked", "2,4", "--upper", "7"} << "--upper 7";
    QTest::newRow("upper without upper rows") << QStringList{"--upper", "5"} << "--upper 5";
    QTest::newRow("upper rows without upper") << QStringList{"--booked", "3"} << "--upper";
    QTest::newRow("four dice") << QStringList{"--dice", "6666", "--rolls-left", "1"} << "'6666'";
    QTest::newRow("face 7") << QStringList{"--dice", "66667", "--rolls-left", "1"} << "'66667'";
    QTest::newRow("rolls left 3") << QStringList{"--dice", "66666", "--rolls-left", "3"} << "'3'";
    QTest::newRow("dice without rolls left") << QStringList{"--dice", "66666"} << "--rolls-left";
    QTest::newRow("rolls left without dice") << QStringList{"--rolls-left", "1"} << "--dice";
    QTest::newRow("dice, game over")
        << QStringList{"--booked", all, "--upper", "0", "--dice", "66666", "--rolls-left", "0"} << "every row is booked";
}

// Checked before the table is touched, so these answer at once.
void TestCoach::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, names);
    const Run run = RunCoach(args);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QByteArray());
    const QString err = QString::fromLocal8Bit(run.err);
    QCOMPARE(err.count(u'\n'), 1);
    QVERIFY2(err.startsWith("quintor-coach: ") && err.contains(names), qPrintable(err));
}

// Also fills the test cache with the table: it runs first, as a fixture.
void TestCoach::newGame()
{
    const Run run = RunCoach({});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QByteArray("Expected score of a new game under perfect play: 248.44\n"));
    QCOMPARE(run.err, QByteArray()); // no terminal, no progress
}

// Only Quinthor and Chance open, 6 6 6 6 6 after the last roll: booking
// Quinthor leaves Chance alone (23.33 to come), booking Chance leaves
// Quinthor alone (2.30).
void TestCoach::jsonAnswer()
{
    const Run run = RunCoach({"--booked", "1,2,3,4,5,6,7,8,9,10,11,12,13", "--upper", "0", "--dice", "66666",
                              "--rolls-left", "0", "--json"});
    QCOMPARE(run.status, 0);
    QJsonObject root = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(qRound(root.take("expected_remaining").toDouble() * 100), 7333);
    QJsonArray choices = root.take("choices").toArray();
    QCOMPARE(root.take("best"), choices[0]);
    QVERIFY2(root.isEmpty(), qPrintable(root.keys().join(' ')));
    QCOMPARE(choices.size(), 2);

    const QList<QPair<QJsonObject, int>> expected{
        {{{"action", "book"}, {"row", 14}, {"caption", "Quinthor"}, {"points", 50}}, 7333},
        {{{"action", "book"}, {"row", 15}, {"caption", "Chance"}, {"points", 30}}, 3230},
    };
    for (int i = 0; i < 2; ++i) {
        QJsonObject choice = choices[i].toObject();
        QCOMPARE(qRound(choice.take("expected_remaining").toDouble() * 100), expected[i].second);
        QCOMPARE(choice, expected[i].first);
    }
}

QTEST_GUILESS_MAIN(TestCoach)
#include "tst_coach.moc"
