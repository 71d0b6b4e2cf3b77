#include "coaching/CoachPanel.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

CoachPanel::CoachPanel(QWidget *parent)
    : QWidget(parent), m_scroll(new QScrollArea(this)), m_text(new QWidget), m_advice(new QLabel(m_text)),
      m_verdict(new QLabel(m_text)), m_hint(new QLabel(m_text))
{
    setObjectName(QStringLiteral("CoachPanel"));
    for (QLabel *label : {m_advice, m_verdict, m_hint}) {
        // Names typed by players end up in these texts.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_advice->setObjectName(QStringLiteral("CoachAdvice"));
    m_advice->setAccessibleName(QStringLiteral("Best choice"));
    m_verdict->setObjectName(QStringLiteral("CoachVerdict"));
    m_verdict->setAccessibleName(QStringLiteral("Your last decision"));
    m_hint->setObjectName(QStringLiteral("CoachHint"));
    m_hint->setAccessibleName(QStringLiteral("Hint"));
    m_hint->hide();
    auto *text = new QVBoxLayout(m_text);
    text->addWidget(m_advice);
    text->addWidget(m_verdict);
    text->addWidget(m_hint);
    text->addStretch();
    m_scroll->setWidget(m_text);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    // Room for the advice and a verdict of a line or two each.
    setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    Grow();
}

void CoachPanel::setAdvice(const QString &text)
{
    m_advice->setText(text);
    Grow();
}

void CoachPanel::setVerdict(const QString &text)
{
    m_verdict->setText(text);
    Grow();
}

void CoachPanel::setHint(const QString &text)
{
    m_hint->setText(text.isEmpty() ? QString() : QStringLiteral("Hint: ") + text);
    m_hint->setVisible(!text.isEmpty());
    Grow();
}

QString CoachPanel::advice() const { return m_advice->text(); }
QString CoachPanel::verdict() const { return m_verdict->text(); }
QString CoachPanel::hint() const { return m_hint->isVisible() ? m_hint->text() : QString(); }

QSize CoachPanel::sizeHint() const
{
    return {minimumWidth(), m_scroll->minimumHeight()};
}

void CoachPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Grow();
}

// As tall as the text needs at the width it has, up to a third of the
// screen; beyond that it scrolls.
void CoachPanel::Grow()
{
    const int width = m_scroll->viewport()->width() > 0 ? m_scroll->viewport()->width() : minimumWidth();
    int needed = m_text->layout()->heightForWidth(width);
    if (needed < 0)
        needed = m_text->sizeHint().height();
    const QScreen *display = screen();
    const int most = display ? display->availableGeometry().height() / 3 : needed;
    const int height = std::min(needed, most);
    if (m_scroll->minimumHeight() != height)
        m_scroll->setMinimumHeight(height);
}
