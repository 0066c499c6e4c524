#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// What an edit field does with text that reaches it, whichever way it came.
namespace nerubato::fieldtext {

// A line break or a NUL would end the field's line in the settings file.
bool hasLineBreak(QStringView text);

// The field showed `before` and is to show `after`: what it takes is `after`
// with the text that came in cut at its first line break or NUL, as a
// single-line edit on Windows pastes. cursor, if given, is set to the end of
// what came in.
QString withoutLineBreaks(QStringView before, const QString &after, qsizetype *cursor = nullptr);

// The bytes of a field that was loaded with `bytes` (shown as `shown`) and now
// shows `text`: what is left of the loaded text keeps its very bytes, and only
// what is new is encoded; nothing when something new has no CP932 code.
std::optional<QByteArray> bytesFor(const QByteArray &bytes, const QString &shown,
                                   const QString &text);

} // namespace nerubato::fieldtext
