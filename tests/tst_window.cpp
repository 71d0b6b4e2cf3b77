// The window at load, New Game, Help and Exit, and the real Qt dialogs.

#include "support/GameFixture.h"

#include "resources/DiceImages.h"
#include "scoring/valmod.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>

namespace {

QWidget *child(Form1 &form, const QString &name)
{
    return form.findChild<QWidget *>(name);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void windowAtLoad();
    void controlGeometry_data();
    void controlGeometry();
    void fixedCaptionsFitTheirControls();
    void menuTree();
    void newGameWithOneAndFourPlayers_data();
    void newGameWithOneAndFourPlayers();
    void cancelledOrEmptyNames();
    void newGameMidGameResetsEverythingQuietly();
    void newGameWithFewerPlayersClearsTheRest();
    void namesAreShownAsTyped_data();
    void namesAreShownAsTyped();
    void beforeTheFirstGameNothingBooks();
    void helpShowsTheInstructionsAndChangesNothing();
    void exitClosesTheWindowAtOnce();
    void exitEndsTheProgram();
    void textsForTooltipsAndScreenReadersAtLoad();
    void keyboardReachesEveryControl();
    void realDialogs();
};

void WindowTest::windowAtLoad()
{
    GameFixture g;
    Form1 &f = g.f();
    QCOMPARE(f.windowTitle(), QStringLiteral("Tulvar\u00B4s Quintor"));
    QCOMPARE(f.centralWidget()->size(), QSize(405, 255));
    QVERIFY(!f.windowIcon().isNull());

    QVERIFY(!f.cmdRoll->isEnabled());
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll dice"));
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(f.Timer1->interval(), 100);

    const QImage six = DiceImages::FacePicture(6).toImage();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(f.DicePic[i]->picture().toImage(), six);
        QCOMPARE(f.DicePic[i]->borderStyle(), 0);
        QCOMPARE(f.DicePic[i]->size(), QSize(33, 33));
        QCOMPARE(f.DicePic[i]->toolTip(), QStringLiteral("Hold/release die by clicking it"));
    }
    for (int r = 1; r <= 15; ++r) {
        QVERIFY(f.chkChooseScore[r]->isEnabled());
        QVERIFY(!f.chkChooseScore[r]->isChecked());
        QVERIFY(f.chkChooseScore[r]->toolTip().isEmpty());
        QVERIFY(f.Score[r]->text().isEmpty());
    }
    for (int p = 1; p <= 4; ++p) {
        QVERIFY(f.lblPlayer[p]->text().isEmpty());
        QVERIFY(f.lblSum[p]->text().isEmpty());
    }
    QVERIFY(f.lblPlayerTurn->text().isEmpty());
    QCOMPARE(f.lblPlayerTurn->toolTip(), QStringLiteral("Tells which players turn it is to roll"));
    // Nothing stored yet: the defaults.
    QCOMPARE(f.lblHighscore->text(), QStringLiteral("0"));
    QCOMPARE(f.lblHighscoreName->text(), QStringLiteral("Nobody"));

    QCOMPARE(g.s().PlayerCount, 0);
    QCOMPARE(g.s().ScoreCard[1][1], 0);
    QVERIFY(g.dialogs.calls.isEmpty());

    // Labels and check boxes use the bold face at their sizes.
    QVERIFY(f.Label1->font().bold());
    QCOMPARE(f.Label1->font().pixelSize(), 13);
    QCOMPARE(f.chkChooseScore[1]->font().pixelSize(), 11);
    QCOMPARE(f.cmdRoll->font().pixelSize(), 11);
    QCOMPARE(QFontInfo(f.Label1->font()).family(), QStringLiteral("Liberation Sans"));
}

