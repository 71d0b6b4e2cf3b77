#include "ui/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {
constexpr int FrameWidth = 2;
}

PictureBox::PictureBox(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::NoFrame);
    // Reachable with Tab (not by clicking, which would draw the focus mark
    // for mouse users); Space holds and frees.
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    resize(sizeHint());
    update();
}

void PictureBox::setBorderStyle(int style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    if (style == 1) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(FrameWidth);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    resize(sizeHint());
    update();
}

QSize PictureBox::sizeHint() const
{
    const QSize picture = m_picture.isNull() ? QSize(33, 33)
                                             : m_picture.size() / m_picture.devicePixelRatio();
    return picture + QSize(2 * frameWidth(), 2 * frameWidth());
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Nearest-neighbour scaling keeps the pips crisp on high-density screens.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Faded while the die is not the player's to use (a computer's turn).
    if (!isEnabled())
        painter.setOpacity(0.55);
    painter.drawPixmap(contentsRect().topLeft(), m_picture);
    painter.setOpacity(1.0);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// A click is a press and a release on the box, like a button.
void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QFrame::mousePressEvent(event);
}

// The second press of a double click is no second click: a double click on
// a die holds or frees it once, as one click would.
void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (event->button() == Qt::LeftButton && wasPressed && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    // Keyboard users hold and free dice with Space, as with any button.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}
