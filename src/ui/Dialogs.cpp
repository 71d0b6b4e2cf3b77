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

} // namespace

void PlaceBeside(QWidget &widget, const QWidget *window)
{
    widget.adjustSize();
    const QRect frame = window->frameGeometry();
    const QScreen *screen = window->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const QSize size = widget.frameGeometry().size();
    // Right of the window if it fits on the screen, else left of it.
    QPoint at(frame.right() + 8, frame.top());
    if (room.isValid() && at.x() + size.width() > room.right() && frame.left() - 8 - size.width() >= room.left())
        at.setX(frame.left() - 8 - size.width());
    widget.move(at);
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