void WindowTest::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");

    const char *const captions[16] = {nullptr, "Aces", "Deuces", "Threes", "Fours", "Fives", "Sixs",
                                      "Pair", "Two Pair", "Three of a kind", "Four of a kind",
                                      "Small Straight", "Large Straight", "Full House",
                                      "Quinthor", "Chance"};
    for (int r = 1; r <= 15; ++r) {
        const bool upper = r <= 6;
        const int top = 120 + 240 * (upper ? r - 1 : r - 7);
        QTest::addRow("chk%d", r) << QStringLiteral("chkChooseScore(%1)").arg(r)
                                  << QRect(upper ? 180 : 1800, top, upper ? 975 : 1670, 255)
                                  << QString::fromLatin1(captions[r]);
        QTest::addRow("score%d", r) << QStringLiteral("Score(%1)").arg(r)
                                    << QRect(upper ? 1140 : 3420, top, 495, 255) << QString();
    }
    for (int p = 1; p <= 4; ++p) {
        const int top = 2700 + 240 * (p - 1);
        QTest::addRow("player%d", p) << QStringLiteral("lblPlayer(%1)").arg(p)
                                     << QRect(120, top, 2295, 255) << QString();
        QTest::addRow("sum%d", p) << QStringLiteral("lblSum(%1)").arg(p)
                                  << QRect(2460, top, 915, 255) << QString();
    }
    QTest::newRow("Label2") << "Label2" << QRect(120, 2460, 1215, 255) << "Player";
    QTest::newRow("Label3") << "Label3" << QRect(2460, 2460, 915, 255) << "Score";
    QTest::newRow("Label1") << "Label1" << QRect(4200, 120, 1695, 375) << "Current Player";
    QTest::newRow("turn") << "lblPlayerTurn" << QRect(4200, 480, 1695, 615) << QString();
    QTest::newRow("die0") << "DicePic(0)" << QRect(4200, 1200, 495, 495) << QString();
    QTest::newRow("die1") << "DicePic(1)" << QRect(4800, 1200, 495, 495) << QString();
    QTest::newRow("die2") << "DicePic(2)" << QRect(5400, 1200, 495, 495) << QString();
    QTest::newRow("die3") << "DicePic(3)" << QRect(4440, 1800, 495, 495) << QString();
    QTest::newRow("die4") << "DicePic(4)" << QRect(5160, 1800, 495, 495) << QString();
    QTest::newRow("roll") << "cmdRoll" << QRect(4440, 2520, 1215, 495) << "Roll dice";
    QTest::newRow("holder") << "lblHighscoreHolder" << QRect(3840, 3180, 2055, 255)
                            << "Highscore Holder";
    QTest::newRow("name") << "lblHighscoreName" << QRect(3840, 3420, 1575, 255) << "Nobody";
    QTest::newRow("score") << "lblHighscore" << QRect(5460, 3420, 435, 255) << "0";
}

void WindowTest::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);

    GameFixture g;
    QWidget *w = child(g.f(), name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15,
                                  twips.height() / 15));
    QVERIFY(w->isVisible());
    if (auto *label = qobject_cast<QLabel *>(w)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        const bool centred = name.startsWith(QLatin1String("Score(")) || name == "Label1"
            || name == "lblPlayerTurn" || name == "lblHighscoreHolder" || name == "lblHighscore";
        QCOMPARE(bool(label->alignment() & Qt::AlignHCenter), centred);
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QCOMPARE(button->text(), caption);
    }
}

void WindowTest::fixedCaptionsFitTheirControls()
{
    GameFixture g;
    Form1 &f = g.f();
    for (int r = 1; r <= 15; ++r) {
        QCheckBox *box = f.chkChooseScore[r];
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
        QVERIFY(box->sizeHint().height() <= box->height() + 2);
    }
    const QList<QLabel *> labels{f.Label1, f.Label2, f.Label3, f.lblHighscoreHolder};
    for (QLabel *label : labels) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        QVERIFY(metrics.height() <= label->height());
    }
    const QFontMetrics button(f.cmdRoll->font());
    QVERIFY(button.horizontalAdvance(QStringLiteral("Roll 3 of 3")) < f.cmdRoll->width() - 8);
    // The highest score a game can reach still fits the total column.
    QVERIFY(QFontMetrics(f.lblSum[1]->font()).horizontalAdvance(QStringLiteral("375"))
            <= f.lblSum[1]->width());
}

