// Game records, their review against perfect play and the statistics over
// a folder of them, from games played through the real window.

#include "support/FullCard.h"
#include "support/GameFixture.h"

#include "history/Review.h"
#include "history/Statistics.h"
#include "reviews/HistoryWindows.h"
#include "strategy/TableCache.h"
#include "tablegate/StrategyLoader.h"

#include <QChartView>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QJsonArray>
#include <QLineSeries>
#include <QValueAxis>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTableWidget>

#include <cmath>
#include <sys/stat.h>
#include <thread>

using namespace history;

namespace {

const QRegularExpression ControlCharacter(QStringLiteral("[\\x{0}-\\x{1f}\\x{7f}-\\x{9f}]"));

// Ann books the full card with her first roll every turn, except that she
// holds the first two dice once and rolls again in the first turn.
GameRecord PlayFullCard(GameFixture &g, const QString &name = QStringLiteral("Ann"))
{
    g.newGame({name});
    bool first = true;
    for (const ::Turn &turn : FullCard) {
        if (first) {
            g.roll({turn.dice[0], turn.dice[1], 6, 6, 6});
            g.clickDie(0);
            g.clickDie(1);
            g.roll(turn.dice.mid(2));
            first = false;
        } else {
            g.roll(turn.dice);
        }
        g.clickCategory(turn.row);
    }
    return g.a().recorder().record();
}

QJsonObject Edited(const GameRecord &record, const std::function<void(QJsonObject &turn, QJsonObject &player, QJsonObject &root)> &edit)
{
    QJsonObject root = QJsonDocument::fromJson(ToJson(record)).object();
    QJsonArray players = root["players"].toArray();
    QJsonObject player = players[0].toObject();
    QJsonObject turn = player["turns"].toArray()[0].toObject();
    edit(turn, player, root);
    QJsonArray turns = player["turns"].toArray();
    turns[0] = turn;
    player["turns"] = turns;
    players[0] = player;
    root["players"] = players;
    return root;
}

// Sets figures of the only record kept in the ratings file; returns them as they were.
QJsonObject Forge(const QString &ratings, const QJsonObject &figures = {})
{
    QFile file(ratings);
    if (!file.open(QIODevice::ReadWrite))
        return {};
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    QJsonObject records = root["records"].toObject();
    QJsonObject record = records.begin()->toObject();
    QJsonArray players = record["players"].toArray();
    const QJsonObject kept = players[0].toObject();
    QJsonObject player = kept;
    for (auto it = figures.begin(); it != figures.end(); ++it)
        player[it.key()] = it.value();
    players[0] = player;
    record["players"] = players;
    records[records.begin().key()] = record;
    root["records"] = records;
    if (!figures.isEmpty() && !(file.resize(0) && file.write(QJsonDocument(root).toJson()) > 0))
        return {};
    return kept;
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
    std::shared_ptr<const strategy::Table> m_table;

private slots:
    void initTestCase()
    {
        QuietOffscreenWarnings();
        m_table = strategy::TableCache().LoadOrCompute();
        QVERIFY(m_table);
        // The windows ask the game's own loader.
        StrategyLoader::Shared().request();
        QTRY_VERIFY_WITH_TIMEOUT(StrategyLoader::Shared().table() != nullptr, 120000);
    }

    // A finished game is written once, reads back as played, and its review
    // splits the total exactly into the start, the luck and the loss.
    void recordAndReview()
    {
        GameFixture g;
        g.newGame({"Bob"}); // a game left unfinished writes nothing
        g.roll({1, 2, 3, 4, 5});
        g.clickCategory(11);
        const GameRecord played = PlayFullCard(g);
        const QStringList files = QDir(g.dir.filePath("games")).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QString error;
        const auto record = Load(g.dir.filePath("games/" + files[0]), &error);
        QVERIFY2(record, qPrintable(error));
        QCOMPARE(record->players[0].name, QStringLiteral("Ann"));
        QCOMPARE(record->players[0].total, FullCardTotal);
        QCOMPARE(record->players[0].turns[0].held, (std::vector<std::vector<int>>{{0, 1}}));
        QCOMPARE(record->players[0].turns[0].rolls.size(), std::size_t(2));
        QVERIFY(!record->players[0].computer);
        QCOMPARE(ToJson(*record), ToJson(played));

        const PlayerReview r = Review(*m_table, *record).front();
        QCOMPARE(r.decisions.size(), std::size_t(16));
        QVERIFY(std::abs(r.expectedStart + r.luck - r.loss - FullCardTotal) < 1e-3);
        QVERIFY(r.loss > 0);
        QCOMPARE(r.course.back(), double(FullCardTotal));
        QVERIFY(FormatText({r}).startsWith(QStringLiteral("Ann: total 305 = 248.44 expected at the start, %1%2 luck, %3 lost by choices\n")
                                               .arg(r.luck < 0 ? "-" : "+").arg(std::abs(r.luck), 0, 'f', 2).arg(r.loss, 0, 'f', 2)));
    }

    // Costs worked out by hand. With Quinthor and Chance open, 6 6 6 6 6
    // booked as Chance takes 30 now instead of 50, and leaves the other row
    // for later. With only Chance open and five aces after the second roll,
    // holding them all keeps 5 where rolling all five averages 17.5.
    void costsByHand()
    {
        GameRecord record;
        record.players.emplace_back();
        std::vector<history::Turn> &turns = record.players[0].turns;
        for (int row = 1; row <= 13; ++row)
            turns.push_back({{{1, 1, 1, 1, 1}}, {}, row, Points({1, 1, 1, 1, 1}, row)});
        turns.push_back({{{6, 6, 6, 6, 6}}, {}, 15, 30});
        const auto booked = strategy::BookedRows(0x1FFF);
        const int upper = 5; // the aces; nothing in rows 2..6
        QCOMPARE(Review(*m_table, record).front().decisions[13].cost,
                 50 + m_table->Expected(booked | 0x2000, upper) - (30 + m_table->Expected(booked | 0x4000, upper)));

        turns.resize(13);
        turns.push_back({{{6, 6, 6, 6, 6}}, {}, 14, 50});
        turns.push_back({{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}}, {{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}}, 15, 5});
        const PlayerReview r = Review(*m_table, record).front();
        QCOMPARE(r.decisions.size(), std::size_t(17));
        QVERIFY2(std::abs(r.decisions[15].cost - 12.5) < 1e-4, qPrintable(QString::number(r.decisions[15].cost)));
        QCOMPARE(r.decisions[16].cost, 0.0); // nothing else to book
        QVERIFY(std::abs(r.expectedStart + r.luck - r.loss - Total(turns)) < 1e-3);
    }

