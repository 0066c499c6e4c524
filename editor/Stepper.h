#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLineEdit;

namespace nerubato {

// A pair of arrows beside a read-only field. A left press on an arrow reports
// that arrow at once and again at the auto-repeat rate while the button stays
// down on it; every press reports its mouse button. The widget keeps no value
// and takes no keyboard focus. To an assistive technology it is a spin button
// whose value is its field's text, with increase and decrease actions that
// report the upper and the lower arrow.
class Stepper : public QWidget
{
    Q_OBJECT

public:
    enum Arrow { Next, Previous }; // upper, lower

    static constexpr int kRepeatDelay = 300;
    static constexpr int kRepeatInterval = 100;

    explicit Stepper(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {16, 20}; }

    // The field it steps, for what an assistive technology reads as its value.
    void setField(QLineEdit *field);
    QLineEdit *field() const;
    // An assistive technology's increase or decrease: the arrow's report.
    void reportArrow(Arrow arrow);

signals:
    void arrowClicked(nerubato::Stepper::Arrow arrow);
    void mousePressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    enum Held { None, HeldNext, HeldPrevious };

    Arrow arrowAt(const QPoint &pos) const;
    QRect arrowRect(Arrow arrow) const;
    void stopRepeat();
    // The auto-repeat timer's handler: the held arrow again, while the
    // pointer is on it; from the first repeat on, at the repeat rate.
    void repeatTick();

    Held m_held = None;
    bool m_overHeldArrow = false;
    // The stepper's only timer, and its child: a test holds an arrow down and
    // ticks it by its own signal rather than wait for it.
    QTimer m_repeat{this};
    QPointer<QLineEdit> m_field;
};

// On a stepped field with the keyboard focus, the keys step it as its stepper
// does: Up and Down the small steps of the upper and lower arrow (again for
// each repeat while held), Page Up the big step of the right button.
class StepKeys : public QObject
{
    Q_OBJECT

public:
    explicit StepKeys(QWidget *field);

signals:
    void smallStep(int direction);
    void bigStep();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace nerubato
