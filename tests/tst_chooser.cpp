#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/TsForm.h"
#include "chooser/core/FileNameOrder.h"
#include "chooser/core/PathComposition.h"
#include "editor/TForm1.h"
#include "settings/Cp932.h"
#include "shell/WindowSet.h"
#include "testsupport.h"
#include "ui/Look.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <algorithm>
#include <memory>

using namespace nerubato;

namespace {

// The window set over a small tree in a fresh current directory, which is also
// the first drive:  setup.exe readme.txt readonly.exe .hidden.exe  tools/setup.exe
// 表/prog.exe  MixedCase/Setup.EXE  sub/.profile sub/inner/  and on Unix a FIFO
// and a dangling link, which count as system entries.
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
        platform.fakeDrives =
            QStringList{shownDirectory(QDir::toNativeSeparators(start))} + moreDrives;
        windows = std::make_unique<WindowSet>(platform);
        editor = windows->forms().Form1;
        chooser = windows->forms().sForm;
        tree = child<QTreeView>("Dirline");
        list = child<QListView>("FileLBox");
        pathBox = child<QLineEdit>("Pass_Edit");
        drives = child<QComboBox>("DriveCBox");
        for (int n = 1; n <= 5; ++n) {
            edit("jikko%1_Edit", n)->setText(QStringLiteral("program %1").arg(n));
            edit("sw%1_Edit", n)->setText(QStringLiteral("arguments %1").arg(n));
        }
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
    QLineEdit *edit(const char *pattern, int n)
    {
        return editor->findChild<QLineEdit *>(QString::fromLatin1(pattern).arg(n));
    }

    QString path(const QString &relative) const
    {
        return relative.isEmpty() ? start : start + u'/' + relative;
    }
    // As the chooser shows it: on Windows in lower case.
    QString native(const QString &relative) const
    {
        return shownDirectory(QDir::toNativeSeparators(path(relative)));
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
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            names << list->model()->index(row, 0, root).data().toString();
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
    std::unique_ptr<WindowSet> windows;
    std::unique_ptr<QSignalSpy> loaded;
    TForm1 *editor;
    TsForm *chooser;
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
    void opensWhereTheProcessIs()
    {
        Fixture f;
        QVERIFY(QDir(f.start).mkpath(".tools/inner"));
        f.work.write(".tools/tool.exe", "x");
        QVERIFY(QDir::setCurrent(f.path(".tools")));
        f.editor->browse(1);
        QVERIFY(f.chooser->isVisible());
        QVERIFY(!f.editor->isEnabled());
        QVERIFY(f.waitLoaded(".tools"));
        QCOMPARE(f.listNames(), QStringList{"tool.exe"});
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral(".tools"));
        QCOMPARE(f.chooser->SelectedDirectory, f.native(".tools"));
        QCOMPARE(f.pathBox->text(), f.nativeDir(".tools"));
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
        f.editor->browse(1);
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
        f.editor->browse(1);
        QVERIFY(f.openDirectory("sub"));
        QTRY_COMPARE(f.listNames(false), expected);
    }

