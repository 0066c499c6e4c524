// The file layer loses nothing: a save that fails at any file-system call, a
// process killed at a random moment while saving and registering, a full disk and
// an unwritable target all leave the previous file whole, say so with the user's
// message, and leave no temporary file behind.
//
// NERUBATO_LONG=1 runs the kill loop 1,000 times instead of a few dozen.

#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "testcore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nerubato;

namespace {

const QString kSlot = QStringLiteral("hozondt1.dat");
const QString kRegistration = QStringLiteral("kidodata.dat");

// Two schedules of different lengths, so that a file holding part of one or a
// mix of both cannot pass for either.
QByteArray scheduleA()
{
    return joinLines(settingsToLines(ScheduleSettings{}));
}

QByteArray scheduleB()
{
    ScheduleSettings s = test::changedRecord();
    s.sw_Args[1] = QByteArray(1500, 'x'); // a longer file than the default
    return joinLines(settingsToLines(s));
}

QString createErrorText(const QString &fileName)
{
    return QStringLiteral("ﾌｧｲﾙ %1 を作成できません").arg(fileName);
}

QStringList entries(const QString &dir)
{
    QStringList names =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct SaveRun
{
    int exitCode = -1;
    bool crashed = false;
    QString output;
};

// Saves bytes to fileName in dir in a child process, so that it can carry the
// fault library or limits of its own.
SaveRun runSave(const QString &dir, const QString &fileName, const QByteArray &bytes,
                const QStringList &options = {},
                const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    p.start(QStringLiteral(NERUBATO_SAVETOOL), options + QStringList{"save", fileName});
    SaveRun run;
    if (!p.waitForStarted(10000))
        return run;
    p.write(bytes);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.crashed = p.exitStatus() != QProcess::NormalExit;
    run.exitCode = p.exitCode();
    run.output = QString::fromUtf8(p.readAllStandardOutput());
    return run;
}

// The environment of a save whose calls the fault library fails.
QProcessEnvironment faultEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", QStringLiteral(NERUBATO_FAULTSHIM));
    // A sanitizer runtime wants to be first in the list; the library does
    // not need it and does not carry it.
    env.insert("ASAN_OPTIONS",
               env.value("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
    return env;
}

QString describe(const SaveRun &run)
{
    return QStringLiteral("exit %1%2, output \"%3\"")
        .arg(run.exitCode)
        .arg(run.crashed ? QStringLiteral(" (crashed)") : QString())
        .arg(run.output);
}

// One line of the fault library's log.
struct Call
{
    int number = 0;
    QString kind;
    QString what;
    bool failed = false;
};

QList<Call> readCallLog(const QString &path)
{
    QList<Call> calls;
    const auto lines = readFile(path).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 4)
            continue;
        Call c;
        c.number = f.first().toInt();
        c.kind = QString::fromUtf8(f[1]);
        c.what = QString::fromUtf8(f.mid(2, f.size() - 3).join(' '));
        c.failed = f.last() == "fail";
        calls << c;
    }
    return calls;
}

// A save that reports success must have written every byte and synced the file
// after its last write and before the rename that put it in place.
bool syncedBeforeCommit(const QList<Call> &calls)
{
    int lastWrite = -1;
    int lastCommit = -1;
    for (int i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == QLatin1String("write")) {
            if (calls[i].failed)
                return false;
            lastWrite = i;
        }
        if (calls[i].kind == QLatin1String("rename") && !calls[i].failed)
            lastCommit = i;
    }
    for (int i = lastWrite + 1; i < lastCommit; ++i)
        if (calls[i].kind == QLatin1String("sync") && !calls[i].failed)
            return true;
    return false;
}

// A small tmpfs of our own; unmounted when it goes out of scope.
class SmallDisk
{
public:
    explicit SmallDisk(const QByteArray &options)
    {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary directory");
            return;
        }
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
        else
            m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    bool remount(unsigned long flags)
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                       MS_REMOUNT | flags, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_error;
};

