#include "coach/Coach.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using strategy::Choice;
Q_DECLARE_METATYPE(strategy::Choice)

namespace {

constexpr int WaitMs = 10 * 60 * 1000; // the first run works the table out

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run RunCoach(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QUINTOR_COACH), args);
    Run run;
    if (!process.waitForFinished(WaitMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Choice Keep(std::vector<int> kept, double expected)
{
    Choice c;
    c.action = Choice::Action::Keep;
    c.kept = std::move(kept);
    c.expected = expected;
    return c;
}

Choice Book(int row, int points, double expected)
{
    Choice c;
    c.row = row;
    c.points = points;
    c.expected = expected;
    return c;
}

strategy::BookedRows Rows(std::initializer_list<int> rows)
{
    strategy::BookedRows booked = 0;
    for (int row : rows)
        booked = static_cast<strategy::BookedRows>(booked | (1u << (row - 1)));
    return booked;
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
    QTest::addColumn<int>("booked");
    QTest::addColumn<int>("upper");
    QTest::addColumn<QString>("dice"); // empty: none
    QTest::addColumn<int>("rollsLeft");
    QTest::addColumn<bool>("json");

    QTest::newRow("new game") << QStringList{} << 0 << 0 << QString() << 0 << false;
    QTest::newRow("= form, spaces, any order")
        << QStringList{"--upper=34", "--json", "--booked=15, 6,1"} << int(Rows({1, 6, 15})) << 34 << QString()
        << 0 << true;
    QTest::newRow("empty list, dice")
        << QStringList{"--rolls-left", "0", "--booked", "", "--dice", "52341"} << 0 << 0 << "52341" << 0 << false;
    QTest::newRow("every upper row full")
        << QStringList{"--booked", "1,2,3,4,5,6", "--upper", "105", "--dice", "66661", "--rolls-left", "2"}
        << int(Rows({1, 2, 3, 4, 5, 6})) << 105 << "66661" << 2 << false;
}

void TestCoach::goodInput()
{
    QFETCH(QStringList, args);
    const coach::Parsed parsed = coach::Parse(args);
    QCOMPARE(parsed.error, QString());
    const coach::Request &r = parsed.request;
    QFETCH(int, booked);
    QCOMPARE(int(r.booked), booked);
    QTEST(r.upperSum, "upper");
    QTEST(r.json, "json");
    QFETCH(QString, dice);
    QCOMPARE(r.dice.has_value(), !dice.isEmpty());
    if (r.dice) {
        QString faces;
        for (int f : *r.dice)
            faces += QString::number(f);
        QCOMPARE(faces, dice);
        QTEST(r.rollsLeft, "rollsLeft");
    }
}

void TestCoach::wording_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QString>("words");

    QTest::newRow("keep three") << Keep({5, 5, 5}, 0) << "keep 5 5 5 and roll 2 dice";
    QTest::newRow("keep four") << Keep({1, 2, 3, 4}, 0) << "keep 1 2 3 4 and roll 1 die";
    QTest::newRow("keep none") << Keep({}, 0) << "roll all 5 dice";
    QTest::newRow("book") << Book(9, 15, 0) << "book Three of a kind for 15";
    QTest::newRow("sacrifice") << Book(14, 0, 0) << "sacrifice Quinthor";
}

void TestCoach::wording()
{
    QFETCH(Choice, choice);
    QTEST(coach::Describe(choice), "words");
}

void TestCoach::jsonShape()
{
    coach::Request request;
    const std::vector<Choice> choices{Keep({2, 5, 5}, 190.123456), Book(9, 15, 181.5)};
    const QJsonObject withoutDice = QJsonDocument::fromJson(coach::FormatJson(request, 190.123456, choices)).object();
    QCOMPARE(withoutDice.keys(), QStringList{"expected_remaining"});

    request.dice = strategy::Dice{5, 2, 5, 3, 6};
    const QJsonObject root = QJsonDocument::fromJson(coach::FormatJson(request, 190.123456, choices)).object();
    QCOMPARE(root.value("expected_remaining").toDouble(), 190.1235);
    const QJsonArray list = root.value("choices").toArray();
    QCOMPARE(list.size(), 2);
    QCOMPARE(root.value("best").toObject(), list[0].toObject());
    const QJsonObject keep = list[0].toObject();
    QCOMPARE(keep.value("action").toString(), "keep");
    QCOMPARE(keep.value("dice").toArray(), (QJsonArray{2, 5, 5}));
    QVERIFY(!keep.contains("row"));
    const QJsonObject book = list[1].toObject();
    QCOMPARE(book.value("action").toString(), "book");
    QCOMPARE(book.value("row").toInt(), 9);
    QCOMPARE(book.value("caption").toString(), "Three of a kind");
    QCOMPARE(book.value("points").toInt(), 15);
    QCOMPARE(book.value("expected_remaining").toDouble(), 181.5);
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
    QTest::newRow("row 0") << QStringList{"--booked", "0"} << "row 0";
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
    QTest::newRow("face 0") << QStringList{"--dice", "06666", "--rolls-left", "1"} << "'06666'";
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
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(qRound(root.value("expected_remaining").toDouble() * 100), 7333);
    const QJsonArray choices = root.value("choices").toArray();
    QCOMPARE(choices.size(), 2);
    QCOMPARE(root.value("best").toObject(), choices[0].toObject());
    const QJsonObject best = choices[0].toObject(), other = choices[1].toObject();
    QCOMPARE(best.value("action").toString(), "book");
    QCOMPARE(best.value("row").toInt(), 14);
    QCOMPARE(best.value("caption").toString(), "Quinthor");
    QCOMPARE(best.value("points").toInt(), 50);
    QCOMPARE(qRound(best.value("expected_remaining").toDouble() * 100), 7333);
    QCOMPARE(other.value("row").toInt(), 15);
    QCOMPARE(other.value("points").toInt(), 30);
    QCOMPARE(qRound(other.value("expected_remaining").toDouble() * 100), 3230);
}

QTEST_GUILESS_MAIN(TestCoach)
#include "tst_coach.moc"
