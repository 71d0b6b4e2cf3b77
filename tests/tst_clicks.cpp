// Double clicks and the real dialogs: a question is answered only by a
// player who has seen it, and a double click on a die is one click.

#include "support/GameFixture.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

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
    void questionIsAnsweredOnlyOnceSeen();
    void longNamesAreNotCut();
};

void ClicksTest::doubleClickOnADieTogglesItOnce()
{
    GameFixture g;
    g.newGame({"Ann"});
    g.roll({1, 2, 3, 4, 5});
    DoubleClick(g.f().DicePic[2]);
    QVERIFY(!g.s().RollDie[2]);
    DoubleClick(g.f().DicePic[2]);
    QVERIFY(g.s().RollDie[2]);
    // Single clicks still toggle each time.
    g.clickDie(2);
    QVERIFY(!g.s().RollDie[2]);
    // A press taken off the die before release is no click.
    PictureBox *die = g.f().DicePic[2];
    QTest::mousePress(die, Qt::LeftButton, {}, die->rect().center());
    QTest::mouseRelease(die, Qt::LeftButton, {}, die->rect().bottomRight() + QPoint(20, 20));
    QVERIFY(!g.s().RollDie[2]);
}

void ClicksTest::questionIsAnsweredOnlyOnceSeen()
{
    QWidget parent;
    parent.show();
    QtDialogs dialogs(&parent);
    const auto ask = [&] {
        return dialogs.MsgBox("Do you want to sacrifice Chance ?", Dialogs::Buttons::OkCancel, "Quintor");
    };

    // The box opens under the pointer: the rest of the double click that
    // opened it lands on OK at once and must not answer it; a key does.
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        QAbstractButton *ok = OkButton();
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        DoubleClick(ok);
        stillOpen = OkButton() == ok;
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QCOMPARE(ask(), Dialogs::Answer::Cancel);
    QVERIFY(stillOpen);

    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QCOMPARE(ask(), Dialogs::Answer::Ok);

    // A click once the double-click interval is over answers too.
    QTimer::singleShot(QApplication::doubleClickInterval() + 100, [] {
        QAbstractButton *ok = OkButton();
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QCOMPARE(ask(), Dialogs::Answer::Ok);
}

void ClicksTest::longNamesAreNotCut()
{
    QtDialogs dialogs;
    const QString name(40000, u'x');
    QTimer::singleShot(0, [&] {
        auto *edit = QApplication::activeModalWidget()->findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(dialogs.InputBox("What is the name of Player 1 ?", "Quintor").size(), name.size());
}

QUINTOR_TEST_MAIN(ClicksTest)
#include "tst_clicks.moc"
