#include "FileNames.h"

namespace nerubato {

const Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
const bool kFoldersInLowerCase = true;

bool canEnter(const QFileInfo &folder)
{
    return folder.isDir() && folder.isReadable();
}

} // namespace nerubato