void WindowTest::menuTree()
{
    GameFixture g;
    const QList<QAction *> bar = g.f().menuBar()->actions();
    QCOMPARE(bar.size(), 6);
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    QCOMPARE(bar[1]->text(), QStringLiteral("&New Game"));
    QCOMPARE(bar[2]->text(), QStringLiteral("&Help"));
    QVERIFY(!bar[2]->menu());
    QCOMPARE(bar[2], g.f().mnuHelp);
    // The hint comes after Help, like it a command without a drop-down.
    QCOMPARE(bar[3]->text(), QStringLiteral("Hin&t"));
    QVERIFY(!bar[3]->menu());
    QCOMPARE(bar[3], g.action("mnuHint"));
    // The docks beside the play area, each turned on and off.
    QCOMPARE(bar[4]->text(), QStringLiteral("&View"));
    QCOMPARE(bar[4]->menu()->actions(), (QList<QAction *>{g.action("mnuScoreSheet"), g.action("mnuTurnLog")}));
    for (QAction *dock : bar[4]->menu()->actions())
        QVERIFY(dock->isCheckable() && !dock->isChecked());
    QCOMPARE(bar[5]->text(), QStringLiteral("&Learn"));
    QCOMPARE(bar[5]->menu()->objectName(), QStringLiteral("mnuLearn"));
    QVERIFY(g.action("mnuCoachMode")->isCheckable() && !g.action("mnuCoachMode")->isChecked()); // off by default

    const QList<QAction *> file = bar[0]->menu()->actions();
    QCOMPARE(file.size(), 1);
    QCOMPARE(file[0]->text(), QStringLiteral("&Exit"));

    const QStringList players{"&One Player", "&Two Players", "T&hree Players", "&Four Players"};
    const QList<QAction *> newGame = bar[1]->menu()->actions();
    QCOMPARE(newGame.size(), 6);
    QVERIFY(newGame[4]->isSeparator());
    QCOMPARE(newGame[5]->text(), QStringLiteral("Against the &Computer"));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(newGame[i]->text(), players[i]);
        QCOMPARE(newGame[i]->objectName(), QStringLiteral("mnuNoPlayer(%1)").arg(i + 1));
        QVERIFY(newGame[i]->shortcut().isEmpty());
        QVERIFY(!newGame[i]->isCheckable());
        QVERIFY(newGame[i]->isEnabled());
    }
}

void WindowTest::newGameWithOneAndFourPlayers_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one") << QStringList{"Ann"};
    QTest::newRow("four") << QStringList{"Ann", "Bob", "Cy", "Di"};
}

void WindowTest::newGameWithOneAndFourPlayers()
{
    QFETCH(QStringList, names);
    GameFixture g;
    g.newGame(names);
    Form1 &f = g.f();

    QCOMPARE(g.dialogs.calls.size(), names.size());
    for (int n = 1; n <= names.size(); ++n) {
        const DialogCall &call = g.dialogs.calls[n - 1];
        QCOMPARE(call.kind, DialogCall::Input);
        QCOMPARE(call.title, QStringLiteral("Quintor"));
        QCOMPARE(call.text, QStringLiteral("What is the name of Player %1 ?").arg(n));
    }
    for (int p = 1; p <= 4; ++p) {
        QCOMPARE(f.lblPlayer[p]->text(), p <= names.size() ? names[p - 1] : QString());
        QVERIFY(f.lblSum[p]->text().isEmpty());
        for (int r = 1; r <= 15; ++r)
            QCOMPARE(g.s().ScoreCard[p][r], NotBooked);
        QCOMPARE(g.s().ScoreCard[p][16], 0);
        QCOMPARE(g.s().ScoreCard[p][17], 0);
    }
    QCOMPARE(f.lblPlayerTurn->text(), names[0]);
    QVERIFY(f.cmdRoll->isEnabled());
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    QCOMPARE(g.s().PlayerCount, names.size());
    QCOMPARE(g.s().CurPlayer, 0);
    QCOMPARE(g.s().RollCount, 0);
    QVERIFY(!g.s().HasRolled);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(g.s().RollDie[i]);
        QCOMPARE(valmod::DiceValue[i], 0);
    }
}

void WindowTest::cancelledOrEmptyNames()
{
    GameFixture g;
    // The first prompt gets an empty entry, the second is cancelled.
    g.newGame({QString(), QString()});
    QVERIFY(g.f().lblPlayer[1]->text().isEmpty());
    QVERIFY(g.f().lblPlayer[2]->text().isEmpty());
    QVERIFY(g.f().lblPlayerTurn->text().isEmpty());
    QVERIFY(g.f().cmdRoll->isEnabled());

    // The game runs normally without names.
    g.roll({1, 2, 3, 4, 5});
    g.clickCategory(11);
    QCOMPARE(g.f().lblSum[1]->text(), QStringLiteral("15"));
    QCOMPARE(g.s().CurPlayer, 1);
}

