// The chance of winning, where the answer is known exactly, and from the
// coach's --win-chance on game records.

#include "history/GameRecord.h"
#include "strategy/TableCache.h"
#include "strategy/WinChance.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <map>

using namespace strategy;

namespace {

constexpr BookedRows AllBut(int row) { return AllBooked & ~(1u << (row - 1)); }
SeatState Over(int total) { return {AllBooked, 63, total, {}}; }

// The points one remaining turn brings under perfect play from `start`, exactly:
// every throw of the dice enumerated, every decision the advice's best.
std::map<int, double> LastTurn(const Table &table, BookedRows booked, int upperSum, const TurnUnderWay &start)
{
    std::map<std::pair<Dice, int>, std::map<int, double>> memo;
    // Every outcome of throwing the dice not kept, with its chance: each set
    // of faces once, weighed by the orders it can come in.
    const auto throws = [](std::vector<int> dice, const auto &each) {
        const auto more = [&](const auto &self, int from, int thrown, double p) -> void {
            if (dice.size() == 5) {
                Dice sorted{};
                std::partial_sort_copy(dice.begin(), dice.end(), sorted.begin(), sorted.end());
                return each(sorted, p);
            }
            for (int face = from; face <= 6; ++face) {
                const int same = int(std::count(dice.end() - thrown, dice.end(), face)) + 1;
                dice.push_back(face);
                self(self, face, thrown + 1, p * (thrown + 1) / same / 6);
                dice.pop_back();
            }
        };
        more(more, 1, 0, 1.0);
    };
    const auto turn = [&](const auto &self, const Dice &dice, int rollsLeft) -> const std::map<int, double> & {
        auto &known = memo[{dice, rollsLeft}];
        if (!known.empty())
            return known;
        const Choice best = Advise(table, booked, upperSum, dice, rollsLeft).front();
        if (best.action == Choice::Action::Book)
            return known = {{best.points + AfterBooking(upperSum, best.row, best.points).bonus, 1.0}};
        throws(best.kept, [&](const Dice &next, double p) {
            for (const auto &[points, q] : self(self, next, rollsLeft - 1))
                known[points] += p * q;
        });
        return known;
    };
    std::map<int, double> points;
    throws(start.kept, [&](const Dice &dice, double p) {
        for (const auto &[x, q] : turn(turn, dice, start.rolls - 1))
            points[x] += p * q;
    });
    return points;
}

struct Run { int status = -1; QByteArray out, err; };

Run RunCoach(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QUINTOR_COACH), args);
    if (!process.waitForFinished(5 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A player's card so far: each turn one roll, booked in a row.
history::PlayerRecord Player(const QString &name, std::optional<Level> computer, const std::vector<std::pair<int, Dice>> &turns)
{
    history::PlayerRecord player{name, computer, 0, {}};
    for (const auto &[row, dice] : turns)
        player.turns.push_back({{dice}, {}, row, history::Points(dice, row)});
    player.total = history::Total(player.turns);
    return player;
}

} // namespace

class TestWinChance : public QObject {
    Q_OBJECT
    std::shared_ptr<const Table> m_table;

    std::vector<double> Chances(const std::vector<SeatState> &seats, int games = DefaultWinChanceGames, int threads = 2)
    {
        return WinChances(*m_table, seats, games, 20261207, nullptr, threads);
    }

private slots:
    void initTestCase()
    {
        m_table = TableCache().LoadOrCompute();
        QVERIFY(m_table);
    }

    // Certain outcomes are exact: a finished game, and a player who cannot
    // catch the leader even scoring the most every open row can (a tie
    // goes to the lower seat).
    void certain_data()
    {
        QTest::addColumn<std::vector<SeatState>>("seats");
        QTest::addColumn<std::vector<double>>("chances");
        QTest::newRow("over, highest wins") << std::vector{Over(200), Over(250), Over(249)} << std::vector{0.0, 1.0, 0.0};
        QTest::newRow("over, tie to the lower seat") << std::vector{Over(200), Over(250), Over(250)} << std::vector{0.0, 1.0, 0.0};
        QTest::newRow("over, all tied") << std::vector{Over(240), Over(240)} << std::vector{1.0, 0.0};
        // Only Chance open: 30 at most, which only ties the leader's 300.
        QTest::newRow("tie is the most, higher seat") << std::vector{Over(300), SeatState{AllBut(15), 63, 270, {}}} << std::vector{1.0, 0.0};
        // Only Sixs open at 45: 30 and the bonus at most.
        QTest::newRow("bonus is not enough") << std::vector{SeatState{AllBut(6), 45, 190, {}}, Over(271)} << std::vector{0.0, 1.0};
        QTest::newRow("five sixes kept, no roll: Chance ties") << std::vector{SeatState{AllBut(15), 63, 200, {}, TurnUnderWay{{6, 6, 6, 6, 6}, 1}}, Over(230)} << std::vector{1.0, 0.0};
        // No answer for a turn that cannot occur; a fresh turn is none under way, not 3 rolls to come.
        for (const TurnUnderWay &t : {TurnUnderWay{std::vector(261, 6), 1}, {{0, 6}, 1}, {{7}, 2}, {{6}, 0}, {{}, 3}})
            QTest::addRow("impossible turn, %d kept, %d rolls", int(t.kept.size()), t.rolls) << std::vector{SeatState{AllBut(15), 63, 200, {}, t}, Over(220)} << std::vector<double>{};
        QTest::newRow("turn with no open row") << std::vector{SeatState{AllBooked, 63, 200, {}, TurnUnderWay{{6}, 1}}, Over(220)} << std::vector<double>{};
    }
    void certain()
    {
        QFETCH(std::vector<SeatState>, seats);
        QFETCH(std::vector<double>, chances);
        QCOMPARE(Chances(seats), chances);
    }

    // One open row worked out exactly from every throw of the dice; the
    // estimate is within its error of a point.
    void lastTurn_data()
    {
        QTest::addColumn<std::vector<SeatState>>("seats");
        QTest::newRow("Chance against a total") << std::vector{SeatState{AllBut(15), 63, 200, {}}, Over(223)};
        QTest::newRow("Quinthor ties, lower seat") << std::vector{SeatState{AllBut(14), 63, 250, {}}, Over(300)};
        QTest::newRow("Sixs for the bonus") << std::vector{Over(240), SeatState{AllBut(6), 45, 195, {}}};
        QTest::newRow("Aces, 70 on the card") << std::vector{SeatState{AllBut(1), 70, 250, {}}, Over(253)};
        QTest::newRow("Quinthor against Chance") << std::vector{SeatState{AllBut(14), 40, 228, {}}, SeatState{AllBut(15), 63, 210, {}}};
        QTest::newRow("four sixes kept, last roll") << std::vector{SeatState{AllBut(14), 63, 250, {}, TurnUnderWay{{6, 6, 6, 6}, 1}}, Over(280)};
        QTest::newRow("four kept, two rolls") << std::vector{SeatState{AllBut(14), 63, 250, {}, TurnUnderWay{{3, 6, 3, 3}, 2}}, Over(280)};
        QTest::newRow("Sixs for the bonus, two kept") << std::vector{Over(240), SeatState{AllBut(6), 45, 195, {}, TurnUnderWay{{6, 6}, 2}}};
    }
    void lastTurn()
    {
        QFETCH(std::vector<SeatState>, seats);
        std::vector<std::map<int, double>> points;
        for (const SeatState &s : seats) {
            points.push_back(s.booked == AllBooked ? std::map<int, double>{{0, 1.0}} : LastTurn(*m_table, s.booked, s.upperSum, s.turn.value_or(TurnUnderWay{{}, 3})));
            double mean = 0; // as the engine expects it
            for (const auto &[x, p] : points.back())
                mean += x * p;
            QVERIFY(s.turn || std::abs(mean - m_table->Expected(s.booked, s.upperSum)) < 1e-3);
        }
        double first = 0; // seat 1 wins ties
        for (const auto &[x, p] : points[0])
            for (const auto &[y, q] : points[1])
                first += seats[0].total + x >= seats[1].total + y ? p * q : 0;
        const auto chances = Chances(seats);
        QVERIFY2(first > 0.001 && first < 0.999, "a case worth sampling");
        QVERIFY2(std::abs(chances[0] - first) < 0.01, qPrintable(QStringLiteral("%1 against %2").arg(chances[0]).arg(first)));
        QCOMPARE(chances[0] + chances[1], 1.0);
    }

    // The same seed gives the same figures on one thread or two, with a turn
    // under way too; another seed other figures; a cancelled estimate gives none.
    void seeded()
    {
        const std::vector<SeatState> seats{{}, {0x4021, 24, 50, Level::Medium, TurnUnderWay{{2, 2}, 2}}, {0x0f00, 0, 80, {}}};
        const auto one = Chances(seats, 3000, 1);
        QCOMPARE(one, Chances(seats, 3000, 2));
        // A first estimate's games are the first of the full one's.
        const auto first = SampleFinalTotals(*m_table, seats, 100, 20261207), full = SampleFinalTotals(*m_table, seats, 300, 20261207);
        QCOMPARE(first[1], std::vector<int>(full[1].begin(), full[1].begin() + 100));
        QVERIFY(one != WinChances(*m_table, seats, 3000, 1));
        QVERIFY(std::abs(one[0] + one[1] + one[2] - 1) < 1e-12);
        const std::atomic<bool> cancel{true};
        QVERIFY(WinChances(*m_table, seats, 3000, 1, &cancel).empty());
        // Five sixes kept, no roll to come, book five of a kind without a throw: each game
        // then goes on with the dice a card after that booking starts with.
        const auto fives = SampleFinalTotals(*m_table, {{0, 0, 0, {}, TurnUnderWay{{6, 6, 6, 6, 6}, 1}}}, 300, 3);
        QCOMPARE(fives, SampleFinalTotals(*m_table, {{1u << 13, 0, 50, {}}}, 300, 3));
    }

    // A computer plays at its level: the weaker, the lower its chance.
    void levels()
    {
        double last = 0;
        for (Level level : Levels) {
            const double chance = Chances({{}, {0, 0, 0, level}}, 2000)[1];
            QVERIFY2(chance > last + 0.05, LevelName(level));
            last = chance;
        }
        QVERIFY(last > 0.45); // perfect against perfect, less the ties
    }

    // The sampled games are the engine's own: each one, replayed through the
    // advice and Choose with the same dice and picks, ends on the same total,
    // at every level, however the games were grouped and shared out.
    void playsAsTheEngine()
    {
        std::vector<SeatState> seats;
        for (Level level : Levels)
            seats.push_back({0, 0, 0, level});
        const auto totals = SampleFinalTotals(*m_table, seats, 100, 5);
        QCOMPARE(totals.size(), seats.size());
        for (int s = 0; s < int(seats.size()); ++s) {
            for (int game = 0; game < 100; ++game) {
                GameStreams streams = StreamsOf(5, s, game);
                const int total = PlayGame(*m_table, Levels[s], [&] { return RollDie(streams.dice); }, streams.choices).total;
                QCOMPARE(totals[std::size_t(s)][std::size_t(game)], total);
            }
        }
    }

    // The coach on records: finished (certain), still going on, and bad.
    void coach()
    {
        QTemporaryDir dir;
        const Dice fives{5, 5, 5, 5, 5}, low{1, 1, 2, 2, 3};
        history::GameRecord record{QDateTime::currentDateTimeUtc(), {}};
        std::vector<std::pair<int, Dice>> ann, bob;
        for (int row : {5, 6, 7, 8, 9, 10, 11, 1, 2, 3, 4, 12, 13, 14, 15})
            ann.push_back({row, fives});
        for (int row : {1, 2, 3, 4, 12, 13, 5, 6, 7, 8, 9, 10, 11, 14, 15})
            bob.push_back({row, low});
        record.players = {Player("Ann\x1b[2J", {}, ann), Player("Bob", Level::Hard, bob)};
        const int annTotal = record.players[0].total;
        const auto write = [&](const QString &name, const QByteArray &json) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        };
        write("over.json", history::ToJson(record));
        // Still going on: Ann has played seven turns, Bob six.
        record.finished = {};
        record.players = {Player("Ann", {}, {ann.begin(), ann.begin() + 7}), Player("Bob %1%2", Level::Hard, {bob.begin(), bob.begin() + 6})};
        write("going.json", history::ToJson(record));
        // Ann has booked Fives to Straight (25 above), Bob Aces to Fours (9 above) and two rows below.
        const std::vector<SeatState> seats{{0x07f0, 25, record.players[0].total, {}}, {0x180f, 9, record.players[1].total, Level::Hard}};
        std::swap(record.players[0], record.players[1]); // Bob, first, played fewer
        write("bad.json", history::ToJson(record));
        record.players = {Player("Ann", {}, ann), Player("Bob", {}, bob)}; // every turn played, yet going on
        write("over-going.json", history::ToJson(record));

        Run run = RunCoach({"--win-chance", dir.filePath("over.json"), "--json"});
        QCOMPARE(run.status, 0);
        QJsonObject root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(root["games"].toInt(), DefaultWinChanceGames);
        const QJsonObject ann0{{"name", "Ann\x1b[2J"}, {"computer", QJsonValue()}, {"total", annTotal}, {"open", 0}, {"chance", 1}};
        QCOMPARE(root["players"].toArray()[0].toObject(), ann0);
        QCOMPARE(root["players"].toArray()[1].toObject()["chance"].toDouble(), 0.0);
        run = RunCoach({"--win-chance", dir.filePath("over.json")});
        QVERIFY2(run.out.contains("Ann\xef\xbf\xbd[2J") && !run.out.contains('\x1b'), run.out); // no escape reaches a terminal

        run = RunCoach({"--win-chance", dir.filePath("going.json"), "--games", "2000", "--seed", "7", "--json"});
        QCOMPARE(run.status, 0);
        root = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(root["games"].toInt(), 2000);
        const auto chances = WinChances(*m_table, seats, 2000, 7);
        for (int i = 0; i < 2; ++i) {
            const QJsonObject player = root["players"].toArray()[i].toObject();
            QCOMPARE(player["open"].toInt(), 8 + i);
            QCOMPARE(player["computer"], i ? QJsonValue("hard") : QJsonValue());
            QVERIFY2(std::abs(player["chance"].toDouble() - chances[std::size_t(i)]) < 1e-4, run.out);
        }
        run = RunCoach({"--review", dir.filePath("going.json")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith("Ann: expected final total now ") && run.out.contains("\nBob %1%2: expected"), run.out);

        for (const auto &[file, why] : {std::pair{"bad.json", "player 2 has 7 turns"}, {"over-going.json", "the game is over"}}) {
            run = RunCoach({"--win-chance", dir.filePath(file)});
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(why), run.err);
        }
        run = RunCoach({"--stats", dir.path(), "--json"}); // statistics take finished games only
        QVERIFY2(run.out.contains("\"skipped\":3"), run.out);
    }
};

QTEST_GUILESS_MAIN(TestWinChance)
#include "tst_winchance.moc"
