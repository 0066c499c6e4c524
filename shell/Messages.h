#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <utility>

class QWidget;

namespace nerubato {

class Platform;

inline const QString kApplicationTitle = QStringLiteral("ネルバト");

enum class MessageType { Warning, Error, Information, Confirmation };

enum MessageButton {
    Yes = 0x1,
    No = 0x2,
    Ok = 0x4,
    Cancel = 0x8,
};

// The standard message dialog: beep, then a modal box centred on the screen,
// captioned and iconed by type, lines joined by CR LF, the offered buttons in
// the order Yes, No, OK, Cancel. Returns the button pressed; the close box
// answers Cancel.
MessageButton showMessage(Platform &platform, MessageType type, const QStringList &lines,
                          int buttons);

// The application's general error box: the error's text followed by ".".
void showErrorBox(Platform &platform, const QString &text);

// The user-facing text of an error.
QString describe(const std::exception &e);

// Runs a handler; an error that escapes it goes to the general error box and
// the program goes on.
template <typename Handler> void guarded(Platform &platform, Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &e) {
        showErrorBox(platform, describe(e));
    }
}

// Places a window in the middle of the screen, as every window first shows.
void centreOnScreen(QWidget *window);

// A slot that runs a window's handler through guarded().
template <typename Window>
auto guardedSlot(Platform &platform, Window *window, void (Window::*handler)())
{
    return [&platform, window, handler] { guarded(platform, [&] { (window->*handler)(); }); };
}

// Installs the look every window relies on: the design font mapped to an
// installed Japanese font, the dialog button order.
void installLook();

} // namespace nerubato
