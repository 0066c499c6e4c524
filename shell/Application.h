#pragma once

#include "platform/Platform.h"

#include <QApplication>

namespace nerubato {

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    // Creates the four windows, shows the main one and runs until it closes.
    int run();

    // Last resort for an error that escapes outside a guarded handler.
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Platform m_platform;
};

} // namespace nerubato
