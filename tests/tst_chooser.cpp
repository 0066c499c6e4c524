#include "chooser/DirectoryService.h"
#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/TsForm.h"
#include "chooser/core/PathComposition.h"
#include "testui.h"
#include "ui/Look.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <optional>

using namespace nerubato;

namespace {

// Windows shows directories in lower case, letters A to Z only.
QString lowerOnWindows(QString path)
{
#ifdef Q_OS_WIN
    for (QChar &c : path) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
#endif
    return path;
}

// What parent's rows show.
QStringList rowNames(const QAbstractItemModel *model, const QModelIndex &parent = {})
{
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names << model->index(row, 0, parent).data().toString();
    return names;
}

// 10,008 files, in the order of neither their names nor the list's: enough
// for three batches of rows, the last a part one.
const QStringList kManyStems = {"alpha", "Beta", "delta", "GAMMA"};
constexpr int kManyPerStem = 2502;

void writeManyFiles(const QString &dir)
{
    QDir().mkpath(dir);
    for (int n = kManyPerStem - 1; n >= 0; --n) {
        for (const QString &stem : kManyStems) {
            QFile file(QStringLiteral("%1/%2_%3.exe").arg(dir, stem).arg(n));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(file.fileName()));
        }
    }
}

// The file chooser alone over a small tree in a fresh current directory, which
// is also the first drive:  setup.exe readme.txt readonly.exe .hidden.exe
// tools/setup.exe 表/prog.exe  MixedCase/Setup.EXE  sub/.profile sub/inner/
// and on Unix a FIFO and a dangling link, which count as system entries.
class Fixture
{
public:
    explicit Fixture(const QStringList &moreDrives = {})
    {
        for (const char *dir : {"tools", "表", "MixedCase", "sub/inner"})
            QDir(work.path()).mkpath(QString::fromUtf8(dir));
        for (const char *file :
             {"setup.exe", "readme.txt", ".hidden.exe", "readonly.exe", "tools/setup.exe",
              "表/prog.exe", "MixedCase/Setup.EXE", "sub/.profile"})
            work.write(QString::fromUtf8(file), "x");
        QFile::setPermissions(work.file("readonly.exe"), QFile::ReadOwner);
#ifdef Q_OS_UNIX
        ::mkfifo(QFile::encodeName(work.file("pipe.exe")).constData(), 0600);
        QFile::link(work.file("gone.exe"), work.file("dangling.exe"));
#endif
        start = QDir::currentPath();
        platform.fakeDrives = QStringList{native("")} + moreDrives;
        chooser = std::make_unique<TsForm>(platform);
        chooser->FormCreate();
        accepted = std::make_unique<QSignalSpy>(chooser.get(), &TsForm::pathAccepted);
        cancelled = std::make_unique<QSignalSpy>(chooser.get(), &TsForm::cancelled);
        tree = child<QTreeView>("Dirline");
        list = child<QListView>("FileLBox");
        pathBox = child<QLineEdit>("Pass_Edit");
        drives = child<QComboBox>("DriveCBox");
        loaded = std::make_unique<QSignalSpy>(qobject_cast<FileListModel *>(list->model()),
                                              &FileListModel::directoryLoaded);
    }