    // Enough files for several batches of rows, made in an order unrelated to
    // the expected one: every name arrives, once, in name order.
    void largeDirectoryArrivesCompleteAndSorted()
    {
        Fixture f;
        const QStringList stems = {"alpha", "Beta", "delta", "GAMMA"};
        const int perStem = (2 * FileListModel::kBatchRows + 7) / int(stems.size()) + 1;
        QVERIFY(QDir(f.start).mkpath("many"));
        for (int n = perStem - 1; n >= 0; --n) {
            for (const QString &stem : stems)
                f.work.write(QStringLiteral("many/%1_%2.exe").arg(stem).arg(n), {});
        }
        QStringList expected;
        for (const QString &stem : stems) {
            for (int n = 0; n < perStem; ++n)
                expected << QStringLiteral("%1_%2.exe").arg(stem).arg(n);
        }
        f.editor->browse(1);
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
        // Wine looks a new file's name up in the whole directory: the 15,000
        // files of each row would take it about 40 seconds.
        if (test::underWine())
            QSKIP("15,000 files are too slow to create under Wine; run on Windows itself");
        QFETCH(QString, when);
        Fixture f;
        QVERIFY(QDir(f.start).mkpath("many"));
        for (int n = 0; n < 3 * FileListModel::kBatchRows; ++n)
            f.work.write(QStringLiteral("many/big_%1.exe").arg(n), {});
        f.editor->browse(1);
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
            if (files->directory().compare(f.path("many"), kPathCase) != 0)
                return;
            if (!rowsSeen && when == "arriving")
                QTimer::singleShot(0, f.tree, [&] { f.tree->setCurrentIndex(tools); });
            rowsSeen = true;
        });
        QVERIFY(f.openDirectory("many"));
        QVERIFY(files->isLoading());
        if (when == "read")
            QThread::msleep(1000); // the worker reads the directory meanwhile, not this thread
        if (when != "arriving")
            f.tree->setCurrentIndex(tools);
        QVERIFY(f.waitLoaded("tools"));
        disconnect(connection);
        QCOMPARE(rowsSeen, when == "arriving");
        QCOMPARE(f.listNames(false), QStringList{"setup.exe"});
        QCOMPARE(f.chooser->SelectedDirectory, f.native("tools"));
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        // Nothing of the other directory comes later.
        QTest::qWait(100);
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
        f.editor->browse(1);
        auto *directories = qobject_cast<DirectoryTreeModel *>(f.tree->model());
        const QModelIndex top = directories->index(f.start);
        QVERIFY(top.isValid());
        QCOMPARE(top.data().toString(), f.native(""));
        QCOMPARE(directories->rowCount(), 1);
        QStringList expected = {"alpha", "beta9", "Beta10", "MixedCase",
                                "sub",   "tools", "zeta",   QStringLiteral("表")};
        QTRY_COMPARE(directories->rowCount(top), int(expected.size()));
        QStringList shown;
        for (int row = 0; row < directories->rowCount(top); ++row)
            shown << directories->index(row, 0, top).data().toString();
        for (QString &name : expected)
            name = shownDirectory(name);
        QCOMPARE(shown, expected);
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
        QStringList everyOther;
        QStringList between;
        for (int n = 0; n < 2 * FileListModel::kMaxRuns + 16; n += 2) {
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
        for (int n = 0; n < 2 * FileListModel::kMaxRuns + 16; ++n)
            expected << QStringLiteral("n%1.exe").arg(n, 3, 10, QLatin1Char('0'));
        for (const QString &name : expected)
            f.work.write("tools/" + name, {});
        f.editor->browse(1);
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
        sortFileNames(expected);
        QTRY_COMPARE(f.listNames(false), expected);
        QCOMPARE(f.chooser->SelectedFileName, selectedAfter);
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools") + selectedAfter);
        const QModelIndexList selected = f.list->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), selectedAfter.isEmpty() ? 0 : 1);
        if (!selectedAfter.isEmpty())
            QCOMPARE(selected.first().data().toString(), selectedAfter);
    }

    // The tree follows the disk too, and keeps its current row.
    void treeFollowsTheDirectories()
    {
        Fixture f;
        f.editor->browse(1);
        QVERIFY(f.openDirectory("tools"));
        auto *directories = qobject_cast<DirectoryTreeModel *>(f.tree->model());
        const QModelIndex top = directories->index(f.start);
        const QPersistentModelIndex tools = directories->index(f.path("tools"));
        f.tree->expand(tools);
        QTRY_VERIFY(!directories->hasChildren(tools)); // read, and nothing below it
        QVERIFY(QDir(f.start).mkpath("added"));
        QVERIFY(QDir(f.path("sub")).removeRecursively());
        QVERIFY(QDir(f.path("tools")).mkpath("inner"));
        const auto rows = [&](const QModelIndex &parent) {
            QStringList names;
            for (int row = 0; row < directories->rowCount(parent); ++row)
                names << directories->index(row, 0, parent).data().toString();
            return names;
        };
        QTRY_COMPARE(rows(top), (QStringList{"added", shownDirectory("MixedCase"), "tools",
                                             QStringLiteral("表")}));
        QTRY_COMPARE(rows(tools), QStringList{"inner"});
        QCOMPARE(f.tree->currentIndex(), tools);
        QCOMPARE(f.chooser->SelectedDirectory, f.native("tools"));
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
        f.editor->browse(1);
        QVERIFY(f.openDirectory(directory));
        QVERIFY(f.clickFile(file));
        QCOMPARE(f.chooser->SelectedFileName, file);
        QCOMPARE(f.chooser->SelectedDirectory, f.native(directory));
        QCOMPARE(f.pathBox->text(), f.nativeDir(directory) + file);
    }

    // Nothing is selected after a directory change, and browsing never moves
    // the process's current directory.
    void directoryChangeClearsTheSelection()
    {
        Fixture f;
        f.editor->browse(1);
        QVERIFY(f.clickFile("setup.exe"));
        QVERIFY(f.openDirectory("tools"));
        QCOMPARE(f.chooser->SelectedFileName, QString());
        QVERIFY(!f.list->selectionModel()->hasSelection());
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        f.click("oK_Btn");
        QCOMPARE(f.edit("jikko%1_Edit", 1)->text(), f.nativeDir("tools"));
        QCOMPARE(QDir::currentPath(), f.start);
    }

    // Accepting writes the entry whose button opened the chooser, and nothing else.
    void acceptFillsOnlyTheTargetEntry_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("OK, entry 1") << 1 << false;
        QTest::newRow("OK, entry 3") << 3 << false;
        QTest::newRow("double click, entry 3") << 3 << true;
        QTest::newRow("double click, entry 5") << 5 << true;
    }
    void acceptFillsOnlyTheTargetEntry()
    {
        QFETCH(int, target);
        QFETCH(bool, doubleClick);
        Fixture f;
        f.editor->browse(target);
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
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(f.edit("jikko%1_Edit", n)->text(),
                     n == target ? chosen : QStringLiteral("program %1").arg(n));
            QCOMPARE(f.edit("sw%1_Edit", n)->text(), QStringLiteral("arguments %1").arg(n));
        }
        QVERIFY(f.editor->isEnabled());
        QVERIFY(!f.chooser->isVisible());
    }

    // Cancel, and closing through the frame, leave the entry alone; the next
    // opening shows the chooser as it was left.
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
        f.editor->browse(2);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        const QString shown = f.pathBox->text();
        if (throughFrame)
            QVERIFY(f.chooser->close());
        else
            f.click("Button1");
        QVERIFY(!f.chooser->isVisible());
        QVERIFY(f.editor->isEnabled());
        QCOMPARE(f.edit("jikko%1_Edit", 2)->text(), QStringLiteral("program 2"));

        f.editor->browse(2);
        QCOMPARE(f.pathBox->text(), shown);
        QCOMPARE(f.chooser->SelectedFileName, QStringLiteral("setup.exe"));
        const QModelIndexList selected = f.list->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().data().toString(), QStringLiteral("setup.exe"));
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral("tools"));
    }

    // D13: a path the settings file cannot hold is not put into the entry.
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
        f.editor->browse(2);
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
        QCOMPARE(f.edit("jikko%1_Edit", 2)->text(), QStringLiteral("program 2"));
        QVERIFY(f.chooser->isVisible());
        QVERIFY(!f.editor->isEnabled());
    }

    // D16: the directory shown goes from the disk, with its parent too: the
    // chooser moves to the nearest parent still there, never to a neighbour.
    void vanishedDirectoryLeavesForItsNearestParent()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows lets no one remove a directory the chooser watches");
