#include "testcore.h"

#include "settings/Cp932.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/fsuid.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace nerubato::test {

WorkDir::WorkDir() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

WorkDir::~WorkDir()
{
    QDir::setCurrent(m_previous);
    // A test may have made files read-only; let the removal through.
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void WorkDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(name));
    f.write(bytes);
}

QByteArray WorkDir::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool WorkDir::exists(const QString &name) const
{
    return QFile::exists(file(name));
}

StartDirectoryGone::StartDirectoryGone(const QString &path) : start(path)
{
    QDir::setCurrent(elsewhere.path());
    if (!QDir().rename(start, start + QStringLiteral("-gone")))
        qFatal("cannot rename %s", qPrintable(start));
}

StartDirectoryGone::~StartDirectoryGone()
{
    QDir().rename(start + QStringLiteral("-gone"), start);
}

bool asUnprivilegedUser(const std::function<bool()> &check)
{
#ifdef Q_OS_WIN
    return check();
#else
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(3);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

void makeReadOnly(const QString &dir)
{
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

FileBeyondReach::FileBeyondReach(const WorkDir &dir, const QString &name)
    : m_dir(dir), m_file(dir.file(name))
{
#ifdef Q_OS_WIN
    auto *holder = new QProcess;
    const QString ready = dir.file(QStringLiteral("held.ready"));
    holder->start(helperPath(QStringLiteral("holdfile")),
                  {QDir::toNativeSeparators(m_file), QStringLiteral("60000"),
                   QDir::toNativeSeparators(ready)});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(ready) && waited.elapsed() < 10000)
        QThread::msleep(20);
    if (!QFile::exists(ready))
        qFatal("holdfile did not hold %s", qPrintable(m_file));
    m_release = [holder] {
        holder->kill();
        holder->waitForFinished(10000);
        delete holder;
    };
#else
    QFile::setPermissions(m_file, {});
    makeReadOnly(dir.path());
    if (geteuid() == 0) {
        constexpr uid_t kNobody = 65534;
        setfsuid(kNobody);
        m_release = [] { setfsuid(0); };
    }
#endif
}

FileBeyondReach::~FileBeyondReach()
{
    if (m_release)
        m_release();
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner);
}

bool underWine()
{
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

QString helperPath(const QString &name)
{
#ifdef Q_OS_WIN
    const QString suffix = QStringLiteral(".exe");
#else
    const QString suffix;
#endif
    return QCoreApplication::applicationDirPath() + u'/' + name + suffix;
}

QString installProgram(const WorkDir &dir, const QString &path, const QString &name)
{
    const QString installed = dir.file(name);
    QFile::remove(installed);
    if (!QFile::copy(path, installed))
        qFatal("cannot copy %s", qPrintable(path));
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return installed;
}

void installFakeRunner(const WorkDir &dir)
{
    installProgram(dir, helperPath(QStringLiteral("fake_quorvex")), QStringLiteral("quorvex.exe"));
}

void installRunner(const WorkDir &dir, const QString &folder)
{
    const QDir from(folder);
    for (const QString &name : from.entryList(
             {QStringLiteral("quorvex.exe"), QStringLiteral("quorvexui.*")}, QDir::Files))
        installProgram(dir, from.filePath(name), name);
}

QList<QByteArray> changedLines(const QString &changes)
{
    QList<QByteArray> lines = defaultSettingsFile().split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1); // its CR
    for (const QString &change : changes.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = change.indexOf(u'=');
        if (change.startsWith(u'-'))
            lines.resize(change.mid(1).toInt());
        else
            lines[change.left(eq).toInt() - 1] = cp932::encode(change.mid(eq + 1)).value();
    }
    return lines;
}

QByteArray markerFileBytes()
{
    // このファイルは条件判定処理を行わない場合に作成されるファイルです CR LF
    return QByteArray(
        "\x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x8f\xf0\x8c\x8f\x94\xbb"
        "\x92\xe8\x8f\x88\x97\x9d\x82\xf0\x8d\x73\x82\xed\x82\xc8\x82\xa2\x8f\xea\x8d\x87"
        "\x82\xc9\x8d\xec\x90\xac\x82\xb3\x82\xea\x82\xe9\x83\x74\x83\x40\x83\x43\x83\x8b"
        "\x82\xc5\x82\xb7\r\n");
}

ScheduleSettings changedRecord()
{
    ScheduleSettings s;
    s.kidobi_Flag = true;
    s.kidobi_Date = "02/29";
    s.yobi_Flag = true;
    s.yobi_Days = {true, false, true, false, true, false, true};
    s.kido_Mode = KidoMode::Timer;
    s.kara_Time = "01:02";
    s.made_Time = "03:04";
    s.ikkai_Flag = true;
    s.timer_Time = "05:06";
    s.jikko_Path = {"C:\\APP.EXE", "D:\\TOOLS\\B.EXE", "\x83\x5C\\X.EXE", "rel.bat", "E:F.EXE"};
    s.sw_Args = {"-a", "", "yymmdd", "\x95\x5C", "x y"};
    s.dokuritu_Flag = {true, false, true, true};
    s.jikansa_Min = {"1", "300", "10", "5"};
    s.message_Sec = "900";
    s.kensyutu_Sec = "0";
    s.syuryo_Mode = SyuryoMode::Syuryo2;
    s.syuryo2_Time = "12:00";
    s.syosai_Mode = SyosaiMode::Syosai2;
    s.minimize_Mode = MinimizeMode::NoMinimize;
    s.smallstart_Flag = true;
    s.shutdown_Mode = ShutdownMode::Reboot;
    s.yoyakugo_Flag = true;
    s.yoyakugo_Mode = YoyakugoMode::Siteiymd;
    s.siteiymd_Date = "261207";
    return s;
}

QByteArray defaultSettingsFile()
{
    return "false\r\n01/01\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\nfalse\r\n"
           "true\r\n00:00\r\n23:59\r\n00:00\r\n10\r\n30\r\n"
           "\r\n\r\n\r\n\r\n\r\n"
           "\r\n\r\n\r\n\r\n\r\n"
           "\r\n\r\n\r\n\r\n\r\n"
           "false\r\nfalse\r\nfalse\r\nfalse\r\n"
           "syuryo3\r\n23:59\r\nfalse\r\nfalse\r\nfalse\r\ntrue\r\n"
           "0\r\n0\r\n0\r\n0\r\n"
           "false\r\ntrue\r\nfalse\r\nkidojiymd\r\n970101\r\n";
}

} // namespace nerubato::test
