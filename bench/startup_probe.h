#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Ends the event loop once a top-level window is shown and exposed and the
// loop has nothing left to do: the moment a user could start clicking.
inline void quitWhenShownAndIdle()
{
    auto *probe = new QTimer(qApp);
    probe->setInterval(0);
    QObject::connect(probe, &QTimer::timeout, [probe] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed()) {
                probe->stop();
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                return;
            }
        }
    });
    probe->start();
}
