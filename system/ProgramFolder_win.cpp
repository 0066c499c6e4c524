#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace nerubato {

QString programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return QFileInfo(QDir::fromNativeSeparators(QString::fromStdWString(path))).absolutePath();
}

} // namespace nerubato
