#include "Stepper.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace nerubato {

namespace {

// QAccessibleWidget is its own action interface already.
class StepperAccessible : public QAccessibleWidget
{
public:
    explicit StepperAccessible(Stepper *stepper) : QAccessibleWidget(stepper, QAccessible::SpinBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return stepper()->field() ? stepper()->field()->text() : QString();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return {QAccessibleActionInterface::increaseAction(),
                QAccessibleActionInterface::decreaseAction()};
    }

    void doAction(const QString &action) override
    {
        if (!stepper()->isEnabled())
            return;
        if (action == QAccessibleActionInterface::increaseAction())
            stepper()->reportArrow(Stepper::Next);
        else if (action == QAccessibleActionInterface::decreaseAction())
            stepper()->reportArrow(Stepper::Previous);
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    Stepper *stepper() const { return static_cast<Stepper *>(widget()); }
};

QAccessibleInterface *stepperAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("nerubato::Stepper") && object && object->isWidgetType())
        return new StepperAccessible(static_cast<Stepper *>(object));
    return nullptr;
}

} // namespace

Stepper::Stepper(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(stepperAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(sizeHint());
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, &Stepper::repeatTick);
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

void Stepper::repeatTick()
{
    if (m_held == None)
        return;
    m_repeat.setInterval(kRepeatInterval);
    if (m_overHeldArrow)
        emit arrowClicked(m_held == HeldNext ? Next : Previous);
}

void Stepper::setField(QLineEdit *field)
{
    m_field = field;
}

QLineEdit *Stepper::field() const
{
    return m_field;
}

void Stepper::reportArrow(Arrow arrow)
{
    if (isEnabled())
        emit arrowClicked(arrow);
}

StepKeys::StepKeys(QWidget *field) : QObject(field)
{
    field->installEventFilter(this);
}

bool StepKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !static_cast<QWidget *>(watched)->isEnabled())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
        emit smallStep(+1);
        return true;
    case Qt::Key_Down:
        emit smallStep(-1);
        return true;
    case Qt::Key_PageUp:
        emit bigStep();
        return true;
    default:
        return false;
    }
}

} // namespace nerubato
