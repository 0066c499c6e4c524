#pragma once

#include <QTimer>
#include <QWidget>

namespace nerubato {

// A pair of arrows beside a read-only field. A left press on an arrow reports
// that arrow at once and again at the auto-repeat rate while the button stays
// down on it; every press reports its mouse button. The widget keeps no value
// and takes no keyboard focus.
class Stepper : public QWidget
{
    Q_OBJECT

public:
    enum Arrow { Next, Previous }; // upper, lower

    static constexpr int kRepeatDelay = 300;
    static constexpr int kRepeatInterval = 100;

    explicit Stepper(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {16, 20}; }
    bool isRepeating() const { return m_repeat.isActive(); }

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
    void repeat();

    Held m_held = None;
    bool m_overHeldArrow = false;
    QTimer m_repeat;
};

} // namespace nerubato
