#pragma once
// The one dialog of New Game > Against the Computer: the person's name, the
// number of computers, their strength and their pace.

#include "opponents/ComputerSetup.h"

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

// The setup asked with the dialog above, over the game's window.
class QtSetupQuestion final : public SetupQuestion {
public:
    explicit QtSetupQuestion(QWidget *parent = nullptr) : m_parent(parent) {}
    bool AskComputerSetup(ComputerSetup &setup) override;

private:
    QWidget *m_parent;
};
