#include "Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace nerubato {

namespace {

class FirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            centreOnScreen(static_cast<QWidget *>(watched));
            deleteLater();
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

void centreOnFirstShow(QWidget *window)
{
    window->installEventFilter(new FirstShow(window));
}

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace nerubato
