// A long seeded stream of user events against the real window: clicks on
// every control (enabled or not), menu choices at any moment, timer ticks,
// every kind of dialog answer. After each event the window must agree with
// the game state, and every total with the values booked.
//
// Replay another stream with QUINTOR_FUZZ_SEED=<n> (and QUINTOR_FUZZ_EVENTS).

#include "support/GameFixture.h"

#include "resources/DiceImages.h"
#include "scoring/valmod.h"

#include <QRandomGenerator>

namespace {

quint64 EnvNumber(const char *name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

const QStringList Names{"Ann", "", "<b>Bob</b>", "Tom & Jerry", "  Cy", "<img src=x>", "Di"};

} // namespace

class FuzzTest : public QObject {
    Q_OBJECT

private slots:
    void randomEventsKeepTheWindowConsistent();

private:
    QString check();
    void reopen();

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<SeededRandom> m_random;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<Form1> m_form;
};

void FuzzTest::reopen()
{
    m_form.reset();
    m_form = std::make_unique<Form1>(m_dialogs, *m_random, *m_settings);
    m_form->show();
}

// The first broken invariant, or an empty text.
QString FuzzTest::check()
{
    const Form1 &f = *m_form;
    const GameState &s = f.state();

    if (s.IgnoreClick != 0)
        return QStringLiteral("IgnoreClick pending between events");
    if (s.TickCount < 0 || s.TickCount >= 4 || (!f.Timer1->isActive() && s.TickCount != 0))
        return QStringLiteral("TickCount %1").arg(s.TickCount);

    if (s.PlayerCount == 0) {
        if (f.cmdRoll->isEnabled() || f.cmdRoll->text() != QLatin1String("Roll dice"))
            return QStringLiteral("Roll button before the first game");
        return QString();
    }

    for (int i = 0; i < 5; ++i) {
        const bool held = !s.RollDie[i];
        if (f.DicePic[i]->borderStyle() != (held ? 1 : 0))
            return QStringLiteral("die %1 border").arg(i);
        if (f.DicePic[i]->toolTip()
            != (held ? QStringLiteral("Die is hold") : QStringLiteral("Hold/release die by clicking it")))
            return QStringLiteral("die %1 tooltip").arg(i);
        const int v = valmod::DiceValue[i];
        if (v != 0 && f.DicePic[i]->picture().cacheKey() != DiceImages::FacePicture(v).cacheKey())
            return QStringLiteral("die %1 shows another face than %2").arg(i).arg(v);
        if (held && v == 0)
            return QStringLiteral("die %1 held without a value").arg(i);
    }

    bool gameOver = true;
    for (int p = 1; p <= s.PlayerCount; ++p)
        for (int r = 1; r <= 15; ++r)
            gameOver = gameOver && s.ScoreCard[p][r] != NotBooked;

    const QString turn = gameOver ? QStringLiteral("Game Over") : f.lblPlayer[s.CurPlayer + 1]->text();
    if (f.lblPlayerTurn->text() != turn)
        return QStringLiteral("turn label '%1', expected '%2'").arg(f.lblPlayerTurn->text(), turn);

    if (gameOver) {
        if (f.cmdRoll->isEnabled())
            return QStringLiteral("Roll enabled after the game");
    } else if (f.cmdRoll->text() == QLatin1String("Roll 3 of 3")) {
        if (s.RollCount != 0 || f.cmdRoll->isEnabled())
            return QStringLiteral("third roll: RollCount %1").arg(s.RollCount);
    } else {
        if (f.cmdRoll->text() != QStringLiteral("Roll %1 of 3").arg(s.RollCount) || !f.cmdRoll->isEnabled())
            return QStringLiteral("Roll caption '%1' at RollCount %2").arg(f.cmdRoll->text()).arg(s.RollCount);
        if (!f.Timer1->isActive() && s.HasRolled != (s.RollCount > 0))
            return QStringLiteral("HasRolled %1 at RollCount %2").arg(s.HasRolled).arg(s.RollCount);
    }

    const int cur = s.CurPlayer + 1;
    for (int r = 1; r <= 15; ++r) {
        const bool booked = s.ScoreCard[cur][r] != NotBooked;
        const QString score = booked ? QString::number(s.ScoreCard[cur][r]) : QString();
        if (f.Score[r]->text() != score)
            return QStringLiteral("Score(%1) '%2', card %3").arg(r).arg(f.Score[r]->text()).arg(s.ScoreCard[cur][r]);
        if (booked && (!f.chkChooseScore[r]->isChecked() || f.chkChooseScore[r]->isEnabled()))
            return QStringLiteral("booked row %1 not checked and disabled").arg(r);
        if (!booked && !f.chkChooseScore[r]->isEnabled())
            return QStringLiteral("open row %1 disabled").arg(r);
    }

    for (int p = 1; p <= 4; ++p) {
        int upper = 0, sum = 0;
        for (int r = 1; r <= 15; ++r) {
            const int v = s.ScoreCard[p][r];
            if (v == NotBooked)
                continue;
            if (v < 0 || v > 50)
                return QStringLiteral("player %1 row %2 holds %3").arg(p).arg(r).arg(v);
            sum += v;
            upper += r <= 6 ? v : 0;
        }
        if (p > s.PlayerCount && (sum != 0 || !f.lblSum[p]->text().isEmpty() || !f.lblPlayer[p]->text().isEmpty()))
            return QStringLiteral("player %1 is not in the game").arg(p);
        const int bonus = upper >= 63 ? 50 : 0;
        if (s.ScoreCard[p][16] != bonus)
            return QStringLiteral("player %1 bonus %2 at upper sum %3").arg(p).arg(s.ScoreCard[p][16]).arg(upper);
        if (s.ScoreCard[p][17] != sum + bonus)
            return QStringLiteral("player %1 total %2, booked %3 + %4").arg(p).arg(s.ScoreCard[p][17]).arg(sum).arg(bonus);
        const QString label = s.ScoreCard[p][17] == 0 ? QString() : QString::number(s.ScoreCard[p][17]);
        if (f.lblSum[p]->text() != label)
            return QStringLiteral("lblSum(%1) '%2', total %3").arg(p).arg(f.lblSum[p]->text()).arg(s.ScoreCard[p][17]);
    }
    return QString();
}

void FuzzTest::randomEventsKeepTheWindowConsistent()
{
    const quint64 seed = EnvNumber("QUINTOR_FUZZ_SEED", 20261207);
    const quint64 events = EnvNumber("QUINTOR_FUZZ_EVENTS", 40000);
    qInfo("seed %llu, %llu events", seed, events);

    QRandomGenerator pick(static_cast<quint32>(seed));
    m_random = std::make_unique<SeededRandom>(seed);
    m_settings = std::make_unique<SettingsStore>(m_dir.path());
    reopen();

    QStringList log;
    int games = 0, overs = 0;
    bool wasOver = false;
    for (quint64 n = 0; n < events; ++n) {
        Form1 &f = *m_form;
        // Between games most events are wasted: start one soon.
        const bool idle = m_form->state().PlayerCount == 0 && pick.bounded(10) == 0;
        const int kind = idle ? 9980 : pick.bounded(10000);
        QString event;
        m_dialogs.answers = {pick.bounded(2) ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel};
        if (kind < 1800) {
            event = QStringLiteral("roll");
            QTest::mouseClick(f.cmdRoll, Qt::LeftButton);
        } else if (kind < 3000) {
            const int die = pick.bounded(5);
            event = QStringLiteral("die %1").arg(die);
            QTest::mouseClick(f.DicePic[die], Qt::LeftButton);
        } else if (kind < 6000) {
            const int row = 1 + pick.bounded(15);
            event = QStringLiteral("category %1 answer %2").arg(row).arg(m_dialogs.answers[0] == Dialogs::Answer::Ok);
            QCheckBox *box = f.chkChooseScore[row];
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        } else if (kind < 9980) {
            event = QStringLiteral("tick");
            if (f.Timer1->isActive())
                f.Timer1_Timer();
        } else if (kind < 9985) {
            const int players = 1 + pick.bounded(4);
            event = QStringLiteral("new game %1").arg(players);
            m_dialogs.names.clear();
            for (int p = 0; p < players; ++p)
                m_dialogs.names.append(Names[pick.bounded(Names.size())]);
            f.mnuNoPlayer[players]->trigger();
            ++games;
        } else if (kind < 9995) {
            event = QStringLiteral("help");
            f.mnuHelp->trigger();
        } else {
            event = QStringLiteral("exit and start again");
            f.mnuExit->trigger();
            reopen();
        }
        log.append(event);
        if (log.size() > 20)
            log.removeFirst();

        const bool over = m_form->lblPlayerTurn->text() == QLatin1String("Game Over");
        if (over && !wasOver)
            ++overs;
        wasOver = over;
        const QString broken = check();
        if (!broken.isEmpty()) {
            QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nlast events: %4")
                                 .arg(seed).arg(n).arg(broken, log.join(QStringLiteral(", ")))));
        }
    }
    qInfo("%d games started, %d ended", games, overs);
    // The stream must reach the end of games, not only their starts.
    QVERIFY(games > 20);
    QVERIFY(overs > 5);
}

QUINTOR_TEST_MAIN(FuzzTest)
#include "tst_fuzz.moc"
