#pragma once

#include <QFileInfo>

// How this system's file system tells names apart, shows them and lets a
// folder be entered.
namespace nerubato {

// Windows' names ignore case; elsewhere they do not.
extern const Qt::CaseSensitivity kPathCase;
// Windows shows a folder's name in lower case (the file chooser does as it
// always has); elsewhere a name keeps its case, or it would name another.
extern const bool kFoldersInLowerCase;
// Whether a folder can be listed and entered: on Windows reading is enough;
// elsewhere it takes the search right as well.
bool canEnter(const QFileInfo &folder);

} // namespace nerubato
