#pragma once

#include <QString>

#include <functional>

class QSaveFile;

// The file work that differs by system, under the settings' file layer.
namespace nerubato {

// The form in which Windows takes a path of any length, absolute:
// "\\?\C:\..." or "\\?\UNC\server\share\..."; elsewhere the absolute path.
QString longPathForm(const QString &path);

// Feeds the file to take() a piece at a time until take() has had enough,
// the file opened without sharing: on Windows only while no other process
// holds it open, a refusal for sharing being tried again for shareRetryMs (a
// virus scanner looks at a file just after it is closed); elsewhere a plain
// read. False when it cannot be opened or read.
bool readUnshared(const QString &fileName, int shareRetryMs,
                  const std::function<bool(const char *data, qsizetype size)> &take);

// QSaveFile::commit() syncs the temporary file but does not look at the
// result, and a failed sync can mean the data never reaches the disk: it must
// not then replace the old file.
bool syncToDisk(QSaveFile &file);

// After a replace failed: whether another process holding the target open
// blocked it, which waiting mends. Windows says "access denied" for that, and
// for a target that is read-only or a directory too, which it does not; a
// rename elsewhere is never blocked so.
bool replaceWasBlocked(const QString &fileName);

// How long a blocked replace is tried again (ms): nothing blocks one but on Windows.
extern const int kReplaceRetry;

} // namespace nerubato
