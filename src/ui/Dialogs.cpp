#include "ui/Dialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

Dialogs::Answer QtDialogs::MsgBox(const QString &text, Buttons buttons, const QString &title,
                                  Icon icon)
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
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
