#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace {

// The second click of a double click that opened a question would land on
// whatever button now lies under the pointer and answer it unseen. Mouse
// presses on the box within the double-click interval of its appearing are
// therefore dropped; keys, and clicks after that, answer as usual.
class FreshDialogGuard final : public QObject {
public:
    explicit FreshDialogGuard(QMessageBox &box) : QObject(&box)
    {
        box.installEventFilter(this);
        for (QAbstractButton *button : box.buttons())
            button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            if (watched == parent())
                m_shown.start();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            // A release can only end a press the box has seen, but a press
            // dropped here must not leave its release to click either.
            if (!m_shown.isValid() || m_shown.elapsed() < QApplication::doubleClickInterval())
                return true;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QElapsedTimer m_shown;
};

// Between a window and the one it stands beside.
constexpr int Gap = 8;

} // namespace

void PlaceBeside(QWidget &widget, const QWidget *window, QSize wanted, QSize least)
{
    const QScreen *screen = window->screen();
    const QRect beside = window->frameGeometry();
    if (!screen) {
        widget.resize(wanted);
        widget.move(beside.topRight() + QPoint(Gap, 0));
        return;
    }
    const QRect room = screen->availableGeometry();
    // A window of ours gets the same frame as the one it stands beside.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QRect sides[] = {
        QRect(QPoint(beside.right() + 1 + Gap, room.top()), room.bottomRight()),
        QRect(room.topLeft(), QPoint(beside.left() - 1 - Gap, room.bottom())),
        QRect(QPoint(room.left(), beside.bottom() + 1 + Gap), room.bottomRight()),
        QRect(room.topLeft(), QPoint(room.right(), beside.top() - 1 - Gap)),
    };
    QRect best;
    for (const QRect &side : sides) {
        const QSize inner = side.size() - frame;
        if (inner.width() < least.width() || inner.height() < least.height())
            continue;
        const QSize size = wanted.boundedTo(inner);
        QRect outer(QPoint(), size + frame);
        // Along the window's own edge, moved as little as the screen needs.
        outer.moveTopLeft(QPoint(std::clamp(beside.left(), side.left(), side.right() + 1 - outer.width()),
                                 std::clamp(beside.top(), side.top(), side.bottom() + 1 - outer.height())));
        if (side == sides[1])
            outer.moveRight(side.right());
        if (side == sides[3])
            outer.moveBottom(side.bottom());
        if (best.isNull() || outer.width() * outer.height() > best.width() * best.height())
            best = outer;
    }
    if (best.isNull()) {
        best = QRect(QPoint(), wanted.boundedTo(room.size() - frame) + frame);
        best.moveCenter(beside.center());
        best.moveTopLeft(QPoint(std::clamp(best.left(), room.left(), room.right() + 1 - best.width()),
                                std::clamp(best.top(), room.top(), room.bottom() + 1 - best.height())));
    }
    widget.resize(best.size() - frame);
    widget.move(best.topLeft());
}

void PlaceBeside(QWidget &widget, const QWidget *window)
{
    widget.adjustSize();
    PlaceBeside(widget, window, widget.size(), widget.size());
}

void BringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

Dialogs::Answer QtDialogs::MsgBox(const QString &text, Buttons buttons, const QString &title,
                                  Icon icon, Placement placement)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? ApplicationTitle : title);
    // Names typed by players end up in these texts: never interpret them.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == Buttons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    new FreshDialogGuard(box);
    if (placement == Placement::Beside && m_parent)
        PlaceBeside(box, m_parent->window());
    // Closing the box any other way than with OK counts as Cancel.
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString QtDialogs::InputBox(const QString &prompt, const QString &title)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    if (auto *label = dialog.findChild<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    // A name is taken as typed, however long (the line edit would cut it).
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setMaxLength(std::numeric_limits<int>::max());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
