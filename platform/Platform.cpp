#include "Platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QWidget>
#include <windows.h>
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

} // namespace nerubato