void WindowTest::newGameMidGameResetsEverythingQuietly()
{
    GameFixture g;
    g.newGame({"Ann", "Bob"});
    // Ann books Chance; Bob checks two boxes before rolling (turned away,
    // so they stay checked), rolls and holds a die.
    g.roll({6, 6, 6, 5, 5});
    g.clickCategory(15);
    g.clickCategory(1);
    g.clickCategory(7);
    QVERIFY(g.f().chkChooseScore[1]->isChecked());
    g.roll({2, 2, 3, 4, 5});
    g.clickDie(0);
    QVERIFY(!g.s().RollDie[0]);

    g.dialogs.calls.clear();
    g.newGame({"Cy", "Di"});

    Form1 &f = g.f();
    // Only the two name prompts: no sacrifice question, no other dialog.
    QCOMPARE(g.dialogs.calls.size(), 2);
    for (const DialogCall &call : g.dialogs.calls)
        QCOMPARE(call.kind, DialogCall::Input);
    for (int r = 1; r <= 15; ++r) {
        QVERIFY(f.chkChooseScore[r]->isEnabled());
        QVERIFY(!f.chkChooseScore[r]->isChecked());
        QVERIFY(f.Score[r]->text().isEmpty());
        for (int p = 1; p <= 4; ++p)
            QCOMPARE(g.s().ScoreCard[p][r], NotBooked);
    }
    for (int p = 1; p <= 4; ++p) {
        QVERIFY(f.lblSum[p]->text().isEmpty());
        QCOMPARE(g.s().ScoreCard[p][17], 0);
    }
    QCOMPARE(f.lblPlayerTurn->text(), QStringLiteral("Cy"));
    QCOMPARE(f.cmdRoll->text(), QStringLiteral("Roll 0 of 3"));
    QVERIFY(!g.s().HasRolled);
    QCOMPARE(g.s().IgnoreClick, 0);
    // The held die is free again but keeps its picture.
    QVERIFY(g.s().RollDie[0]);
    QCOMPARE(f.DicePic[0]->borderStyle(), 0);
    QCOMPARE(f.DicePic[0]->toolTip(), QStringLiteral("Hold/release die by clicking it"));
    QCOMPARE(f.DicePic[0]->picture().toImage(), DiceImages::FacePicture(2).toImage());
    // Hints of the last roll stay until the next roll ends.
    QCOMPARE(f.chkChooseScore[11]->toolTip(), QStringLiteral("Small Straight = 0"));
}

void WindowTest::newGameWithFewerPlayersClearsTheRest()
{
    GameFixture g;
    g.newGame({"Ann", "Bob", "Cy"});
    for (int p = 0; p < 3; ++p) {
        g.roll({6, 6, 6, 6, 1});
        g.clickCategory(15);
    }
    QCOMPARE(g.f().lblSum[3]->text(), QStringLiteral("25"));

    g.newGame({"Di"});
    for (int p = 2; p <= 4; ++p) {
        QVERIFY(g.f().lblPlayer[p]->text().isEmpty());
        QVERIFY(g.f().lblSum[p]->text().isEmpty());
    }
    // A whole turn later the other lines are still empty.
    g.roll({1, 1, 1, 1, 1});
    g.clickCategory(14);
    QCOMPARE(g.f().lblSum[1]->text(), QStringLiteral("50"));
    QCOMPARE(g.s().CurPlayer, 0);
    QVERIFY(g.f().lblPlayer[2]->text().isEmpty());
    QVERIFY(g.f().lblSum[2]->text().isEmpty());
}

void WindowTest::namesAreShownAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("bold") << "<b>Ann</b>";
    QTest::newRow("image") << "<img src=x>";
    QTest::newRow("ampersand") << "Tom & Jerry";
    QTest::newRow("blanks") << "  spaced  ";
}

