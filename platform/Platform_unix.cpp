#include "Platform.h"

#include "system/CommandLine.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace nerubato {

void Platform::messageBeep()
{
    QApplication::beep();
}

void Platform::shellLaunch(QWidget *, const QString &file, const QString &parameters,
                           const QString &directory, int)
{
    const QString dir = directory.isEmpty() ? QDir::currentPath() : directory;
    const QFileInfo info(QDir(dir), file);
    if (!info.exists())
        return;
    if (info.isExecutable() && info.isFile()) {
        QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(parameters), dir);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QStringList Platform::drives()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    return roots;
}

Platform::Listing Platform::listDirectory(const QString &path, Entries entries,
                                          const std::function<bool()> &dropped,
                                          QStringList &names)
{
    constexpr int kCheckEvery = 1024;
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
    return Listing::Read;
}

namespace {

class ChildProgram : public Platform::Program
{
public:
    explicit ChildProgram(pid_t pid) : m_pid(pid) {}
    bool hasEnded() override
    {
        if (m_ended)
            return true;
        int status = 0;
        const pid_t got = ::waitpid(m_pid, &status, WNOHANG);
        m_ended = got == m_pid || (got < 0 && errno == ECHILD);
        // A signal's end as a shell tells it: 128 and the signal.
        if (got == m_pid)
            m_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return m_ended;
    }
    std::optional<int> exitCode() const override { return m_code; }

private:
    pid_t m_pid;
    bool m_ended = false;
    std::optional<int> m_code;
};

} // namespace

Platform::Started Platform::startProgram(const QString &given, const QString &arguments)
{
    const QString path = QString(given).replace(u'\\', u'/');
    const bool bare = !path.contains(u'/') && !path.contains(u'\\') && !path.contains(u':');
    const QString directory = bare ? QString() : QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    // A bare name is looked up as the shell would, on the PATH.
    QString program = path;
    if (bare) {
        program = QStandardPaths::findExecutable(path);
        if (program.isEmpty())
            program = path;
    }
    const QFileInfo info(QDir::current(), program);
    if (!info.exists())
        return {nullptr, QStringLiteral("ファイルが見つかりません")};
    if (!info.isFile() || !info.isExecutable()) {
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())))
            return {handedOver(), {}};
        return {nullptr, QStringLiteral("このファイルを開くプログラムがありません")};
    }
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    QList<QByteArray> args{file};
    for (const QString &arg : splitArguments(arguments))
        args << arg.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray dir = QFile::encodeName(directory);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, dir.constData());
    pid_t pid = 0;
    const int error = posix_spawn(&pid, file.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return {nullptr, QString::fromLocal8Bit(std::strerror(error))};
    return {std::make_unique<ChildProgram>(pid), {}};
}

void Platform::showNormally(QWidget *window, bool activate)
{
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->showNormal();
}

bool Platform::canEndSession() const
{
    return false;
}

Platform::SessionEnd Platform::endSession(bool)
{
    return SessionEnd::Skipped;
}

} // namespace nerubato
