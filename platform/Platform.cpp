#include "Platform.h"

#include "settings/SettingsFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QWidget>
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#endif

namespace nerubato {

void Platform::messageBeep()
{
#ifdef Q_OS_WIN
    MessageBeep(0);
#else
    QApplication::beep();
#endif
}

void Platform::shellLaunch(QWidget *owner, const QString &file, const QString &parameters,
                           const QString &directory, int showCommand)
{
#ifdef Q_OS_WIN
    HWND hwnd = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
    ShellExecuteW(hwnd, nullptr, reinterpret_cast<LPCWSTR>(file.utf16()),
                  reinterpret_cast<LPCWSTR>(parameters.utf16()),
                  directory.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(directory.utf16()),
                  showCommand);
#else
    Q_UNUSED(owner);
    Q_UNUSED(showCommand);
    const QString dir = directory.isEmpty() ? QDir::currentPath() : directory;
    const QFileInfo info(QDir(dir), file);
    if (!info.exists())
        return;
    if (info.isExecutable() && info.isFile()) {
        QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(parameters), dir);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
#endif
}

QStringList Platform::drives()
{
#ifdef Q_OS_WIN
    // As the drive box shows them: "c:\".
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots << QDir::toNativeSeparators(drive.absoluteFilePath()).toLower();
    return roots;
#else
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    return roots;
#endif
}

Platform::Listing Platform::listDirectory(const QString &path, Entries entries,
                                          const std::function<bool()> &dropped,
                                          QStringList &names)
{
    constexpr int kCheckEvery = 1024;
#ifdef Q_OS_WIN
    // Hidden and system files are told by their attributes, which Qt's
    // iterator looks at for hidden files only; one pass reads both. The long
    // form reaches directories past 260 characters.
    QString pattern = longPathForm(path);
    if (!pattern.endsWith(u'\\'))
        pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW entry;
    const HANDLE find =
        FindFirstFileExW(reinterpret_cast<LPCWSTR>(pattern.utf16()), FindExInfoBasic, &entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND: // a drive's root with nothing in it
            return Listing::Read;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
            return Listing::Gone;
        default:
            return Listing::Unreadable;
        }
    }
    const bool wantDirs = entries == Entries::Directories;
    do {
        const DWORD attributes = entry.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        if (bool(attributes & FILE_ATTRIBUTE_DIRECTORY) != wantDirs)
            continue;
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (name == u"." || name == u"..")
            continue;
        names << name;
        if (names.size() % kCheckEvery == 0 && dropped())
            break;
    } while (FindNextFileW(find, &entry));
    FindClose(find);
#else
    // QDirIterator says nothing of a directory it cannot open.
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (dir == nullptr)
        return errno == ENOENT || errno == ENOTDIR ? Listing::Gone : Listing::Unreadable;
    ::closedir(dir);
    QDirIterator iterator(path, (entries == Entries::Directories ? QDir::Dirs : QDir::Files) |
                                    QDir::NoDotAndDotDot);
    while (iterator.hasNext()) {
        iterator.next();
        names << iterator.fileName();
        if (names.size() % kCheckEvery == 0 && dropped())
            break;
    }
#endif
    return Listing::Read;
}

} // namespace nerubato
