#include "ProgramFolder.h"

#include <QFileInfo>

namespace nerubato {

QString programFolder()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())
        .absolutePath();
}

} // namespace nerubato