#endif
        Fixture f;
        QVERIFY(QDir(f.start).mkpath("sub/inner/deep"));
        f.editor->browse(1);
        QVERIFY(f.openDirectory("sub"));
        QVERIFY(f.openDirectory("sub/inner"));
        QVERIFY(f.openDirectory("sub/inner/deep"));
        QVERIFY(QDir(f.path("sub/inner")).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(f.chooser->SelectedDirectory, f.native("sub"), 5000);
        QCOMPARE(f.pathBox->text(), f.nativeDir("sub"));
        QVERIFY(f.waitLoaded("sub"));
        QCOMPARE(f.listNames(), QStringList{}); // sub holds only the hidden .profile
    }

    // D16: a directory that cannot be read: the general error box names it and
    // the chooser stays open. (The tests run as root, whom no permission bit
    // keeps out; the reader's check stands in for the file system's.)
    void unreadableDirectoryIsReported()
    {
        Fixture f;
        const QString secret = f.path("tools");
        DirectoryReader::setReadCheck(
            [secret](const QString &path) { return path.compare(secret, kPathCase) != 0; });
        f.editor->browse(1);
        test::MessageAnswerer answer("OK");
        QVERIFY(f.openDirectory("tools"));
        QTRY_VERIFY(answer.seen().seen);
        DirectoryReader::setReadCheck(nullptr);
        QCOMPARE(answer.seen().caption, kApplicationTitle);
        QCOMPARE(answer.seen().text,
                 QStringLiteral("ﾌｧｲﾙ %1 は開けません.").arg(f.native("tools")));
        QVERIFY(f.chooser->isVisible());
        QCOMPARE(f.listNames(), QStringList{});
        QCOMPARE(f.chooser->SelectedDirectory, f.native("tools"));
    }

    // The file chooser alone: what it chose it says through its signals.
    void chooserAlone()
    {
        test::WorkDir dir;
        dir.write(QStringLiteral("setup.exe"), "x");
        test::FakePlatform platform;
        platform.fakeDrives = {shownDirectory(QDir::toNativeSeparators(dir.path()))};
        TsForm chooser(platform);
        chooser.FormCreate();
        QSignalSpy accepted(&chooser, &TsForm::pathAccepted);
        QSignalSpy cancelled(&chooser, &TsForm::cancelled);
        chooser.open();
        auto *list = chooser.findChild<QListView *>(QStringLiteral("FileLBox"));
        QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
        list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
        chooser.oK_BtnClick();
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(accepted.at(0).at(0).toString(),
                 composePath(shownDirectory(QDir::toNativeSeparators(dir.path())), "setup.exe"));
        QVERIFY(!chooser.isVisible());
        chooser.open();
        chooser.close();
        QCOMPARE(cancelled.size(), 1);
        QCOMPARE(accepted.size(), 1);
    }

    // By keyboard: the arrows in the tree and the list, Enter in the list
    // accepts as ＯＫ does, Esc cancels.
    void keyboardWorksTheChooser()
    {
        Fixture f;
        f.editor->browse(4);
        QVERIFY(f.waitLoaded(""));
        f.tree->setFocus();
        const QPersistentModelIndex start = f.tree->currentIndex();
        QTest::keyClick(f.tree, Qt::Key_Right); // opens the row
        QTRY_VERIFY(f.tree->model()->rowCount(start) > 0);
        QTest::keyClick(f.tree, Qt::Key_Down);
        QCOMPARE(f.tree->currentIndex().parent(), QModelIndex(start));
        QCOMPARE(f.chooser->SelectedDirectory, f.native(shownDirectory("MixedCase")));
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
        QCOMPARE(f.edit("jikko%1_Edit", 4)->text(), chosen);
        QVERIFY(f.editor->isEnabled());

        f.editor->browse(5);
        QTest::keyClick(f.list, Qt::Key_Escape);
        QVERIFY(!f.chooser->isVisible());
        QCOMPARE(f.edit("jikko%1_Edit", 5)->text(), QStringLiteral("program 5"));
        QVERIFY(f.editor->isEnabled());
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
        f.editor->browse(1);
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
        QCOMPARE(f.chooser->SelectedDirectory, f.native("tools"));
        QCOMPARE(f.pathBox->text(), shown);
    }

