// Double clicks and the real dialogs: a question is answered only by a
// player who has seen it, and a double click on a die is one click.

#include "support/GameFixture.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// Names come from the script, questions from the real Qt message boxes.
class RealQuestions final : public Dialogs {
public:
    explicit RealQuestions(QStringList names) : m_names(std::move(names)) {}
    QtDialogs real;

    Answer MsgBox(const QString &text, Buttons buttons, const QString &title, Icon icon) override
    {
        return real.MsgBox(text, buttons, title, icon);
    }
    QString InputBox(const QString &, const QString &) override
    {
        return m_names.isEmpty() ? QString() : m_names.takeFirst();
    }

private:
    QStringList m_names;
};

// A double click as the platform delivers it: press, release, then a second
// press that Qt turns into a double-click event, and its release.
void DoubleClick(QWidget *widget)
{
    QWidget *top = widget->window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {},
                       widget->mapTo(top, widget->rect().center()));
}

QAbstractButton *OkButton()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    return box ? box->button(QMessageBox::Ok) : nullptr;
}

} // namespace

class ClicksTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QuietOffscreenWarnings(); }
    void doubleClickOnADieTogglesItOnce();
    void secondClickDoesNotAnswerTheSacrifice();
    void laterClicksAndKeysAnswer();
    void longNamesAreNotCut();
};

void ClicksTest::doubleClickOnADieTogglesItOnce()
{
    GameFixture g;
    g.newGame({"Ann"});
    g.roll({1, 2, 3, 4, 5});
    DoubleClick(g.f().DicePic[2]);
    QVERIFY(!g.s().RollDie[2]);
    QCOMPARE(g.f().DicePic[2]->toolTip(), QStringLiteral("Die is hold"));
    DoubleClick(g.f().DicePic[2]);
    QVERIFY(g.s().RollDie[2]);
    // Single clicks still toggle each time.
    g.clickDie(2);
    g.clickDie(2);
    QVERIFY(g.s().RollDie[2]);
}

void ClicksTest::secondClickDoesNotAnswerTheSacrifice()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    ScriptedRandom random;
    RealQuestions dialogs({"Ann"});
    Form1 form(dialogs, random, settings);
    dialogs.real.setParent(&form);
    form.show();
    form.mnuNoPlayer[1]->trigger();
    random.faces = QList<int>(20, 2);
    QTest::mouseClick(form.cmdRoll, Qt::LeftButton);
    while (form.Timer1->isActive())
        form.Timer1_Timer();

    // The question opens under the pointer; the second click of the double
    // click lands on OK at once and must not answer it.
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        QAbstractButton *ok = OkButton();
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        DoubleClick(ok);
        stillOpen = OkButton() == ok;
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QTest::mouseClick(form.chkChooseScore[1], Qt::LeftButton, {},
                      form.chkChooseScore[1]->rect().center());
    QVERIFY(stillOpen);
    QCOMPARE(form.state().ScoreCard[1][1], NotBooked);
    QVERIFY(form.Score[1]->text().isEmpty());
}

void ClicksTest::laterClicksAndKeysAnswer()
{
    QWidget parent;
    parent.show();
    QtDialogs dialogs(&parent);

    // Return answers at once.
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QCOMPARE(dialogs.MsgBox("q", Dialogs::Buttons::OkCancel, "Quintor"), Dialogs::Answer::Ok);

    // A click once the double-click interval is over answers too.
    QTimer::singleShot(QApplication::doubleClickInterval() + 100, [] {
        QAbstractButton *ok = OkButton();
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(dialogs.MsgBox("q", Dialogs::Buttons::OkCancel, "Quintor"), Dialogs::Answer::Ok);
}

void ClicksTest::longNamesAreNotCut()
{
    QtDialogs dialogs;
    const QString name(40000, u'x');
    QTimer::singleShot(0, [&] {
        auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        QVERIFY(input);
        auto *edit = input->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(dialogs.InputBox("What is the name of Player 1 ?", "Quintor").size(), name.size());
}

QUINTOR_TEST_MAIN(ClicksTest)
#include "tst_clicks.moc"
