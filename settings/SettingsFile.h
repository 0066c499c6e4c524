#pragma once

#include "ScheduleSettings.h"

#include <QDir>
#include <QString>

namespace nerubato {

// Splits bytes into lines: CR, LF or CR LF ends a line, a last line without an
// end is a line, and a NUL byte ends the text.
Lines splitLines(const QByteArray &bytes);
// Every line followed by CR LF.
QByteArray joinLines(const Lines &lines);

// Every file is named within a folder; the errors name it as the user knows
// it, without the folder.

// True for a file of that name; a folder that bears it is no such file.
bool fileExists(const QDir &folder, const QString &name);

// Reads a whole file; throws FileOpenError.
Lines loadLines(const QDir &folder, const QString &name);

// Reads a file's first `count` lines and no more of it than they take, nor
// more than kMaxHeadBytes: a file of any size costs what its head does. The
// file is opened without sharing: on Windows only while no other process
// holds it open, a refusal for sharing being tried again for kShareRetry ms
// (a virus scanner looks at a file just after it is closed); elsewhere it is
// a plain read. Throws FileOpenError.
Lines loadFirstLines(const QDir &folder, const QString &name, int count);
inline constexpr qsizetype kMaxHeadBytes = qsizetype(1) << 20;
inline constexpr int kShareRetry = 1000;
// Replaces fileName atomically (temporary file in the same directory, flushed,
// synced, renamed over the target). On any failure the old file stays whole,
// no temporary file is left, and FileCreateError is thrown.
void saveLines(const QDir &folder, const QString &name, const Lines &lines);
// A replace that another process blocks (the target held open) is tried
// again for kReplaceRetry ms (system/Files.h); any other failure is reported
// at once.
void saveBytes(const QDir &folder, const QString &name, const QByteArray &bytes);

} // namespace nerubato