    template <typename T> T *child(const char *name)
    {
        return chooser->findChild<T *>(QString::fromLatin1(name));
    }
    void click(const char *button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // Adds the directory "many" of writeManyFiles(). Made once a run and
    // linked where the system can; that many files take seconds to make.
    void addManyFiles()
    {
#ifdef Q_OS_UNIX
        static const QTemporaryDir shared;
        static const bool made = (writeManyFiles(shared.path()), true);
        Q_UNUSED(made);
        QFile::link(shared.path(), path("many"));
#else
        writeManyFiles(path("many"));
#endif
    }

    // The path the chooser said it accepted; empty if it accepted none.
    QString acceptedPath() const
    {
        return accepted->isEmpty() ? QString() : accepted->last().at(0).toString();
    }

    QString path(const QString &relative) const
    {
        return relative.isEmpty() ? start : start + u'/' + relative;
    }
    // As the chooser shows it: on Windows in lower case.
    QString native(const QString &relative) const
    {
        return lowerOnWindows(QDir::toNativeSeparators(path(relative)));
    }
    QString nativeDir(const QString &relative) const
    {
        return native(relative) + QDir::separator();
    }

    // True once the list has read the directory through, since the last call.
    bool waitLoaded(const QString &relative)
    {
        const bool done = QTest::qWaitFor([&] {
            return std::any_of(loaded->begin(), loaded->end(), [&](const QList<QVariant> &s) {
                return s.value(0).toString().compare(path(relative), kPathCase) == 0;
            });
        });
        loaded->clear();
        return done;
    }

    QStringList listNames(bool sorted = true)
    {
        QStringList names = rowNames(list->model(), list->rootIndex());
        if (sorted)
            names.sort();
        return names;
    }

    // Clicks the directory's row in the tree, as the user would.
    bool openDirectory(const QString &relative)
    {
        // Its row arrives once the directory above it is read, which
        // expanding that directory's row asks for.
        auto *directories = qobject_cast<DirectoryTreeModel *>(tree->model());
        const QString above = QFileInfo(path(relative)).path();
        QPersistentModelIndex index;
        if (!QTest::qWaitFor([&] {
                index = directories->index(path(relative));
                if (!index.isValid())
                    tree->expand(directories->index(above));
                return index.isValid();
            }))
            return false;
        tree->scrollTo(index);
        if (!QTest::qWaitFor([&] { return tree->visualRect(index).isValid(); }))
            return false;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
        return tree->currentIndex() == index;
    }

    // The directory of the tree's current row, as the chooser shows it.
    QString treeDirectory() const
    {
        const auto *directories = qobject_cast<DirectoryTreeModel *>(tree->model());
        return lowerOnWindows(
            QDir::toNativeSeparators(directories->filePath(tree->currentIndex())));
    }

    QStringList selectedFiles() const
    {
        QStringList names;
        for (const QModelIndex &index : list->selectionModel()->selectedIndexes())
            names << index.data().toString();
        return names;
    }

    // Where the file's row shows, once it does.
    QPoint fileAt(const QString &name)
    {
        QPoint at;
        (void)QTest::qWaitFor([&] {
            const QModelIndex root = list->rootIndex();
            for (int row = 0; row < list->model()->rowCount(root) && at.isNull(); ++row) {
                const QModelIndex index = list->model()->index(row, 0, root);
                if (index.data().toString() == name)
                    at = list->visualRect(index).center();
            }
            return !at.isNull();
        });
        return at;
    }

    bool clickFile(const QString &name)
    {
        const QPoint at = fileAt(name);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        return !at.isNull();
    }

    test::WorkDir work;
    QString start;
    test::FakePlatform platform;
    std::unique_ptr<TsForm> chooser;
    std::unique_ptr<QSignalSpy> accepted;
    std::unique_ptr<QSignalSpy> cancelled;
    std::unique_ptr<QSignalSpy> loaded;
    QTreeView *tree;
    QListView *list;
    QLineEdit *pathBox;
    QComboBox *drives;
};

const QStringList kTopFiles = {"readme.txt", "readonly.exe", "setup.exe"};

} // namespace

