#include "chooser/DirectoryTreeModel.h"
#include "chooser/FileListModel.h"
#include "chooser/PathComposition.h"
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/Cp932.h"
#include "shell/Messages.h"
#include "shell/WindowSet.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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
        platform.fakeDrives = QStringList{QDir::toNativeSeparators(start)} + moreDrives;
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
    QString native(const QString &relative) const
    {
        return QDir::toNativeSeparators(path(relative));
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
                return s.value(0).toString() == path(relative);
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

    // Rows in CP932, where 表 is 0x95 0x5C and ソ is 0x83 0x5C: a trail byte is
    // no separator. The QString form must agree once decoded.
    void composesThePathBox_data()
    {
        QTest::addColumn<QByteArray>("directory");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("root: no doubled separator")
            << QByteArray("a:\\") << QByteArray("x.exe") << QByteArray("a:\\x.exe");
        QTest::newRow("directory")
            << QByteArray("a:\\tools") << QByteArray("x.exe") << QByteArray("a:\\tools\\x.exe");
        QTest::newRow("ends in 表") << QByteArray("a:\\\x95\x5C") << QByteArray("x.exe")
                                    << QByteArray("a:\\\x95\x5C\\x.exe");
        QTest::newRow("ends in ソ, nothing selected")
            << QByteArray("a:\\\x83\x5C") << QByteArray() << QByteArray("a:\\\x83\x5C\\");
        QTest::newRow("表 and a separator") << QByteArray("a:\\\x95\x5C\\") << QByteArray("x.exe")
                                            << QByteArray("a:\\\x95\x5C\\x.exe");
        QTest::newRow("root, nothing selected")
            << QByteArray("a:\\") << QByteArray() << QByteArray("a:\\");
        QTest::newRow("no directory yet")
            << QByteArray() << QByteArray("x.exe") << QByteArray("x.exe");
    }
    void composesThePathBox()
    {
        QFETCH(QByteArray, directory);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, expected);
        QCOMPARE(composePath(directory, name), expected);
        QCOMPARE(composePath(cp932::decode(directory), cp932::decode(name), u'\\'),
                 cp932::decode(expected));
        // The same with '/' for a separator, as on Linux.
        QString slashed = cp932::decode(directory).replace(u'\\', u'/');
        QCOMPARE(composePath(slashed, cp932::decode(name), u'/'),
                 cp932::decode(expected).replace(u'\\', u'/'));
    }

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