    // Records that could not have been played say what is wrong, and where.
    void badRecords_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("names");
        GameFixture g;
        const GameRecord good = PlayFullCard(g);
        const auto bad = [&](const char *name, const QString &says, auto edit) {
            QTest::newRow(name) << QJsonDocument(Edited(good, edit)).toJson() << says;
        };
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "not valid JSON";
        bad("other format", "not a game record", [](QJsonObject &, QJsonObject &, QJsonObject &root) { root["format"] = "chess"; });
        bad("version 2", "version 2", [](QJsonObject &, QJsonObject &, QJsonObject &root) { root["version"] = 2; });
        bad("version as text", "\"version\" must be the number 1, not text",
            [](QJsonObject &, QJsonObject &, QJsonObject &root) { root["version"] = "1"; });
        bad("face 7", "player 1, turn 1: a die's face", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            t["rolls"] = QJsonArray{QJsonArray{7, 1, 1, 2, 3}};
            t["held"] = QJsonArray{};
        });
        bad("face 0", "player 1, turn 1: a die's face", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            t["rolls"] = QJsonArray{QJsonArray{1, 1, 0, 2, 3}};
            t["held"] = QJsonArray{};
        });
        bad("held index 5", "turn 1: a held die's index", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            t["held"] = QJsonArray{QJsonArray{0, 5}};
        });
        bad("held lists too few", "turn 1 has 2 rolls but 0 \"held\" lists", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            t["held"] = QJsonArray{};
        });
        bad("row twice", "turn 2: row 1 is booked twice", [](QJsonObject &, QJsonObject &p, QJsonObject &) {
            QJsonArray turns = p["turns"].toArray();
            QJsonObject second = turns[1].toObject();
            second["row"] = 1;
            second["points"] = 0;
            turns[1] = second;
            p["turns"] = turns;
        });
        bad("four rolls", "turn 1 has 4 rolls", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            QJsonArray rolls = t["rolls"].toArray();
            rolls.append(rolls.last());
            rolls.append(rolls.last());
            t["rolls"] = rolls;
            t["held"] = QJsonArray{QJsonArray{0, 1}, QJsonArray{}, QJsonArray{}};
        });
        bad("points the dice do not score", "turn 1: the dice score 3 in row 1, not 4",
            [](QJsonObject &t, QJsonObject &, QJsonObject &) { t["points"] = 4; });
        bad("held die changed", "turn 1: held die 2 changed from 6 to 1", [](QJsonObject &t, QJsonObject &, QJsonObject &) {
            t["held"] = QJsonArray{QJsonArray{0, 1, 2}};
        });
        bad("total", "the total is 300", [](QJsonObject &, QJsonObject &p, QJsonObject &) { p["total"] = 300; });
        bad("level with control characters", "unknown computer level", [](QJsonObject &, QJsonObject &p, QJsonObject &) {
            p["computer"] = "\x1b]0;owned\x07\r\nhard";
        });
    }
    void badRecords()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, names);
        QString error;
        QVERIFY(!FromJson(json, &error));
        QVERIFY2(error.contains(names), qPrintable(error));
        // The coach says it in one line, with status 2.
        QTemporaryDir dir;
        QFile file(dir.filePath("bad.json"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        file.close();
        QProcess coach;
        coach.start(QStringLiteral(QUINTOR_COACH), {"--review", file.fileName()});
        QVERIFY(coach.waitForFinished(60000));
        QCOMPARE(coach.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(coach.readAllStandardError());
        QVERIFY2(err.count(u'\n') == 1 && err.contains(names), qPrintable(err));
        QVERIFY2(!err.chopped(1).contains(ControlCharacter), qPrintable(err));
    }

    // Only the costly decisions are worded, worst first; the best total is the highest, not the last.
    void worstFirstAndBest()
    {
        PlayerReview review;
        for (double cost : {1.0, 5.0, 0.2, 3.0})
            review.decisions.push_back({1, 1, {1, 2, 3, 4, 5}, 2, {}, {}, cost});
        QStringList costs;
        for (const QString &line : FormatText(std::vector<PlayerReview>{review}).split(u'\n', Qt::SkipEmptyParts))
            costs << line.section("; cost ", 1);
        QCOMPARE(costs, (QStringList{"", "5.00", "3.00", "1.00"}));
        const PlayerStatistics ann{"Ann", {GameFigures{{}, 305, true, 0, 0}, GameFigures{{}, 120, false, 0, 0}}};
        QCOMPARE(ann.best(), 305);
    }

    // Text for a terminal passes on none of a name's control characters,
    // nor pads every row to a huge name; JSON keeps the name exact.
    void textOutputIsPlain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("controls") << QStringLiteral("\x1b]0;title\x07\r\x1b[2J\u009b31m\x7f<b>Ann</b>");
        QTest::newRow("40,000 characters") << QString(40000, u'A');
    }
    void textOutputIsPlain()
    {
        QFETCH(QString, name);
        Statistics statistics;
        statistics.players.push_back({name, {GameFigures{{}, 250, true, 10, 8.44}}});
        PlayerReview review;
        review.name = name;
        const QString text = FormatText(statistics) + FormatText(std::vector<PlayerReview>{review});
        for (const QString &line : text.split(u'\n'))
            QVERIFY2(line.size() < 200 && !line.contains(ControlCharacter), qPrintable(line.left(200)));
        QVERIFY(text.contains("<b>Ann</b>") || text.contains(QString(20, u'A') + u'\u2026'));
        QCOMPARE(QJsonDocument::fromJson(FormatJson(statistics)).object()["players"][0]["name"].toString(), name);
    }

    // Two copies finishing at the same moment keep both records.
    void twoCopiesWriteAtOnce()
    {
        QTemporaryDir dir;
        GameRecord record;
        record.finished = QDateTime::currentDateTimeUtc();
        record.players.push_back({QStringLiteral("Ann"), {}, 0, {}});
        const auto write = [&] {
            for (int i = 0; i < 50; ++i)
                QVERIFY(Save(record, dir.path()));
        };
        std::thread other(write);
        write();
        other.join();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 100);
    }

    // A folder that cannot take records changes nothing of the game, and
    // finishing it never waits on the folder.
    void unwritableFolderKeepsTheHighScore_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("why");
        QTest::newRow("below a plain file") << "file/games" << "cannot be made"; // not even root can
        QTest::newRow("a link to itself") << "loop" << "too many levels of symbolic links";
    }
    void unwritableFolderKeepsTheHighScore()
    {
        QFETCH(QString, folder);
        QFETCH(QString, why);
        GameFixture g;
        QVERIFY(QFile(g.dir.filePath("file")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link("loop", g.dir.filePath("loop")));
        g.a().recorder().setFolder(g.dir.filePath(folder));
        const GameRecord record = PlayFullCard(g);
        QCOMPARE(g.f().lblHighscore->text(), QString::number(FullCardTotal));
        g.reopen();
        QCOMPARE(g.f().lblHighscore->text(), QString::number(FullCardTotal));
        QString said;
        QVERIFY(!Save(record, g.dir.filePath(folder), nullptr, &said));
        QVERIFY2(said.contains(why), qPrintable(said));
    }

    // The windows: the review of the game just played, and the figures over
    // the records, from the chart module loaded on first use.
    void reviewAndStatisticsWindows()
    {
        GameFixture g;
        PlayFullCard(g);
        g.action("mnuReview")->trigger();
        const auto *review = g.f().findChild<QWidget *>("ReviewWindow");
        QVERIFY2(review && review->isVisible(), qPrintable(g.dialogs.messageTexts().join('\n')));
        const QString summary = review->findChild<QLabel *>("ReviewSummary")->text();
        QVERIFY2(summary.startsWith(QStringLiteral("Ann: total %1 = 248.44 expected at the start").arg(FullCardTotal)),
                 qPrintable(summary));
        const auto *decisions = review->findChild<QTableWidget *>("ReviewDecisions");
        QVERIFY(decisions->rowCount() > 0);
        // In the score card's own words.
        QVERIFY(decisions->item(0, 4)->text().contains(QRegularExpression("^(book|keep|sacrifice|roll all) ")));
        QVERIFY(decisions->item(0, 6)->text().toDouble() >= decisions->item(decisions->rowCount() - 1, 6)->text().toDouble());

        g.action("mnuStatistics")->trigger();
        QTRY_VERIFY(g.f().findChild<QWidget *>("StatisticsWindow")); // worked out off the window's thread
        const auto *statistics = g.f().findChild<QWidget *>("StatisticsWindow");
        QVERIFY(statistics->isVisible());
        const auto *table = statistics->findChild<QTableWidget *>("StatisticsTable");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Ann"));
        QCOMPARE(table->item(0, 3)->text(), QString::number(FullCardTotal));
    }

    // Asked for both while the table is still being loaded: both open.
    void bothWindowsWaitForTheTable()
    {
        StrategyLoader loader(strategy::TableCache::DefaultFolder());
        GameFixture g(&loader);
        g.action("mnuStatistics")->trigger();
        g.action("mnuReview")->trigger();
        QVERIFY(!loader.table());
        QTRY_VERIFY(g.f().findChild<QWidget *>("ReviewWindow") && g.f().findChild<QWidget *>("StatisticsWindow"));
    }

    // A name is shown as typed, never as markup (which could make Qt load any
    // file an <img> names): in the charts' legends too.
    void namesAreNeverMarkup()
    {
        GameFixture g;
        const QString name = QStringLiteral("<b>Ann</b> & <img src=\"none\">");
        PlayFullCard(g, name);
        g.action("mnuReview")->trigger();
        g.action("mnuStatistics")->trigger();
        QTRY_VERIFY(g.f().findChild<QWidget *>("StatisticsWindow"));
        for (const char *window : {"ReviewWindow", "StatisticsWindow"}) {
            const QWidget *shown = g.f().findChild<QWidget *>(window);
            // The legend names each player in plain text...
            const auto *legend = shown->findChild<QLabel *>("LegendName");
            QVERIFY(legend && legend->textFormat() == Qt::PlainText);
            QCOMPARE(legend->text(), name);
            // ...and no name reaches the charts, which would read it as markup.
            for (QGraphicsItem *item : shown->findChild<QGraphicsView *>()->scene()->items())
                if (const auto *text = qgraphicsitem_cast<QGraphicsTextItem *>(item))
                    QVERIFY2(!text->toPlainText().contains(QStringLiteral("Ann")), qPrintable(text->toPlainText()));
        }
    }

    // Per name, over a folder with a corrupt file and a FIFO among the
    // records; the skipped files are counted and left as they were.
    void statistics()
    {
        GameFixture g;
        PlayFullCard(g);
        PlayFullCard(g);
        const QString games = g.dir.filePath("games");
        QFile corrupt(games + "/corrupt.json");
        QVERIFY(corrupt.open(QIODevice::WriteOnly) && corrupt.write("{\"format\": \"quintor-game\"") > 0);
        corrupt.close();
        QVERIFY(mkfifo(QFile::encodeName(games + "/fifo.json").constData(), 0600) == 0);
        const QString ratings = g.dir.filePath("ratings.json");
        for (int run = 0; run < 2; ++run) { // the second from the kept ratings
            const Statistics s = Gather(*m_table, games, ratings);
            QCOMPARE(s.skipped, 2);
            QCOMPARE(s.players.size(), std::size_t(1));
            const PlayerStatistics &ann = s.players[0];
            QCOMPARE(ann.count(), 2);
            QCOMPARE(ann.mean(), double(FullCardTotal));
            QCOMPARE(ann.best(), FullCardTotal);
            QCOMPARE(ann.bonusRate(), 1.0);
            QVERIFY(std::abs(248.44 + ann.meanLuck() - ann.meanLoss() - FullCardTotal) < 0.01);
        }
        QVERIFY(QFileInfo(ratings).size() > 0);
        QVERIFY(corrupt.open(QIODevice::ReadOnly));
        QCOMPARE(corrupt.readAll(), QByteArray("{\"format\": \"quintor-game\""));
    }

    // Each strength of computer is a player of its own; figures still being
    // gathered can be stopped, and then nothing is kept.
    void statisticsPerStrength()
    {
        GameFixture g;
        GameRecord record = PlayFullCard(g);
        const QString games = g.dir.filePath("more");
        for (auto level : {strategy::Level::Hard, strategy::Level::Easy, strategy::Level::Hard}) {
            // Named with its strength already, as the game names it, or not.
            record.players[0].name = level == strategy::Level::Easy ? QStringLiteral("Computer 2") : QStringLiteral("Computer 2 (Hard)");
            record.players[0].computer = level;
            QVERIFY(Save(record, games));
        }
        const QString ratings = g.dir.filePath("ratings.json");
        QVERIFY(!Gather(*m_table, games, ratings, [](int done, int) { return done < 1; }).complete);
        QVERIFY(!QFile::exists(ratings));
        const Statistics s = Gather(*m_table, games, ratings);
        QVERIFY(s.complete);
        QCOMPARE(s.players.size(), std::size_t(2));
        QCOMPARE(s.players[0].name, QStringLiteral("Computer 2 (Easy)"));
        QCOMPARE(s.players[0].count(), 1);
        QCOMPARE(s.players[1].name, QStringLiteral("Computer 2 (Hard)"));
        QCOMPARE(s.players[1].count(), 2);
    }

    // 2,000 games of three players: a line each that can still be read,
    // every name in full, a colour each, and a scale that holds every line.
    void statisticsWindowOverManyGames()
    {
        Statistics many;
        const QStringList names{"Ann", QString(80, u'W'), "Computer 1 (Hard)"};
        for (int p = 0; p < 3; ++p) {
            many.players.push_back({names[p], {}});
            for (int game = 0; game < 2000; ++game)
                many.players.back().games.push_back({{}, 150 + (game * 7 + p * 31) % 200, false, 0, 5.0 + (game % 90)});
        }
        HistoryWindows *windows = LoadHistoryWindows(nullptr);
        QVERIFY(windows);
        std::unique_ptr<QWidget> window(windows->NewStatisticsWindow(nullptr, many));
        const auto *chart = window->findChild<QChartView *>("StatisticsChart")->chart();
        QStringList legend;
        for (const QLabel *name : window->findChildren<QLabel *>("LegendName"))
            legend << name->text();
        QCOMPARE(legend, names);
        const auto *y = static_cast<QValueAxis *>(chart->axes(Qt::Vertical).front());
        QSet<QRgb> colours;
        for (QAbstractSeries *series : chart->series()) {
            const auto *line = static_cast<QLineSeries *>(series);
            QVERIFY(line->count() <= 60);
            colours << line->pen().color().rgb();
            for (const QPointF &point : line->points())
                QVERIFY(point.y() >= y->min() && point.y() <= y->max());
        }
        QCOMPARE(colours.size(), 3);
    }

    // Luck with its sign, loss as what it is, and nothing signed that rounds to nothing.
    void summarySigns()
    {
        const struct { double luck, loss; const char *said; } cases[] = {
            {-10.744, 58.7, "-10.74 luck, 58.70 lost by choices"},
            {3.2, 0.0, "+3.20 luck, 0.00 lost by choices"},
            {-0.001, 0.002, ", 0.00 luck, 0.00 lost by choices"},
        };
        for (const auto &c : cases) {
            PlayerReview review;
            review.luck = c.luck;
            review.loss = c.loss;
            QVERIFY2(Summary(review, u'-').endsWith(QLatin1String(c.said)), qPrintable(Summary(review, u'-')));
        }
    }

    // A kept rating counts only for the very file it was made from,
    // unchanged, and only with figures a review could give; else the record
    // is rated again and the ratings file put right.
    void keptRatings_data()
    {
        QTest::addColumn<QString>("change"); // to the record $f, once it is rated
        QTest::addColumn<QJsonObject>("forged"); // in the kept rating
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("sumKept"); // luck set so that total = start + luck - loss still holds
        const QJsonObject kept{{"name", "Kept"}};
        QTest::newRow("unchanged") << "true" << kept << "Kept" << false;
        QTest::newRow("modification time") << "touch -d 2026-01-01 $f" << kept << "Ann" << false;
        QTest::newRow("edited, times set back") // in place
            << "cp -p $f old && sed s/Ann/Bob/ old >$f && touch -r old $f" << kept << "Bob" << false;
        QTest::newRow("replaced by a copy") << "cp -p $f copy && mv copy $f" << kept << "Ann" << false;
        QTest::newRow("copied elsewhere") << "cp -rp games elsewhere" << kept << "Ann" << false;
        QTest::newRow("total 999") << "true" << QJsonObject{{"total", 999}} << "Ann" << true;
        QTest::newRow("loss below 0") << "true" << QJsonObject{{"loss", -1}} << "Ann" << true;
        QTest::newRow("loss 1e6") << "true" << QJsonObject{{"loss", 1e6}} << "Ann" << true;
        QTest::newRow("luck 1e308") << "true" << QJsonObject{{"luck", 1e308}} << "Ann" << false;
        QTest::newRow("no bonus at 305") << "true" << QJsonObject{{"bonus", false}} << "Ann" << false;
        QTest::newRow("name not text") << "true" << QJsonObject{{"name", 7}} << "Ann" << false;
    }
    void keptRatings()
    {
        QFETCH(QString, change);
        QFETCH(QJsonObject, forged);
        QFETCH(QString, shown);
        QFETCH(bool, sumKept);
        GameFixture g;
        PlayFullCard(g);
        const QString ratings = g.dir.filePath("ratings.json");
        const PlayerStatistics real = Gather(*m_table, g.dir.filePath("games"), ratings).players.at(0);
        if (sumKept)
            forged["luck"] = real.meanLuck() + forged.value("total").toDouble(FullCardTotal) - FullCardTotal
                + forged.value("loss").toDouble(real.meanLoss()) - real.meanLoss();
        QVERIFY(!Forge(ratings, forged).isEmpty());
        QCOMPARE(QProcess::execute("sh", {"-c", "cd \"$0\" && f=$(ls games/*) && " + change, g.dir.path()}), 0);

        const Statistics s = Gather(*m_table, g.dir.filePath(change.contains("elsewhere") ? "elsewhere" : "games"), ratings);
        QCOMPARE(s.players.size(), std::size_t(1));
        QCOMPARE(s.players[0].name, shown);
        QCOMPARE(s.players[0].best(), FullCardTotal);
        QCOMPARE(s.players[0].meanLuck(), real.meanLuck());
        QCOMPARE(s.players[0].meanLoss(), real.meanLoss());
        // What the file keeps is what was shown.
        QCOMPARE(Forge(ratings), (QJsonObject{{"name", shown}, {"total", FullCardTotal}, {"bonus", true},
                                                        {"luck", real.meanLuck()}, {"loss", real.meanLoss()}}));
    }
};

QUINTOR_TEST_MAIN(HistoryTest)
#include "tst_history.moc"