class TestChooser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installLook(); }

    // The chooser opens where the process is at its first opening, not at its
    // creation. Hidden directories stay out of the tree except on the way there.
    // Opened where it was made, it has not changed directory: the path box
    // keeps the directory as it was, with no separator added.
    void opensWhereTheProcessIs_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("separator"); // after the directory in the path box
        QTest::newRow("moved since") << ".tools" << true;
        QTest::newRow("where it was made") << "" << false;
    }
    void opensWhereTheProcessIs()
    {
        QFETCH(QString, current);
        QFETCH(bool, separator);
        Fixture f;
        QVERIFY(QDir(f.start).mkpath(".tools/inner"));
        f.work.write(".tools/tool.exe", "x");
        QVERIFY(QDir::setCurrent(f.path(current)));
        f.chooser->open();
        QVERIFY(f.chooser->isVisible());
        QVERIFY(f.waitLoaded(current));
        QCOMPARE(f.pathBox->text(), separator ? f.nativeDir(current) : f.native(current));
        if (current.isEmpty())
            return;
        QCOMPARE(f.listNames(), QStringList{"tool.exe"});
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral(".tools"));
        QCOMPARE(f.treeDirectory(), f.native(".tools"));
        QCOMPARE(f.drives->currentText(), f.native(""));
        QVERIFY(f.openDirectory(".tools/inner"));
        QVERIFY(f.openDirectory(".tools"));
        QVERIFY(f.clickFile("tool.exe"));
        QCOMPARE(f.pathBox->text(), f.native(".tools/tool.exe"));
    }

    // Plain files only, whatever the list showed before; read-only ones count.
    void fileListShowsPlainFilesOnly_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("top directory") << QStringList{} << kTopFiles;
        QTest::newRow("subdirectory") << QStringList{"tools"} << QStringList{"setup.exe"};
        QTest::newRow("back from a subdirectory") << QStringList{"tools", ""} << kTopFiles;
        QTest::newRow("hidden file and directory only") << QStringList{"sub"} << QStringList{};
    }
    void fileListShowsPlainFilesOnly()
    {
        QFETCH(QStringList, visits);
        QFETCH(QStringList, expected);
        Fixture f;
        f.chooser->open();
        QVERIFY(f.waitLoaded(""));
        for (const QString &directory : visits) {
            QVERIFY(f.openDirectory(directory));
            QVERIFY(f.waitLoaded(directory));
        }
        QCOMPARE(f.listNames(), expected);
    }

    // Directory order on disk is no order; an ordinary directory is listed by name.
    void listIsInNameOrder()
    {
        Fixture f;
        QStringList expected;
        for (const char c : QByteArray("qcxamzekbtgwdriofuhyjnlvps")) {
            f.work.write(QStringLiteral("sub/%1.exe").arg(QChar::fromLatin1(c)), "x");
            expected << QStringLiteral("%1.exe").arg(QChar::fromLatin1(c));
        }
        expected.sort();
        f.chooser->open();
        QVERIFY(f.openDirectory("sub"));
        QTRY_COMPARE(f.listNames(false), expected);
    }

    // Enough files for several batches of rows, made in an order unrelated to
    // the expected one: every name arrives, once, in name order.
    void largeDirectoryArrivesCompleteAndSorted()
    {
        Fixture f;
        f.addManyFiles();
        QStringList expected;
        for (const QString &stem : kManyStems) {
            for (int n = 0; n < kManyPerStem; ++n)
                expected << QStringLiteral("%1_%2.exe").arg(stem).arg(n);
        }
        f.chooser->open();
        QVERIFY(f.openDirectory("many"));
        QVERIFY(f.waitLoaded("many"));
        QCOMPARE(f.listNames(false), expected);
    }

    // A listing still under way when the user moves on never reaches the list:
    // still being read, read but not yet taken in, or already arriving.
    void directoryChangeDropsTheListingUnderWay_data()
    {
        QTest::addColumn<QString>("when");
        QTest::newRow("as soon as it is asked for") << "asked";
        QTest::newRow("once it is read, before it is taken in") << "read";
        QTest::newRow("once its first rows are in") << "arriving";
    }
    void directoryChangeDropsTheListingUnderWay()
    {
        // Wine looks a new file's name up in the whole directory: the 10,008
        // files of each row would take it about half a minute.
        if (test::underWine())
            QSKIP("10,000 files are too slow to create under Wine; run on Windows itself");
        QFETCH(QString, when);
        Fixture f;
        f.addManyFiles();
        f.chooser->open();
        QVERIFY(f.waitLoaded(""));
        auto *files = qobject_cast<FileListModel *>(f.list->model());
        auto *directories = qobject_cast<DirectoryTreeModel *>(f.tree->model());
        QPersistentModelIndex tools;
        QVERIFY(QTest::qWaitFor([&] {
            tools = directories->index(f.path("tools"));
            return tools.isValid();
        }));
        bool rowsSeen = false;
        // Moves on before the next batch of rows, as a click would.
        const auto connection = connect(files, &QAbstractItemModel::rowsInserted, this, [&] {
            if (f.pathBox->text() != f.nativeDir("many"))
                return;
            if (!rowsSeen && when == "arriving")
                QTimer::singleShot(0, f.tree, [&] { f.tree->setCurrentIndex(tools); });
            rowsSeen = true;
        });
        QVERIFY(f.openDirectory("many"));
        QCOMPARE(files->rowCount(), 0);
        if (when == "read") // the worker reads the directory meanwhile, not this thread
            QVERIFY(f.platform.waitListed(10000, f.path("many")));
        if (when != "arriving")
            f.tree->setCurrentIndex(tools);
        QVERIFY(f.waitLoaded("tools"));
        disconnect(connection);
        QCOMPARE(rowsSeen, when == "arriving");
        QCOMPARE(f.listNames(false), QStringList{"setup.exe"});
        QCOMPARE(f.treeDirectory(), f.native("tools"));
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        // Nothing of the other directory comes later.
        QVERIFY(f.platform.waitListed(10000));
        QCoreApplication::processEvents();
        QVERIFY(f.loaded->isEmpty());
        QCOMPARE(f.listNames(false), QStringList{"setup.exe"});
    }

    // The tree lists directories only, by name; hidden ones stay out of it
    // unless they lead to where the chooser opened.
    void treeListsVisibleDirectoriesByName()
    {
        Fixture f;
        for (const char *dir : {"zeta", "alpha", ".cache", "Beta10", "beta9"})
            QVERIFY(QDir(f.start).mkpath(QString::fromLatin1(dir)));
        f.chooser->open();
        auto *directories = qobject_cast<DirectoryTreeModel *>(f.tree->model());
        const QModelIndex top = directories->index(f.start);
        QVERIFY(top.isValid());
        QCOMPARE(top.data().toString(), f.native(""));
        QCOMPARE(directories->rowCount(), 1);
        QStringList expected = {"alpha", "beta9", "Beta10", "MixedCase",
                                "sub",   "tools", "zeta",   QStringLiteral("表")};
        QTRY_COMPARE(directories->rowCount(top), int(expected.size()));
        for (QString &name : expected)
            name = lowerOnWindows(name);
        QCOMPARE(rowNames(directories, top), expected);
        QCOMPARE(directories->filePath(directories->index(2, 0, top))
                     .compare(f.path("Beta10"), kPathCase),
                 0);
    }

    // While the chooser shows a directory the list follows it: only the rows
    // that differ change, and the selected file stays selected while it is
    // there, however scattered the changes.
    void listFollowsTheDirectory_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QString>("selectedAfter");
        // 40 separate changes: more than the list takes change by change.
        QStringList everyOther;
        QStringList between;
        for (int n = 0; n < 80; n += 2) {
            everyOther << QStringLiteral("n%1.exe").arg(n, 3, 10, QLatin1Char('0'));
            between << QStringLiteral("n%1_x.exe").arg(n, 3, 10, QLatin1Char('0'));
        }
        QTest::newRow("added before the selected file")
            << QStringList{"a.exe", "c.exe"} << QStringList{} << "d.exe";
        QTest::newRow("added after it")
            << QStringList{"e.exe", "z.exe"} << QStringList{} << "d.exe";
        QTest::newRow("a hidden file and a plain one added")
            << QStringList{".x.exe", "f.exe"} << QStringList{} << "d.exe";
        QTest::newRow("another file removed") << QStringList{} << QStringList{"b.exe"} << "d.exe";
        QTest::newRow("the selected file removed")
            << QStringList{} << QStringList{"d.exe"} << QString();
        QTest::newRow("scattered additions") << between << QStringList{} << "d.exe";
        QTest::newRow("scattered removals") << QStringList{} << everyOther << "d.exe";
        QTest::newRow("scattered removals and the selected file")
            << QStringList{} << everyOther + QStringList{"d.exe"} << QString();
    }
    void listFollowsTheDirectory()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, removed);
        QFETCH(QString, selectedAfter);
        Fixture f;
        QStringList expected{"b.exe", "d.exe", "setup.exe"};
        for (int n = 0; n < 80; ++n)
            expected << QStringLiteral("n%1.exe").arg(n, 3, 10, QLatin1Char('0'));
        for (const QString &name : expected)
            f.work.write("tools/" + name, {});
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("d.exe"));

        for (const QString &name : added) {
            f.work.write("tools/" + name, {});
            if (!name.startsWith(u'.'))
                expected << name;
        }
        for (const QString &name : removed) {
            QVERIFY(QFile::remove(f.path("tools/" + name)));
            expected.removeOne(name);
        }
        expected.sort(); // every name is in lower case, numbers of equal width
        QTRY_COMPARE(f.listNames(false), expected);
        QCOMPARE(f.selectedFiles(),
                 selectedAfter.isEmpty() ? QStringList{} : QStringList{selectedAfter});
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools") + selectedAfter);
    }

    // The tree follows the disk too, and keeps its current row.
    void treeFollowsTheDirectories()
    {
        Fixture f;
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        auto *directories = qobject_cast<DirectoryTreeModel *>(f.tree->model());
        const QModelIndex top = directories->index(f.start);
        const QPersistentModelIndex tools = directories->index(f.path("tools"));
        f.tree->expand(tools);
        QTRY_VERIFY(!directories->hasChildren(tools)); // read, and nothing below it
        QVERIFY(QDir(f.start).mkpath("added"));
        QVERIFY(QDir(f.path("sub")).removeRecursively());
        QVERIFY(QDir(f.path("tools")).mkpath("inner"));
        QTRY_COMPARE(rowNames(directories, top), (QStringList{"added", lowerOnWindows("MixedCase"),
                                                              "tools", QStringLiteral("表")}));
        QTRY_COMPARE(rowNames(directories, tools), QStringList{"inner"});
        QCOMPARE(f.tree->currentIndex(), tools);
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
    }

    void selectionComposesThePath_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("file");
        QTest::newRow("drive's top directory") << ""
                                               << "setup.exe";
        QTest::newRow("subdirectory") << "tools"
                                      << "setup.exe";
        QTest::newRow("directory ending in 表") << "表"
                                                << "prog.exe";
        QTest::newRow("case kept") << "MixedCase"
                                   << "Setup.EXE";
    }
    void selectionComposesThePath()
    {
        QFETCH(QString, directory);
        QFETCH(QString, file);
        Fixture f;
        f.chooser->open();
        QVERIFY(f.openDirectory(directory));
        QVERIFY(f.clickFile(file));
        QCOMPARE(f.selectedFiles(), QStringList{file});
        QCOMPARE(f.treeDirectory(), f.native(directory));
        QCOMPARE(f.pathBox->text(), f.nativeDir(directory) + file);
    }

    // Nothing is selected after a directory change, and browsing never moves
    // the process's current directory.
    void directoryChangeClearsTheSelection()
    {
        Fixture f;
        f.chooser->open();
        QVERIFY(f.clickFile("setup.exe"));
        QVERIFY(f.openDirectory("tools"));
        QCOMPARE(f.selectedFiles(), QStringList{});
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        f.click("oK_Btn");
        QCOMPARE(f.acceptedPath(), f.nativeDir("tools"));
        QCOMPARE(QDir::currentPath(), f.start);
    }

    // ＯＫ and a double click on a file accept the path box's text, once, and
    // close the chooser.
    void acceptSaysThePath_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("OK") << false;
        QTest::newRow("double click") << true;
    }
    void acceptSaysThePath()
    {
        QFETCH(bool, doubleClick);
        Fixture f;
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        const QPoint at = f.fileAt("setup.exe");
        // A double click arrives as a click, then the double-click event.
        QTest::mouseClick(f.list->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick)
            QTest::mouseDClick(f.list->viewport(), Qt::LeftButton, {}, at);
        else
            f.click("oK_Btn");
        const QString chosen = f.nativeDir("tools") + "setup.exe";
        QCOMPARE(f.pathBox->text(), chosen);
        QCOMPARE(f.accepted->size(), 1);
        QCOMPARE(f.acceptedPath(), chosen);
        QVERIFY(f.cancelled->isEmpty());
        QVERIFY(!f.chooser->isVisible());
    }

    // Cancel, and closing through the frame, accept nothing; the next opening
    // shows the chooser as it was left.
    void cancelKeepsEntryAndReopeningKeepsState_data()
    {
        QTest::addColumn<bool>("throughFrame");
        QTest::newRow("cancel button") << false;
        QTest::newRow("window frame") << true;
    }
    void cancelKeepsEntryAndReopeningKeepsState()
    {
        QFETCH(bool, throughFrame);
        Fixture f;
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        const QString shown = f.pathBox->text();
        if (throughFrame)
            QVERIFY(f.chooser->close());
        else
            f.click("Button1");
        QVERIFY(!f.chooser->isVisible());
        QCOMPARE(f.cancelled->size(), 1);
        QVERIFY(f.accepted->isEmpty());

        f.chooser->open();
        QCOMPARE(f.pathBox->text(), shown);
        QCOMPARE(f.selectedFiles(), QStringList{"setup.exe"});
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral("tools"));
    }

    // A path the settings file cannot hold is not accepted.
    void unsavablePathIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hangul") << QStringLiteral("한글.exe");
        QTest::newRow("emoji") << QStringLiteral("\U0001F600.exe");
