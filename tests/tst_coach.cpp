#include "coach/Coach.h"
#include "coach/Simulation.h"
#include "strategy/TableCache.h"
#include "strategy/Wording.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using strategy::Choice;

namespace {

struct Run { int status = -1; QByteArray out, err; };

// Through `script`, where the coach's stderr is a terminal.
Run RunCoach(const QStringList &args, const QString &cacheHome = {}, bool terminal = false)
{
    QProcess process;
    if (!cacheHome.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CACHE_HOME", cacheHome);
        process.setProcessEnvironment(env);
    }
    if (terminal)
        process.start("script", {"-qec", QStringLiteral(QUINTOR_COACH " ") + args.join(' '), "/dev/null"});
    else
        process.start(QStringLiteral(QUINTOR_COACH), args);
    if (!process.waitForFinished(15 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestCoach : public QObject {
    Q_OBJECT
private slots:
    // Options in any order, the = form, rows by number or name, dice written
    // together or apart.
    void goodInput()
    {
        for (const QString booked : {"15, 6,1", "chance,SIXS, Aces", "Aces,6,Chance"}) {
            const coach::Parsed parsed = coach::Parse({"--upper=34", "--json", "--booked=" + booked});
            QCOMPARE(parsed.error, QString());
            QCOMPARE(parsed.request.booked, strategy::BookedRows(0x4021)); // rows 1, 6 and 15
            QCOMPARE(parsed.request.upperSum, 34);
        }
        for (const QString dice : {"55315", "5 5 3 1 5", "5,5,3,1,5", " 5, 5 ,3,1,5 "}) {
            const coach::Parsed parsed = coach::Parse({"--dice", dice, "--rolls-left", "2", "--score", "40", "--top", "3"});
            QCOMPARE(parsed.error, QString());
            QCOMPARE(*parsed.request.dice, (strategy::Dice{5, 5, 3, 1, 5}));
            QCOMPARE(*parsed.request.score, 40);
            QCOMPARE(*parsed.request.top, 3);
        }
        QVERIFY(!coach::Parse({"--dice", "5 5 3 15", "--rolls-left", "1"}).error.isEmpty());
        // A million games take minutes; more are refused (here, as they would run for good when let through).
        QCOMPARE(coach::Parse({"--simulate", "1000000"}).error, QString());
        QCOMPARE(coach::Parse({"--simulate", "1000001"}).error, "--simulate needs a number of games 1..1000000, got '1000001'");
    }

    // Keeps in words and as JSON; bookings are read back from the real program below.
    void keeps()
    {
        QCOMPARE(strategy::Describe({Choice::Action::Keep, {5, 5, 5}}), "keep 5 5 5 and roll 2 dice");
        QCOMPARE(strategy::Describe({Choice::Action::Keep, {1, 2, 3, 4}}), "keep 1 2 3 4 and roll 1 die");
        QCOMPARE(strategy::Describe({Choice::Action::Keep, {}}), "roll all 5 dice");
        QCOMPARE(strategy::Describe({Choice::Action::Book, {}, 14}), "sacrifice Quinthor");
        coach::Request request;
        request.dice = strategy::Dice{5, 2, 5, 3, 6};
        const QByteArray json = coach::FormatJson(request, 190.123456, {{Choice::Action::Keep, {2, 5, 5}, 0, 0, 190.123456}});
        const QJsonObject keep{{"action", "keep"}, {"dice", QJsonArray{2, 5, 5}}, {"expected_remaining", 190.1235},
                               {"wording", "keep 2 5 5 and roll 2 dice"}, {"cost", 0}};
        QCOMPARE(QJsonDocument::fromJson(json).object()["best"], keep);
    }

    // Checked before the table is touched, so these answer at once.
    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("names"); // what the one line must mention
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "unknown option '--bogus'";
        QTest::newRow("missing value") << QStringList{"--booked"} << "--booked needs a value";
        QTest::newRow("row 16") << QStringList{"--booked", "7,16"} << "row 16";
        QTest::newRow("row twice") << QStringList{"--booked", "8,15,8"} << "row 8 is given twice";
        QTest::newRow("upper rows without --upper") << QStringList{"--booked", "3,9"} << "--upper must give their sum";
        QTest::newRow("upper unmakeable") << QStringList{"--booked", "2,4", "--upper", "7"} << "--upper 7";
        QTest::newRow("face 7") << QStringList{"--dice", "66667", "--rolls-left", "1"} << "'66667'";
        QTest::newRow("rolls left 3") << QStringList{"--dice", "66666", "--rolls-left", "3"} << "'3'";
        QTest::newRow("dice without rolls left") << QStringList{"--dice", "66666"} << "--rolls-left";
        QTest::newRow("unknown row name") << QStringList{"--booked", "aces,yahtzee"} << "'yahtzee'";
        QTest::newRow("top without dice") << QStringList{"--top", "3"} << "--top goes with --dice";
        QTest::newRow("two modes") << QStringList{"--simulate", "5", "--stats"} << "cannot be combined";
        QTest::newRow("no games") << QStringList{"--simulate", "0"} << "'0'";
        QTest::newRow("games not a number") << QStringList{"--simulate", "many"} << "'many'";
        QTest::newRow("unknown level") << QStringList{"--simulate", "5", "--level", "expert"} << "'expert'";
        QTest::newRow("level without games") << QStringList{"--level", "easy"} << "--level goes with --simulate";
        QTest::newRow("game over") << QStringList{"--booked", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", "--upper",
                                                  "0", "--dice", "66666", "--rolls-left", "0"} << "every row is booked";
    }
    void badInput()
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
    void newGame()
    {
        const Run run = RunCoach({});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("Expected score of a new game under perfect play: 248.44\n"));
        QCOMPARE(run.err, QByteArray()); // no terminal, no progress
    }

    // The same seed gives the same games; without one they differ.
    void simulate()
    {
        const QStringList args{"--simulate", "40", "--level", "hard", "--json"};
        const Run first = RunCoach(args + QStringList{"--seed", "5"});
        QCOMPARE(first.status, 0);
        QCOMPARE(RunCoach(args + QStringList{"--seed", "5"}).out, first.out);
        QVERIFY(RunCoach(args).out != RunCoach(args).out);
        QVERIFY(RunCoach(args + QStringList{"--seed", "4294967301"}).out != first.out); // 5 + 2^32
        // Progress on a terminal only.
        QCOMPARE(first.err, QByteArray());
        QVERIFY(RunCoach(args + QStringList{"--seed", "5"}, {}, true).out.contains("playing the games: done"));
        const QJsonObject root = QJsonDocument::fromJson(first.out).object();
        QCOMPARE(root.keys(), (QStringList{"bonus_rate", "games", "level", "max", "mean", "mean_loss", "min", "sd"}));
        QCOMPARE(root["games"].toInt(), 40);
        QCOMPARE(root["level"].toString(), "hard");
        QVERIFY(root["min"].toInt() <= root["mean"].toDouble() && root["mean"].toDouble() <= root["max"].toInt());
        QVERIFY(root["mean_loss"].toDouble() > 0);
    }

    // Game i is seeded by its number alone, however many threads play; the
    // figures are those of the games played.
    void simulationFigures()
    {
        using strategy::Level;
        const auto table = strategy::TableCache().LoadOrCompute();
        QVERIFY(table);
        QCOMPARE(coach::FormatJson(coach::Simulate(*table, 9, Level::Easy, 7, 3)),
                 coach::FormatJson(coach::Simulate(*table, 9, Level::Easy, 7, 1)));
        const coach::Simulation one = coach::Simulate(*table, 1, Level::Hard, 7, 4);
        QVERIFY(one.min == one.max && one.mean == one.min && one.sd == 0);
        // With two games the standard deviation (over n - 1) is their difference over the root of 2.
        const coach::Simulation two = coach::Simulate(*table, 2, Level::Hard, 7, 2);
        QVERIFY(two.min < two.max && two.mean == (two.min + two.max) / 2.0);
        QCOMPARE(two.sd, (two.max - two.min) / std::sqrt(2.0));
    }

    // A cache that can never be kept makes every run take seconds: said once, on a terminal only.
    void tableThatCannotBeKept()
    {
        QTemporaryDir home;
        QVERIFY(QFile(home.filePath("quintor")).open(QIODevice::WriteOnly)); // a file where the folder goes
        const QString said = "cannot keep the table in " + home.filePath("quintor/strategy-table.bin");
        const Run onTerminal = RunCoach({}, home.path(), true);
        QCOMPARE(onTerminal.status, 0);
        QCOMPARE(QString::fromLocal8Bit(onTerminal.out).count(said), 1);
        const Run inPipe = RunCoach({}, home.path());
        QCOMPARE(inPipe.err, QByteArray());
        QCOMPARE(inPipe.out, QByteArray("Expected score of a new game under perfect play: 248.44\n"));
    }

    // Only Quinthor and Chance open, 6 6 6 6 6 on the last roll: either booking leaves the other (23.33 or 2.30).
    void jsonAnswer()
    {
        const QStringList args{"--booked", "1,2,3,4,5,6,7,8,9,10,11,12,13", "--upper", "0", "--dice", "66666",
                               "--rolls-left", "0", "--json"};
        const Run run = RunCoach(args);
        QCOMPARE(run.status, 0);
        QJsonObject root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(qRound(root.take("expected_remaining").toDouble() * 100), 7333);
        const QJsonArray choices = root.take("choices").toArray();
        QCOMPARE(root.take("best"), choices[0]);
        QVERIFY2(root.isEmpty(), qPrintable(root.keys().join(' ')));
        QCOMPARE(choices.size(), 2);
        for (const auto &[i, caption, points, cents, cost] :
             {std::tuple{0, "Quinthor", 50, 7333, 0}, {1, "Chance", 30, 3230, 4103}}) {
            QJsonObject choice = choices[i].toObject();
            QCOMPARE(qRound(choice.take("expected_remaining").toDouble() * 100), cents);
            QCOMPARE(qRound(choice.take("cost").toDouble() * 100), cost);
            QCOMPARE(choice, (QJsonObject{{"action", "book"}, {"row", 14 + i}, {"caption", caption}, {"points", points},
                                          {"wording", QStringLiteral("book %1 for %2").arg(caption).arg(points)}}));
        }
        // In words the runner-up carries its cost, the best none; --score adds the final total.
        const QStringList lines = QString::fromLatin1(RunCoach(args.mid(0, args.size() - 1) + QStringList{"--score", "100"}).out).split('\n');
        QVERIFY(lines.contains("Expected final total: 173.33"));
        QCOMPARE(lines.filter("Quinthor for 50 ").value(0).simplified(), "book Quinthor for 50 73.33");
        QCOMPARE(lines.filter("Chance for 30 ").value(0).simplified(), "book Chance for 30 32.30 41.03");
    }
};

QTEST_GUILESS_MAIN(TestCoach)
#include "tst_coach.moc"