// Writes into path until the file system refuses; true when it did refuse.
bool fillUp(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    for (int i = 0; i < 1 << 16; ++i)
        if (f.write(block) != block.size())
            return true;
    return false;
}

constexpr uid_t kNobody = 65534;

} // namespace

class TestFileSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failedCall_data();
    void failedCall();
    void killedWhileSaving();
    void fullDisk_data();
    void fullDisk();
    void unwritableTarget_data();
    void unwritableTarget();
};

void TestFileSafety::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(NERUBATO_SAVETOOL)), NERUBATO_SAVETOOL);
    QVERIFY2(QFile::exists(QStringLiteral(NERUBATO_FAULTSHIM)), NERUBATO_FAULTSHIM);
    QVERIFY(scheduleA() != scheduleB());
    QCOMPARE(splitLines(scheduleB()).size(), 49);
    // With a mount namespace of our own, a tmpfs of a test that dies half-way
    // disappears with the process instead of staying mounted.
    const bool ownMounts = ::unshare(CLONE_NEWNS) == 0 &&
                           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    qInfo("tmpfs mounts in a namespace of our own: %s", ownMounts ? "yes" : "no");
}

void TestFileSafety::failedCall_data()
{
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<bool>("everyLaterCall");
    QTest::addColumn<QString>("error");

    QTest::newRow("old file, one call fails (EIO)") << true << false << "EIO";
    QTest::newRow("old file, the Nth and every later call fail (EIO)") << true << true << "EIO";
    QTest::newRow("old file, one call fails (ENOSPC)") << true << false << "ENOSPC";
    QTest::newRow("old file, the Nth and every later call fail (ENOSPC)")
        << true << true << "ENOSPC";
    QTest::newRow("no file yet, one call fails") << false << false << "EIO";
    QTest::newRow("no file yet, the Nth and every later call fail") << false << true << "EIO";
}

// N = 1, 2, ... until the save runs past the last call it makes.
void TestFileSafety::failedCall()
{
    QFETCH(bool, oldFile);
    QFETCH(bool, everyLaterCall);
    QFETCH(QString, error);

    const QByteArray oldBytes = scheduleA();
    const QByteArray newBytes = scheduleB();
    QSet<QString> failedKinds;
    int n = 1;
    for (;; ++n) {
        QVERIFY2(n <= 100, "the save never ran past the injected failures");
        QTemporaryDir dir;
        QTemporaryDir logDir;
        QVERIFY(dir.isValid() && logDir.isValid());
        if (oldFile)
            QVERIFY(writeFile(dir.filePath(kSlot), oldBytes));
        const QStringList before = entries(dir.path());
        const QString logPath = logDir.filePath(QStringLiteral("calls.log"));

        QProcessEnvironment env = faultEnvironment();
        env.insert("NERUBATO_FAULT_AT", QString::number(n));
        env.insert("NERUBATO_FAULT_MODE", everyLaterCall ? "after" : "once");
        env.insert("NERUBATO_FAULT_ERRNO", error);
        env.insert("NERUBATO_FAULT_LOG", logPath);

        const SaveRun run = runSave(dir.path(), kSlot, newBytes, {}, env);
        const QList<Call> calls = readCallLog(logPath);
        QString trace;
        for (const Call &c : calls)
            trace += QStringLiteral("\n  %1 %2 %3 %4")
                         .arg(c.number)
                         .arg(c.kind, c.what, c.failed ? "FAIL" : "ok");
        const QString context =
            QStringLiteral("N = %1: %2; calls:%3").arg(n).arg(describe(run), trace);
        QVERIFY2(!run.crashed && (run.exitCode == 0 || run.exitCode == 3), qPrintable(context));
        QVERIFY2(!calls.isEmpty(), "the fault library saw no call: is it preloaded?");

        const bool injected =
            std::any_of(calls.begin(), calls.end(), [](const Call &c) { return c.failed; });
        for (const Call &c : calls)
            if (c.failed)
                failedKinds << c.kind;

        if (run.exitCode == 0) {
            QVERIFY2(readFile(dir.filePath(kSlot)) == newBytes,
                     qPrintable("saved, yet not the new content; " + context));
            QVERIFY2(syncedBeforeCommit(calls),
                     qPrintable("saved without a successful write and sync; " + context));
            QVERIFY2(entries(dir.path()) == QStringList{kSlot},
                     qPrintable("left " + entries(dir.path()).join(", ") + "; " + context));
        } else {
            QVERIFY2(injected, qPrintable("failed with no call failing; " + context));
            QVERIFY2(run.output == createErrorText(kSlot), qPrintable(context));
            if (oldFile)
                QVERIFY2(readFile(dir.filePath(kSlot)) == oldBytes,
                         qPrintable("old file damaged; " + context));
            QVERIFY2(entries(dir.path()) == before,
                     qPrintable("left " + entries(dir.path()).join(", ") + "; " + context));
        }
        if (!injected)
            break; // the save made fewer than N calls: every call has had its turn
    }
    qInfo("failed at N = 1..%d (calls of kinds %s); with N = %d the save ran undisturbed", n - 1,
          qPrintable(QStringList(failedKinds.begin(), failedKinds.end()).join(",")), n);
    // Proof that the library really reached each kind of call the save makes.
    for (const char *kind : {"open", "write", "sync", "rename"})
        QVERIFY2(failedKinds.contains(QLatin1String(kind)), kind);
}