#ifndef Q_OS_WIN
        QTest::newRow("line break, as Linux allows") << QStringLiteral("two\nlines.exe");
#endif
    }

    void unsavablePathIsRefused()
    {
        QFETCH(QString, name);
        Fixture f;
        f.work.write(QStringLiteral("tools/") + name, "x");
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile(name));
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools") + name);
        test::MessageAnswerer answer("OK");
        f.click("oK_Btn");
        QCOMPARE(answer.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answer.seen().icon, QMessageBox::Critical);
        QCOMPARE(answer.seen().text,
                 QStringLiteral("選択したファイルのパスには保存できない文字が含まれています"));
        QCOMPARE(answer.seen().buttons, QStringList{"OK"});
        QVERIFY(f.accepted->isEmpty());
        QVERIFY(f.chooser->isVisible());
    }

    // The directory shown goes from the disk: the chooser moves to the nearest
    // parent still there, never to a neighbour, whether its parent went too
    // or it had siblings before and after it.
    void vanishedDirectoryLeavesForItsNearestParent_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("landsOn");
        QTest::newRow("with its parent") << "sub/inner/deep"
                                         << "sub/inner"
                                         << "sub";
        QTest::newRow("between siblings") << "sub/inner/b"
                                          << "sub/inner/b"
                                          << "sub/inner";
    }
    void vanishedDirectoryLeavesForItsNearestParent()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows lets no one remove a directory the open chooser watches");