void WindowTest::namesAreShownAsTyped()
{
    QFETCH(QString, name);
    GameFixture g;
    g.newGame({name});
    QCOMPARE(g.f().lblPlayer[1]->text(), name);
    QCOMPARE(g.f().lblPlayer[1]->textFormat(), Qt::PlainText);
    QCOMPARE(g.f().lblPlayerTurn->text(), name);
    QCOMPARE(g.f().lblPlayerTurn->textFormat(), Qt::PlainText);
}

void WindowTest::beforeTheFirstGameNothingBooks()
{
    GameFixture g;
    Form1 &f = g.f();
    g.clickDie(2);
    QCOMPARE(f.DicePic[2]->borderStyle(), 0);
    QVERIFY(!g.s().RollDie[2]);  // all False until the first New Game
    g.clickCategory(4);
    QVERIFY(f.chkChooseScore[4]->isChecked());
    QVERIFY(f.Score[4]->text().isEmpty());
    QCOMPARE(g.s().ScoreCard[1][4], 0);
    QVERIFY(g.dialogs.calls.isEmpty());
    QTest::mouseClick(f.cmdRoll, Qt::LeftButton);
    QVERIFY(!f.Timer1->isActive());
}

void WindowTest::helpShowsTheInstructionsAndChangesNothing()
{
    GameFixture g;
    g.newGame({"Ann"});
    g.roll({3, 3, 4, 5, 6});
    g.clickDie(1);
    const GameState before = g.s();

    g.dialogs.calls.clear();
    g.f().mnuHelp->trigger();

    QCOMPARE(g.dialogs.calls.size(), 1);
    const DialogCall &call = g.dialogs.calls[0];
    QCOMPARE(call.title, QStringLiteral("Quintor Help"));
    QCOMPARE(call.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(call.icon, Dialogs::Icon::None);
    QCOMPARE(call.text,
             QStringLiteral("Choose No of players from Menue New Game.\r\n"
                            "Choose what score to take by checking the checkbox.\r\n"
                            "Hold/release die by clicking it.\r\n"
                            "You are allowed to roll 3 times but you can take score anytime.\r\n"
                            "Tip! If you take 3 each of 1 to 6 you get 50 pts bonus."));
    QCOMPARE(call.text.count(QStringLiteral("\r\n")), 4);

    QCOMPARE(g.s().RollDie, before.RollDie);
    QCOMPARE(g.s().RollCount, before.RollCount);
    QCOMPARE(g.s().HasRolled, before.HasRolled);
    QCOMPARE(g.s().ScoreCard, before.ScoreCard);
    QCOMPARE(g.f().cmdRoll->text(), QStringLiteral("Roll 1 of 3"));
}

void WindowTest::exitClosesTheWindowAtOnce()
{
    GameFixture g;
    g.settings.SaveSettings("Quintor", "QuintorHighscore", {{"Score", "120"}, {"Name", "Eve"}});
    g.reopen();
    g.newGame({"Ann"});
    g.roll({6, 6, 6, 6, 6});
    g.f().mnuExit->trigger();

    // The window is closed and no other is left, so the application quits.
    QVERIFY(!g.f().isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(g.dialogs.calls.size() == 1);  // only the name prompt, no question
    g.reopen();
    QCOMPARE(g.f().lblHighscore->text(), QStringLiteral("120"));
    QCOMPARE(g.f().lblHighscoreName->text(), QStringLiteral("Eve"));
}

void WindowTest::exitEndsTheProgram()
{
    GameFixture g;
    g.newGame({"Ann"});
    // Exit must end the event loop, not merely hide the window.
    QTimer::singleShot(0, g.form.get(), [&] { g.f().mnuExit->trigger(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(42); });
    QCOMPARE(QApplication::exec(), 0);
}

void WindowTest::textsForTooltipsAndScreenReadersAtLoad()
{
    GameFixture g;
    Form1 &f = g.f();
    QCOMPARE(f.lblHighscoreName->toolTip(), QStringLiteral("The all time highscore holder"));
    QCOMPARE(f.lblHighscore->toolTip(), QStringLiteral("The all time highscore holders score"));
    // Before any game every die shows a six and none is held.
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(f.DicePic[i]->accessibleName(), QStringLiteral("Die %1").arg(i + 1));
        QCOMPARE(f.DicePic[i]->accessibleDescription(), QStringLiteral("Shows 6, free"));
    }
}

void WindowTest::keyboardReachesEveryControl()
{
    GameFixture g;
    g.newGame({"Ann"});
    Form1 &f = g.f();
    QApplication::setActiveWindow(&f);
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.chkChooseScore[1]->setFocus();
    QCOMPARE(QApplication::focusWidget(), f.chkChooseScore[1]);
    QSet<QWidget *> reached;
    for (int i = 0; i < 40; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (int r = 1; r <= 15; ++r)
        QVERIFY2(reached.contains(f.chkChooseScore[r]), qPrintable(f.chkChooseScore[r]->text()));
    for (int i = 0; i < 5; ++i)
        QVERIFY(reached.contains(f.DicePic[i]));
    QVERIFY(reached.contains(f.cmdRoll));

    // Space rolls, holds a die and books a category, as clicks do.
    g.random.faces = QList<int>(20, 5);
    QTest::keyClick(f.cmdRoll, Qt::Key_Space);
    QVERIFY(f.Timer1->isActive());
    g.finishRoll();
    QTest::keyClick(f.DicePic[2], Qt::Key_Space);
    QVERIFY(!g.s().RollDie[2]);
    QTest::keyClick(f.chkChooseScore[14], Qt::Key_Space);
    QCOMPARE(f.lblSum[1]->text(), QStringLiteral("50"));
}

void WindowTest::realDialogs()
{
    QWidget parent;
    QtDialogs dialogs(&parent);
    parent.show();

    // Input: titled, prompted, starting empty; Enter accepts what was typed.
    QTimer::singleShot(0, [] {
        auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QVERIFY(input);
        QCOMPARE(input->windowTitle(), QStringLiteral("Quintor"));
        QCOMPARE(input->labelText(), QStringLiteral("What is the name of Player 2 ?"));
        auto *edit = input->findChild<QLineEdit *>();
        QVERIFY(edit && edit->text().isEmpty());
        QTest::keyClicks(edit, QStringLiteral("<b>Ann</b>"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(dialogs.InputBox(QStringLiteral("What is the name of Player 2 ?"), QStringLiteral("Quintor")),
             QStringLiteral("<b>Ann</b>"));

    // Escape cancels, which gives the empty name.
    QTimer::singleShot(0, [] {
        QWidget *input = QApplication::activeModalWidget();
        QVERIFY(input);
        QTest::keyClicks(input->focusWidget(), QStringLiteral("Bob"));
        QTest::keyClick(input, Qt::Key_Escape);
    });
    QCOMPARE(dialogs.InputBox(QStringLiteral("prompt"), QStringLiteral("Quintor")), QString());

    // OK and Cancel, no icon, the text shown as plain text.
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Quintor"));
        QCOMPARE(box->text(), QStringLiteral("Do you want to sacrifice <i>Chance</i> ?"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(dialogs.MsgBox(QStringLiteral("Do you want to sacrifice <i>Chance</i> ?"),
                            Dialogs::Buttons::OkCancel, QStringLiteral("Quintor")),
             Dialogs::Answer::Cancel);

    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(dialogs.MsgBox(QStringLiteral("q"), Dialogs::Buttons::OkCancel, QStringLiteral("Quintor")),
             Dialogs::Answer::Ok);

    // A box without a title of its own bears the application title.
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Quintis"));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        QCOMPARE(box->buttons().size(), 1);
        QTest::keyClick(box, Qt::Key_Return);
    });
    dialogs.MsgBox(QStringLiteral("Congratulations you have recieved a 50 pts bonus"),
                   Dialogs::Buttons::Ok, QString());

    // The help of a real window, through the real dialogs.
    ScriptedRandom random;
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    QtDialogs windowDialogs;
    Form1 form(windowDialogs, random, settings);
    windowDialogs.setParent(&form);
    form.show();
    QString helpTitle;
    QString helpText;
    int helpButtons = 0;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        helpTitle = box->windowTitle();
        helpText = box->text();
        helpButtons = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Return);
    });
    form.mnuHelp->trigger();
    QCOMPARE(helpTitle, QStringLiteral("Quintor Help"));
    QVERIFY(helpText.startsWith(QStringLiteral("Choose No of players from Menue New Game.\r\n")));
    QCOMPARE(helpButtons, 1);
}

QUINTOR_TEST_MAIN(WindowTest)
#include "tst_window.moc"
