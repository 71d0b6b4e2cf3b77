#pragma once
// The one dialog of New Game > Against the Computer: the person's name, the
// number of computers, their strength and their pace.

#include "game/ComputerSetup.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

class ComputerSetupDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ComputerSetupDialog(const ComputerSetup &setup, QWidget *parent = nullptr);
    ComputerSetup setup() const;

private:
    QLineEdit *m_name;
    QSpinBox *m_computers;
    QComboBox *m_level;
    QComboBox *m_pace;
};
