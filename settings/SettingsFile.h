#pragma once

#include "ScheduleSettings.h"

#include <QString>

namespace nerubato {

// Splits bytes into lines: CR, LF or CR LF ends a line, a last line without an
// end is a line, and a NUL byte ends the text.
Lines splitLines(const QByteArray &bytes);
// Every line followed by CR LF.
QByteArray joinLines(const Lines &lines);

// Reads a whole file; throws FileOpenError.
Lines loadLines(const QString &fileName);
// Replaces fileName atomically (temporary file in the same directory, flushed,
// synced, renamed over the target). On any failure the old file stays whole,
// no temporary file is left, and FileCreateError is thrown.
void saveLines(const QString &fileName, const Lines &lines);
void saveBytes(const QString &fileName, const QByteArray &bytes);

} // namespace nerubato
