#include "opponents/ComputerSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <limits>

ComputerSetupDialog::ComputerSetupDialog(const ComputerSetup &setup, QWidget *parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_computers(new QSpinBox(this)),
      m_level(new QComboBox(this)), m_pace(new QComboBox(this))
{
    setObjectName(QStringLiteral("ComputerSetup"));
    setWindowTitle(QStringLiteral("Quintor"));

    // A name is taken as typed, however long.
    m_name->setMaxLength(std::numeric_limits<int>::max());
    m_name->setText(setup.name);
    m_name->selectAll();
    m_name->setAccessibleName(QStringLiteral("Name of player 1"));

    m_computers->setRange(1, ComputerSetup::MaxComputers);
    m_computers->setValue(setup.computers);
    m_computers->setAccessibleName(QStringLiteral("Number of computer opponents"));

    for (strategy::Level level : strategy::Levels)
        m_level->addItem(QString::fromStdString(strategy::LevelTitle(level)));
    m_level->setCurrentIndex(static_cast<int>(setup.level));
    m_level->setAccessibleName(QStringLiteral("Strength of the computers"));
    m_level->setToolTip(QStringLiteral("Perfect never makes a mistake; Easy loses about 60 points a game to it"));

    for (const char *pace : {"Slow (1 s a step)", "Normal (0.5 s a step)", "Fast (0.15 s a step)"})
        m_pace->addItem(QString::fromLatin1(pace));
    m_pace->setCurrentIndex(static_cast<int>(setup.pace));
    m_pace->setAccessibleName(QStringLiteral("Pace of the computers"));

    auto *form = new QFormLayout(this);
    auto *prompt = new QLabel(QStringLiteral("What is the name of Player 1 ?"), this);
    prompt->setBuddy(m_name);
    form->addRow(prompt);
    form->addRow(m_name);
    form->addRow(QStringLiteral("&Computer opponents:"), m_computers);
    form->addRow(QStringLiteral("&Strength:"), m_level);
    form->addRow(QStringLiteral("&Pace:"), m_pace);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    m_name->setFocus();
}

ComputerSetup ComputerSetupDialog::setup() const
{
    ComputerSetup setup;
    setup.name = m_name->text();
    setup.computers = m_computers->value();
    setup.level = static_cast<strategy::Level>(m_level->currentIndex());
    setup.pace = static_cast<ComputerSetup::Pace>(m_pace->currentIndex());
    return setup;
}

bool QtSetupQuestion::AskComputerSetup(ComputerSetup &setup)
{
    ComputerSetupDialog dialog(setup, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup = dialog.setup();
    return true;
}
