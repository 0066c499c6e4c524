#include "Stepper.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace nerubato {

Stepper::Stepper(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(sizeHint());
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &Stepper::repeat);
}

Stepper::Arrow Stepper::arrowAt(const QPoint &pos) const
{
    return pos.y() < height() / 2 ? Next : Previous;
}

QRect Stepper::arrowRect(Arrow arrow) const
{
    const int half = height() / 2;
    return arrow == Next ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
}

void Stepper::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (Arrow arrow : {Next, Previous}) {
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = arrowRect(arrow);
        const bool down = m_overHeldArrow && m_held == (arrow == Next ? HeldNext : HeldPrevious);
        panel.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);

        QStyleOption glyph;
        glyph.initFrom(this);
        glyph.rect = panel.rect.adjusted(2, 1, -2, -1);
        if (down)
            glyph.rect.translate(1, 1);
        style()->drawPrimitive(arrow == Next ? QStyle::PE_IndicatorArrowUp
                                             : QStyle::PE_IndicatorArrowDown,
                               &glyph, &painter, this);
    }
}

void Stepper::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_held == None) {
        const Arrow arrow = arrowAt(event->position().toPoint());
        m_held = arrow == Next ? HeldNext : HeldPrevious;
        m_overHeldArrow = true;
        update();
        emit arrowClicked(arrow);
        // A message box shown by the step takes the mouse away; the release
        // then never comes here, so repeating only starts if the press is
        // still ours.
        if (m_held != None)
            m_repeat.start(kRepeatDelay);
    }
    emit mousePressed(event->button());
    event->accept();
}

void Stepper::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        stopRepeat();
    event->accept();
}

void Stepper::mouseMoveEvent(QMouseEvent *event)
{
    if (m_held == None)
        return;
    const Arrow held = m_held == HeldNext ? Next : Previous;
    const bool over = arrowRect(held).contains(event->position().toPoint());
    if (over != m_overHeldArrow) {
        m_overHeldArrow = over;
        update();
    }
}

bool Stepper::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::EnabledChange:
    case QEvent::Hide:
        stopRepeat();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void Stepper::stopRepeat()
{
    m_repeat.stop();
    if (m_held != None) {
        m_held = None;
        m_overHeldArrow = false;
        update();
    }
}

void Stepper::repeat()
{
    m_repeat.setInterval(kRepeatInterval);
    if (m_overHeldArrow)
        emit arrowClicked(m_held == HeldNext ? Next : Previous);
}

} // namespace nerubato