#endif
        QFETCH(QString, shown);
        QFETCH(QString, removed);
        QFETCH(QString, landsOn);
        Fixture f;
        for (const char *dir : {"sub/inner/a", "sub/inner/b", "sub/inner/c", "sub/inner/deep"})
            QVERIFY(QDir(f.start).mkpath(QString::fromLatin1(dir)));
        f.chooser->open();
        for (const QString &step : QStringList{"sub", "sub/inner", shown})
            QVERIFY(f.openDirectory(step));
        QVERIFY(QDir(f.path(removed)).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(f.pathBox->text(), f.nativeDir(landsOn), 10000);
        QCOMPARE(f.treeDirectory(), f.native(landsOn));
        QVERIFY(f.waitLoaded(landsOn));
    }

    // Closed, the chooser watches no directory (on Windows a watched one
    // cannot be renamed, deleted or ejected); open, only those it shows: the
    // list's and those of the expanded rows. Opened again, it shows what
    // changed while it was closed.
    void closedChooserHoldsNoDirectory()
    {
        Fixture f;
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.waitLoaded("tools"));
        const auto watched = [&] {
            QStringList paths;
            for (const QString &path : f.platform.watchedDirectories())
                paths << lowerOnWindows(QDir::cleanPath(path));
            paths.sort();
            return paths;
        };
        const QStringList shown = {lowerOnWindows(f.start), lowerOnWindows(f.path("tools"))};
        QCOMPARE(watched(), shown);
        f.click("Button1");
        QCOMPARE(watched(), QStringList{});

        f.work.write("tools/new.exe", "x");
        f.chooser->open();
        QCOMPARE(watched(), shown);
        QTRY_COMPARE(f.listNames(), (QStringList{"new.exe", "setup.exe"}));
    }

    // A directory that cannot be read: the general error box names it and
    // the chooser stays open. (The tests run as root, whom no permission bit
    // keeps out; the reader's check stands in for the file system's.)
    void unreadableDirectoryIsReported()
    {
        Fixture f;
        const QString secret = f.path("tools");
        f.platform.onList = [secret](const QString &path) -> std::optional<Platform::Listing> {
            if (path.compare(secret, kPathCase) == 0)
                return Platform::Listing::Unreadable;
            return std::nullopt;
        };
        f.chooser->open();
        test::MessageAnswerer answer("OK");
        QVERIFY(f.openDirectory("tools"));
        QTRY_VERIFY(answer.seen().seen);
        QCOMPARE(answer.seen().caption, QStringLiteral("ネルバト"));
        QCOMPARE(answer.seen().text,
                 QStringLiteral("ﾌｧｲﾙ %1 は開けません.").arg(f.native("tools")));
        QVERIFY(f.chooser->isVisible());
        QCOMPARE(f.listNames(), QStringList{});
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
    }

    // The list as a model: plain files by name, following the disk, emptied
    // at once for another directory.
    void fileListModel()
    {
        test::WorkDir dir;
        for (const char *name : {"c10.exe", "B.exe", ".hidden", "a.exe", "c9.exe", "sub/x.exe"}) {
            QDir(dir.path()).mkpath(QFileInfo(dir.file(QString::fromLatin1(name))).path());
            dir.write(QString::fromLatin1(name), "x");
        }
        test::FakePlatform platform;
        DirectoryService service(platform);
        FileListModel model(service);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto rows = [&] { return rowNames(&model); };
        QSignalSpy loaded(&model, &FileListModel::directoryLoaded);
        model.setDirectory(dir.path());
        QCOMPARE(model.rowCount(), 0);
        QTRY_COMPARE(rows(), (QStringList{"a.exe", "B.exe", "c9.exe", "c10.exe"}));
        QCOMPARE(model.fileName(model.index(1)), QStringLiteral("B.exe"));
        QCOMPARE(loaded.count(), 1);

        dir.write("b2.exe", "x");
        QVERIFY(QFile::remove(dir.file("a.exe")));
        QTRY_COMPARE(rows(), (QStringList{"B.exe", "b2.exe", "c9.exe", "c10.exe"}));

        model.setDirectory(dir.file("sub"));
        QCOMPARE(model.rowCount(), 0);
        QTRY_COMPARE(rows(), QStringList{"x.exe"});
    }

    // The tree as a model: the drive's root the only top row, the rows down to
    // the opened directory at once, each directory's rows once it is read;
    // hidden directories only on the way to the opened one.
    void directoryTreeModel()
    {
        test::WorkDir dir;
        for (const char *path : {"b/x", "a", ".hid/deep", ".other"})
            QVERIFY(QDir(dir.path()).mkpath(QString::fromLatin1(path)));
        test::FakePlatform platform;
        DirectoryService service(platform);
        DirectoryTreeModel model(service);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto rows = [&](const QModelIndex &parent) { return rowNames(&model, parent); };
        model.setDrive(dir.path(), dir.file(".hid/deep"));
        QCOMPARE(model.rowCount(), 1);
        const QPersistentModelIndex top = model.index(0, 0);
        QCOMPARE(model.filePath(top), dir.path());
        QVERIFY(model.index(dir.file(".hid/deep")).isValid());
        QTRY_COMPARE(rows(top), (QStringList{".hid", "a", "b"}));
        QCOMPARE(model.filePath(model.index(2, 0, top)), dir.file("b"));

        // (The tester itself expands every row as it walks the model.)
        const QPersistentModelIndex b = model.index(dir.file("b"));
        model.fetchMore(b);
        QTRY_COMPARE(rows(b), QStringList{"x"});
        const QPersistentModelIndex a = model.index(dir.file("a"));
        model.fetchMore(a);
        QTRY_VERIFY(!model.hasChildren(a));
        QVERIFY(!model.index(dir.file(".other")).isValid());
    }

    // A read that hangs (a share that does not answer) holds later reads up
    // for a moment only, and never keeps the chooser, and so the program,
    // from ending.
    void hangingReadHoldsNothingUp()
    {
        test::WorkDir dir;
        QVERIFY(QDir(dir.path()).mkpath("alive/x"));
        test::FakePlatform platform;
        // The hanging read goes on after the service, and this case, have gone.
        const auto hanging = std::make_shared<std::atomic<bool>>(false);
        std::promise<void> answer;
        platform.onList = [hanging, answered = answer.get_future().share()](
                              const QString &path) -> std::optional<Platform::Listing> {
            if (!path.endsWith(QLatin1String("/dead")))
                return std::nullopt;
            *hanging = true;
            answered.wait();
            return Platform::Listing::Unreadable;
        };
        auto service = std::make_unique<DirectoryService>(platform);
        bool deadArrived = false;
        QStringList alive;
        service->read(DirectoryService::Client::List, dir.file("dead"),
                      DirectoryService::Entries::Files,
                      [&](const QStringList &, Platform::Listing) { deadArrived = true; });
        QTRY_VERIFY(*hanging);
        // The user moves on to another directory.
        service->dropAll(DirectoryService::Client::List);
        service->read(DirectoryService::Client::List, dir.file("alive"),
                      DirectoryService::Entries::Directories,
                      [&](const QStringList &names, Platform::Listing) { alive = names; });
        QTRY_COMPARE_WITH_TIMEOUT(alive, QStringList{"x"}, 10000);
        QVERIFY(!deadArrived);

        QElapsedTimer ending;
        ending.start();
        service.reset();
        QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
        answer.set_value();
    }

    // By keyboard: the arrows in the tree and the list, Enter in the list
    // accepts as ＯＫ does, Esc cancels.
    void keyboardWorksTheChooser()
    {
        Fixture f;
        f.chooser->open();
        QVERIFY(f.waitLoaded(""));
        f.tree->setFocus();
        const QPersistentModelIndex start = f.tree->currentIndex();
        QTest::keyClick(f.tree, Qt::Key_Right); // opens the row
        QTRY_VERIFY(f.tree->model()->rowCount(start) > 0);
        QTest::keyClick(f.tree, Qt::Key_Down);
        QCOMPARE(f.tree->currentIndex().parent(), QModelIndex(start));
        QCOMPARE(f.pathBox->text(), f.nativeDir("MixedCase"));
        QTest::keyClick(f.tree, Qt::Key_Up);
        QCOMPARE(f.tree->currentIndex(), QModelIndex(start));
        QVERIFY(f.waitLoaded(""));
        f.list->setFocus();
        QTest::keyClick(f.list, Qt::Key_Home);
        QTest::keyClick(f.list, Qt::Key_Down);
        QCOMPARE(f.pathBox->text(), f.nativeDir("") + f.listNames(false).at(1));
        const QString chosen = f.pathBox->text();
        QTest::keyClick(f.list, Qt::Key_Return);
        QVERIFY(!f.chooser->isVisible());
        QCOMPARE(f.acceptedPath(), chosen);

        f.chooser->open();
        QTest::keyClick(f.list, Qt::Key_Escape);
        QVERIFY(!f.chooser->isVisible());
        QCOMPARE(f.accepted->size(), 1);
        QCOMPARE(f.cancelled->size(), 1);
    }

    // The file chooser as designed.
    void chooserAsDesigned()
    {
        Fixture f;
        QCOMPARE(f.chooser->windowTitle(), QStringLiteral("ファイル選択画面"));
        QCOMPARE(f.chooser->size(), QSize(463, 304)); // 471 x 331 with its frame
        QCOMPARE(f.chooser->font().pixelSize(), 12);
        QCOMPARE(f.child<QLabel>("MsgL")->text(),
                 QStringLiteral("設定するファイルを選択してください"));
        const QList<std::pair<const char *, QRect>> places = {
            {"MsgL", {13, 8, 179, 12}},       {"oK_Btn", {291, 5, 75, 20}},
            {"Button1", {371, 5, 75, 20}},    {"Pass_Edit", {13, 31, 436, 21}},
            {"Dirline", {13, 56, 212, 209}},  {"FileLBox", {237, 56, 212, 233}},
            {"DriveCBox", {13, 272, 212, 18}}};
        for (const auto &[name, place] : places)
            QCOMPARE(f.child<QWidget>(name)->geometry(), place);
        for (const char *name : {"Pass_Edit", "Dirline", "FileLBox"})
            QCOMPARE(f.child<QWidget>(name)->font().pixelSize(), 13);
        QCOMPARE(f.child<QPushButton>("oK_Btn")->text(), QStringLiteral("ＯＫ"));
        QCOMPARE(f.child<QPushButton>("Button1")->text(), QStringLiteral("キャンセル"));
        QVERIFY(f.pathBox->isReadOnly());
        const QStringList order = {"DriveCBox", "Dirline", "FileLBox",
                                   "Pass_Edit", "oK_Btn",  "Button1"};
        QStringList chain;
        QWidget *w = f.drives;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && order.contains(w->objectName()))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != f.drives);
        QCOMPARE(chain, order);
    }

    void invalidDriveReturnsToThePreviousDrive()
    {
        Fixture f({"/nerubato-no-such-drive"});
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        const QString shown = f.pathBox->text();
        test::MessageAnswerer answer("OK");
        QTest::keyClick(f.drives, Qt::Key_Down);
        QVERIFY(answer.seen().seen);
        QCOMPARE(answer.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answer.seen().text, QStringLiteral("無効なドライブが指定されました"));
        QCOMPARE(answer.seen().icon, QMessageBox::Critical);
        QCOMPARE(answer.seen().buttons, QStringList{"OK"});
        QCOMPARE(f.platform.beeps, 1);
        QCOMPARE(f.drives->currentText(), f.native(""));
        QCOMPARE(f.treeDirectory(), f.native("tools"));
        QCOMPARE(f.pathBox->text(), shown);
    }

#ifdef Q_OS_UNIX
    // A drive shows its own last directory; a root keeps its single separator.
    void driveChangeShowsThatDrivesDirectory()
    {
        Fixture f({"/"});
        f.chooser->open();
        QVERIFY(f.openDirectory("tools"));
        QTest::keyClick(f.drives, Qt::Key_Down);
        QCOMPARE(f.treeDirectory(), QStringLiteral("/"));
        QCOMPARE(f.pathBox->text(), QStringLiteral("/"));
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral("/"));
        QTest::keyClick(f.drives, Qt::Key_Up);
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        QCOMPARE(QDir::currentPath(), f.start);
    }
#endif
};

NERUBATO_TEST_MAIN(TestChooser)
#include "tst_chooser.moc"