// Saves and registers forever in a child, killed at random moments: after every
// kill each file is whole and one of the two schedules.
void TestFileSafety::killedWhileSaving()
{
    const int kills = qEnvironmentVariableIntValue("NERUBATO_LONG") ? 1000 : 40;
    // A save here takes a few milliseconds; the window spans many of them so the
    // kill falls anywhere in a save, between the two files, or between rounds.
    constexpr int kMaxDelayUs = 25000;

    const QByteArray a = scheduleA();
    const QByteArray b = scheduleB();
    QTemporaryDir work;
    QTemporaryDir sources;
    QVERIFY(work.isValid() && sources.isValid());
    const QString sourceA = sources.filePath("a.dat");
    const QString sourceB = sources.filePath("b.dat");
    QVERIFY(writeFile(sourceA, a) && writeFile(sourceB, b));
    QVERIFY(writeFile(work.filePath(kSlot), a) && writeFile(work.filePath(kRegistration), a));

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    // What a temporary file of ours looks like: the target's name and six characters.
    const QRegularExpression temporary(
        QStringLiteral("^(%1|%2)\\.[A-Za-z0-9]{6}$")
            .arg(QRegularExpression::escape(kSlot), QRegularExpression::escape(kRegistration)));
    int slotB = 0;
    int registrationB = 0;
    int differ = 0;
    int leftovers = 0;
    for (int k = 1; k <= kills; ++k) {
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(QStringLiteral(NERUBATO_SAVETOOL),
                {"loop", random.bounded(2) ? "1" : "0", sourceA, sourceB});
        QVERIFY2(p.waitForReadyRead(10000), qPrintable(p.readAllStandardError()));
        QCOMPARE(p.readLine().trimmed(), QByteArray("ready"));
        ::usleep(random.bounded(kMaxDelayUs));
        QVERIFY2(p.state() == QProcess::Running,
                 qPrintable("the save loop stopped by itself: " + p.readAllStandardOutput()));
        ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
        QVERIFY(p.waitForFinished(10000));

        const QString context = QStringLiteral("kill %1 (seed %2)").arg(k).arg(seed);
        const QByteArray slot = readFile(work.filePath(kSlot));
        const QByteArray registration = readFile(work.filePath(kRegistration));
        QVERIFY2(slot == a || slot == b, qPrintable(context + ": slot file torn or missing"));
        QVERIFY2(registration == a || registration == b,
                 qPrintable(context + ": registration file torn or missing"));
        slotB += slot == b;
        registrationB += registration == b;
        differ += slot != registration;

        // A kill between linking the finished temporary file and renaming it over
        // the target leaves that file. It is whole, and by its name it is never
        // taken for a settings file.
        for (const QString &name : entries(work.path())) {
            if (name == kSlot || name == kRegistration)
                continue;
            QVERIFY2(temporary.match(name).hasMatch(),
                     qPrintable(context + ": unexpected file " + name));
            const QByteArray left = readFile(work.filePath(name));
            QVERIFY2(left == a || left == b, qPrintable(context + ": torn temporary " + name));
            QVERIFY(QFile::remove(work.filePath(name)));
            ++leftovers;
        }
    }
    qInfo("%d kills (seed %u): slot held B %d times, registration held B %d times, the two "
          "differed %d times, %d whole temporary files left by a kill",
          kills, seed, slotB, registrationB, differ, leftovers);
    // Both schedules were seen: the kills fell after saves had completed, not only
    // during start-up.
    QVERIFY(slotB > 0 && slotB < kills);
}

