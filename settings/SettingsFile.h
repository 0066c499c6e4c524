#pragma once

#include "ScheduleSettings.h"

#include <QString>

namespace nerubato {

// Splits bytes into lines: CR, LF or CR LF ends a line, a last line without an
// end is a line, and a NUL byte ends the text.
Lines splitLines(const QByteArray &bytes);
// Every line followed by CR LF.
QByteArray joinLines(const Lines &lines);

enum class Sharing { Read, None };

// Reads a whole file; throws FileOpenError. Sharing::None opens it only when no
// other process holds it open (on Windows; elsewhere it is a plain read).
Lines loadLines(const QString &fileName, Sharing sharing = Sharing::Read);
// Replaces fileName atomically (temporary file in the same directory, flushed,
// synced, renamed over the target). On any failure the old file stays whole,
// no temporary file is left, and FileCreateError is thrown.
void saveLines(const QString &fileName, const Lines &lines);
// The target held open by another process is retried for this long (ms).
#ifdef Q_OS_WIN
inline constexpr int kReplaceRetry = 2000;
#else
inline constexpr int kReplaceRetry = 0;
#endif
void saveBytes(const QString &fileName, const QByteArray &bytes);

} // namespace nerubato