#ifdef Q_OS_UNIX
    // A drive shows its own last directory; a root keeps its single separator.
    void driveChangeShowsThatDrivesDirectory()
    {
        Fixture f({"/"});
        f.editor->browse(1);
        QVERIFY(f.openDirectory("tools"));
        QTest::keyClick(f.drives, Qt::Key_Down);
        QCOMPARE(f.chooser->SelectedDirectory, QStringLiteral("/"));
        QCOMPARE(f.pathBox->text(), QStringLiteral("/"));
        QCOMPARE(f.tree->currentIndex().data().toString(), QStringLiteral("/"));
        QTest::keyClick(f.drives, Qt::Key_Up);
        QCOMPARE(f.pathBox->text(), f.nativeDir("tools"));
        QCOMPARE(QDir::currentPath(), f.start);
    }
#endif

    // Not a check: with NERUBATO_SHOTS_DIR set, saves chooser.png there.
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("NERUBATO_SHOTS_DIR");
        if (dir.isEmpty())
            QSKIP("NERUBATO_SHOTS_DIR is not set");
        Fixture f;
        for (const char *name : {"backup.exe", "install.exe", "launcher.exe", "notes.txt"})
            f.work.write(QStringLiteral("tools/") + QString::fromLatin1(name), "x");
        f.editor->browse(1);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        QTRY_COMPARE(f.listNames().size(), 5);
        QVERIFY(f.chooser->grab().save(QDir(dir).filePath("chooser.png")));
    }
};

QTEST_MAIN(TestChooser)
#include "tst_chooser.moc"