void TestFileSafety::fullDisk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tmpfs out of blocks") << "blocks";
    QTest::newRow("tmpfs out of inodes") << "inodes";
    QTest::newRow("file size limit") << "fsize";
    QTest::newRow("disk full found only by the sync") << "sync";
}

void TestFileSafety::fullDisk()
{
    QFETCH(QString, how);
    const QByteArray oldBytes = scheduleA();
    const QByteArray newBytes = scheduleB();

    if (how == QLatin1String("fsize")) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(kSlot), oldBytes));
        const QString limit = QString::number(newBytes.size() / 2);
        const SaveRun run = runSave(dir.path(), kSlot, newBytes, {"--fsize-limit", limit});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, createErrorText(kSlot));
        QCOMPARE(readFile(dir.filePath(kSlot)), oldBytes);
        QCOMPARE(entries(dir.path()), QStringList{kSlot});
        // Without the limit the same save goes through.
        QCOMPARE(describe(runSave(dir.path(), kSlot, newBytes)), describe(SaveRun{0, false, {}}));
        QCOMPARE(readFile(dir.filePath(kSlot)), newBytes);
        return;
    }

    if (how == QLatin1String("sync")) {
        // Space taken only as the data goes out (delayed allocation, a share, a
        // thin disk): every write passes and the sync says ENOSPC, once, as
        // Linux reports a lost write; a later sync of the same file succeeds
        // although the data is gone.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(kSlot), oldBytes));
        QProcessEnvironment env = faultEnvironment();
        env.insert("NERUBATO_FAULT_KINDS", "sync");
        env.insert("NERUBATO_FAULT_AT", "1");
        env.insert("NERUBATO_FAULT_MODE", "once");
        env.insert("NERUBATO_FAULT_ERRNO", "ENOSPC");
        const SaveRun run = runSave(dir.path(), kSlot, newBytes, {}, env);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, createErrorText(kSlot));
        QCOMPARE(readFile(dir.filePath(kSlot)), oldBytes);
        QCOMPARE(entries(dir.path()), QStringList{kSlot});
        // With the library but no fault the same save goes through.
        env.insert("NERUBATO_FAULT_AT", "0");
        QCOMPARE(describe(runSave(dir.path(), kSlot, newBytes, {}, env)),
                 describe(SaveRun{0, false, {}}));
        QCOMPARE(readFile(dir.filePath(kSlot)), newBytes);
        return;
    }

    const bool inodes = how == QLatin1String("inodes");
    // Root directory, the old file and one filler: nothing is left for a new file.
    SmallDisk disk(inodes ? "size=64k,nr_inodes=3" : "size=64k");
    if (!disk.mounted())
        QSKIP(qPrintable("cannot mount a tmpfs here (" + disk.error() +
                         "); the file size limit row covers a full disk"));
    const QDir dir(disk.path());
    QVERIFY(writeFile(dir.filePath(kSlot), oldBytes));
    const QString filler = dir.filePath(".filler");
    if (inodes)
        QVERIFY(writeFile(filler, {}) && !writeFile(dir.filePath(".one-more"), {}));
    else
        QVERIFY2(fillUp(filler), "the tmpfs did not fill up");
    const QStringList before = entries(dir.path());

    const SaveRun run = runSave(dir.path(), kSlot, newBytes);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.output, createErrorText(kSlot));
    QCOMPARE(readFile(dir.filePath(kSlot)), oldBytes);
    QCOMPARE(entries(dir.path()), before);

    // Room again: the same save goes through, so it was the disk that refused.
    QVERIFY(QFile::remove(filler));
    QCOMPARE(describe(runSave(dir.path(), kSlot, newBytes)), describe(SaveRun{0, false, {}}));
    QCOMPARE(readFile(dir.filePath(kSlot)), newBytes);
    QCOMPARE(entries(dir.path()), QStringList{kSlot});
}

