#include "coaching/CoachPanel.h"

#include "ui/Dialogs.h"

#include <QLabel>
#include <QVBoxLayout>

CoachPanel::CoachPanel(QWidget *parent)
    : QWidget(parent, Qt::Tool), m_advice(new QLabel(this)), m_verdict(new QLabel(this))
{
    setObjectName(QStringLiteral("CoachPanel"));
    setWindowTitle(QStringLiteral("Coach"));
    setAttribute(Qt::WA_ShowWithoutActivating); // the game keeps the keyboard
    for (QLabel *label : {m_advice, m_verdict}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMinimumWidth(260);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    m_advice->setObjectName(QStringLiteral("CoachAdvice"));
    m_advice->setAccessibleName(QStringLiteral("Best choice"));
    m_verdict->setObjectName(QStringLiteral("CoachVerdict"));
    m_verdict->setAccessibleName(QStringLiteral("Your last decision"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_advice);
    layout->addWidget(m_verdict);
    layout->addStretch();
    resize(300, 150);
}

void CoachPanel::setAdvice(const QString &text) { m_advice->setText(text); }
void CoachPanel::setVerdict(const QString &text) { m_verdict->setText(text); }
QString CoachPanel::advice() const { return m_advice->text(); }
QString CoachPanel::verdict() const { return m_verdict->text(); }

void CoachPanel::placeBeside()
{
    if (parentWidget())
        PlaceBeside(*this, parentWidget()->window());
}
