#include "FileNames.h"

namespace nerubato {

const Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
const bool kFoldersInLowerCase = false;

bool canEnter(const QFileInfo &folder)
{
    return folder.isDir() && folder.isReadable() && folder.isExecutable();
}

} // namespace nerubato
