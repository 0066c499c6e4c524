#pragma once

#include <QString>
#include <QStringList>

#include <exception>

namespace nerubato {

class Platform;

inline const QString kApplicationTitle = QStringLiteral("ネルバト");

enum class MessageType { Warning, Error, Information, Confirmation };

// Above every other window: for a question asked from the background while the
// programs it started hold the screen.
enum class MessageLayer { Normal, OnTop };

enum MessageButton {
    Yes = 0x1,
    No = 0x2,
    Ok = 0x4,
    Cancel = 0x8,
};

// The standard message dialog: beep, then a modal box centred on the screen,
// captioned and iconed by type, lines joined by CR LF and shown as plain text,
// the offered buttons in the order Yes, No, OK, Cancel. The default button is
// OK if offered, else Yes, unless one is named. Returns the button pressed;
// the close box answers Cancel.
MessageButton showMessage(Platform &platform, MessageType type, const QStringList &lines,
                          int buttons, int defaultButton = 0,
                          MessageLayer layer = MessageLayer::Normal);

// The application's general error box: the error's text followed by ".".
void showErrorBox(Platform &platform, const QString &text);

// The user-facing text of an error.
QString describe(const std::exception &e);

} // namespace nerubato