void TestFileSafety::unwritableTarget_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("read-only directory") << "mode";
    QTest::newRow("read-only file system") << "ro";
    QTest::newRow("slot name taken by a directory") << "dir";
}

void TestFileSafety::unwritableTarget()
{
    QFETCH(QString, how);
    const QByteArray oldBytes = scheduleA();
    const QByteArray newBytes = scheduleB();

    if (how == QLatin1String("dir")) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(kSlot));
        const QString inside = dir.filePath(kSlot + "/keep.txt");
        QVERIFY(writeFile(inside, oldBytes));
        const SaveRun run = runSave(dir.path(), kSlot, newBytes);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, createErrorText(kSlot));
        QVERIFY(QFileInfo(dir.filePath(kSlot)).isDir());
        QCOMPARE(readFile(inside), oldBytes);
        QCOMPARE(entries(dir.path()), QStringList{kSlot});
        // The registration next to it is still written.
        QCOMPARE(describe(runSave(dir.path(), kRegistration, newBytes)),
                 describe(SaveRun{0, false, {}}));
        QCOMPARE(readFile(dir.filePath(kRegistration)), newBytes);
        return;
    }

    if (how == QLatin1String("ro")) {
        SmallDisk disk("size=64k");
        if (!disk.mounted())
            QSKIP(qPrintable("cannot mount a tmpfs here (" + disk.error() + ")"));
        QVERIFY(writeFile(QDir(disk.path()).filePath(kSlot), oldBytes));
        QVERIFY(disk.remount(MS_RDONLY));
        const SaveRun run = runSave(disk.path(), kSlot, newBytes);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, createErrorText(kSlot));
        QCOMPARE(readFile(QDir(disk.path()).filePath(kSlot)), oldBytes);
        QCOMPARE(entries(disk.path()), QStringList{kSlot});
        QVERIFY(disk.remount(0));
        QCOMPARE(describe(runSave(disk.path(), kSlot, newBytes)), describe(SaveRun{0, false, {}}));
        QCOMPARE(readFile(QDir(disk.path()).filePath(kSlot)), newBytes);
        return;
    }

    // Root passes every permission check: the save then runs as nobody, in a
    // directory and on a file that nobody owns, so that only the directory's mode
    // stands in the way.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(kSlot), oldBytes));
    QStringList options;
    const QByteArray path = QFile::encodeName(dir.path());
    if (::geteuid() == 0) {
        options << "--as-nobody";
        QVERIFY(::chown(path.constData(), kNobody, kNobody) == 0);
        QVERIFY(::chown(QFile::encodeName(dir.filePath(kSlot)).constData(), kNobody, kNobody) == 0);
    }
    QVERIFY(::chmod(path.constData(), 0555) == 0);
    const SaveRun run = runSave(dir.path(), kSlot, newBytes, options);
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.output, createErrorText(kSlot));
    QCOMPARE(readFile(dir.filePath(kSlot)), oldBytes);
    QCOMPARE(entries(dir.path()), QStringList{kSlot});
    // Writable again: the same save by the same user goes through.
    QVERIFY(::chmod(path.constData(), 0755) == 0);
    QCOMPARE(describe(runSave(dir.path(), kSlot, newBytes, options)),
             describe(SaveRun{0, false, {}}));
    QCOMPARE(readFile(dir.filePath(kSlot)), newBytes);
    QVERIFY(::chmod(path.constData(), 0700) == 0);
}

QTEST_GUILESS_MAIN(TestFileSafety)
#include "tst_filesafety.moc"
