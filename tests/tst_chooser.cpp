#include "chooser/PathComposition.h"
#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/Cp932.h"
#include "shell/Messages.h"
#include "shell/WindowSet.h"
#include "testsupport.h"

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <memory>

using namespace nerubato;

namespace {

// A program chooser over a small tree in a fresh current directory:
//   setup.exe readme.txt .hidden.exe readonly.exe  tools/setup.exe  表/prog.exe
//   MixedCase/Setup.EXE  sub/.profile  sub/inner/   (plus, on Unix, a FIFO and a
//   dangling link: "system" entries)
class Fixture
{
public:
    explicit Fixture(const QStringList &extraDrives = {})
    {
        const QDir root(work.path());
        for (const char *dir : {"tools", "表", "MixedCase", "sub", "sub/inner"})
            root.mkdir(QString::fromUtf8(dir));
        for (const char *file :
             {"setup.exe", "readme.txt", ".hidden.exe", "readonly.exe", "tools/setup.exe",
              "表/prog.exe", "MixedCase/Setup.EXE", "sub/.profile"})
            work.write(QString::fromUtf8(file), "x");
        QFile::setPermissions(work.file(QStringLiteral("readonly.exe")), QFile::ReadOwner);
#ifdef Q_OS_UNIX
        ::mkfifo(QFile::encodeName(work.file(QStringLiteral("pipe.exe"))).constData(), 0600);
        QFile::link(work.file(QStringLiteral("gone.exe")),
                    work.file(QStringLiteral("dangling.exe")));
#endif
        start = QDir::currentPath();
        platform.fakeDrives = QStringList{QDir::toNativeSeparators(start)} + extraDrives;
        windows = std::make_unique<WindowSet>(platform);
        auto *listed = qobject_cast<QAbstractProxyModel *>(list()->model())->sourceModel();
        loaded = std::make_unique<QSignalSpy>(qobject_cast<QFileSystemModel *>(listed),
                                              &QFileSystemModel::directoryLoaded);
        for (int n = 1; n <= 5; ++n) {
            jikko(n)->setText(QStringLiteral("program %1").arg(n));
            sw(n)->setText(QStringLiteral("arguments %1").arg(n));
        }
    }

    TForm1 *editor()
    {
        return windows->forms().Form1;
    }
    TsForm *chooser()
    {
        return windows->forms().sForm;
    }
    template <typename T> T *control(const char *name)
    {
        return chooser()->findChild<T *>(QString::fromLatin1(name));
    }
    QTreeView *tree()
    {
        return control<QTreeView>("Dirline");
    }
    QListView *list()
    {
        return control<QListView>("FileLBox");
    }
    QLineEdit *pathBox()
    {
        return control<QLineEdit>("Pass_Edit");
    }
    QComboBox *drives()
    {
        return control<QComboBox>("DriveCBox");
    }
    QLineEdit *jikko(int n)
    {
        return editor()->findChild<QLineEdit *>(QStringLiteral("jikko%1_Edit").arg(n));
    }
    QLineEdit *sw(int n)
    {
        return editor()->findChild<QLineEdit *>(QStringLiteral("sw%1_Edit").arg(n));
    }

    // What the user sees: native separators.
    QString native(const QString &relative) const
    {
        return QDir::toNativeSeparators(relative.isEmpty() ? start : start + u'/' + relative);
    }

    QString path(const QString &relative) const
    {
        return relative.isEmpty() ? start : start + u'/' + relative;
    }

    // True once the list has read the directory through, since the last call.
    bool waitLoaded(const QString &relative)
    {
        const bool done = QTest::qWaitFor([&] {
            for (const QList<QVariant> &signal : *loaded) {
                if (signal.value(0).toString() == path(relative))
                    return true;
            }
            return false;
        });
        loaded->clear();
        return done;
    }

    QStringList listNames()
    {
        QStringList names;
        const QModelIndex root = list()->rootIndex();
        for (int row = 0; row < list()->model()->rowCount(root); ++row)
            names << list()->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    }

    // Clicks the directory's row in the tree, as the user would.
    bool openDirectory(const QString &relative)
    {
        auto *proxy = qobject_cast<QAbstractProxyModel *>(tree()->model());
        auto *files = qobject_cast<QFileSystemModel *>(proxy->sourceModel());
        const QPersistentModelIndex index = proxy->mapFromSource(files->index(path(relative)));
        if (!index.isValid())
            return false;
        tree()->scrollTo(index);
        if (!QTest::qWaitFor([&] { return tree()->visualRect(index).isValid(); }))
            return false;
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          tree()->visualRect(index).center());
        return tree()->currentIndex() == index;
    }

    QModelIndex fileRow(const QString &name)
    {
        QModelIndex found;
        QTest::qWaitFor([&] {
            const QModelIndex root = list()->rootIndex();
            for (int row = 0; row < list()->model()->rowCount(root); ++row) {
                const QModelIndex index = list()->model()->index(row, 0, root);
                if (index.data().toString() == name && list()->visualRect(index).isValid()) {
                    found = index;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    bool clickFile(const QString &name)
    {
        const QModelIndex index = fileRow(name);
        if (!index.isValid())
            return false;
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(index).center());
        return true;
    }

    test::WorkDir work;
    QString start;
    test::FakePlatform platform;
    std::unique_ptr<WindowSet> windows;
    std::unique_ptr<QSignalSpy> loaded;
};

const QStringList kRootFiles = {QStringLiteral("readme.txt"), QStringLiteral("readonly.exe"),
                                QStringLiteral("setup.exe")};

} // namespace

class TestChooser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installLook(); }

    void composesThePathBox_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("expected");

        const QChar back = u'\\', slash = u'/';
        QTest::newRow("drive root: no doubled separator") << "a:\\"
                                                          << "setup.exe" << back << "a:\\setup.exe";
        QTest::newRow("directory") << "a:\\tools"
                                   << "setup.exe" << back << "a:\\tools\\setup.exe";
        QTest::newRow("ends in 表") << "a:\\表"
                                    << "setup.exe" << back << "a:\\表\\setup.exe";
        QTest::newRow("nothing selected") << "a:\\tools"
                                          << "" << back << "a:\\tools\\";
        QTest::newRow("root, nothing selected") << "a:\\"
                                                << "" << back << "a:\\";
        QTest::newRow("unix root") << "/"
                                   << "setup" << slash << "/setup";
        QTest::newRow("unix, ends in 表") << "/home/表"
                                          << "setup" << slash << "/home/表/setup";
        QTest::newRow("no directory yet") << ""
                                          << "setup.exe" << back << "setup.exe";
    }
    void composesThePathBox()
    {
        QFETCH(QString, directory);
        QFETCH(QString, name);
        QFETCH(QChar, separator);
        QFETCH(QString, expected);
        QCOMPARE(composePath(directory, name, separator), expected);
    }

    // In CP932 表 is 0x95 0x5C and ソ is 0x83 0x5C: the trail byte is no separator.
    void composesCp932Bytes_data()
    {
        QTest::addColumn<QByteArray>("directory");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("drive root") << QByteArray("a:\\") << QByteArray("a:\\setup.exe");
        QTest::newRow("directory") << QByteArray("a:\\tools") << QByteArray("a:\\tools\\setup.exe");
        QTest::newRow("ends in 表")
            << QByteArray("a:\\\x95\x5C") << QByteArray("a:\\\x95\x5C\\setup.exe");
        QTest::newRow("ends in ソ")
            << QByteArray("a:\\\x83\x5C") << QByteArray("a:\\\x83\x5C\\setup.exe");
        QTest::newRow("表 then a separator")
            << QByteArray("a:\\\x95\x5C\\") << QByteArray("a:\\\x95\x5C\\setup.exe");
    }
    void composesCp932Bytes()
    {
        QFETCH(QByteArray, directory);
        QFETCH(QByteArray, expected);
        QCOMPARE(composePath(directory, QByteArray("setup.exe")), expected);
        QCOMPARE(cp932::decode(expected),
                 composePath(cp932::decode(directory), QStringLiteral("setup.exe"), u'\\'));
    }

    void firstOpeningShowsTheCurrentDirectory()
    {
        Fixture f;
        f.editor()->browse(1);
        QVERIFY(f.chooser()->isVisible());
        QVERIFY(!f.editor()->isEnabled());
        QTRY_COMPARE(f.listNames(), kRootFiles);
        QCOMPARE(f.chooser()->SelectedDirectory, f.native(""));
        QCOMPARE(f.pathBox()->text(), f.native("") + QDir::separator());
        QCOMPARE(f.drives()->currentText(), f.native(""));
        QVERIFY(f.pathBox()->isReadOnly());
    }

    // The list keeps to plain files, whatever it showed before; read-only ones count.
    void fileListShowsPlainFilesOnly_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("top directory") << QStringList{""} << kRootFiles;
        QTest::newRow("subdirectory") << QStringList{"tools"} << QStringList{"setup.exe"};
        QTest::newRow("back from a subdirectory") << QStringList{"tools", ""} << kRootFiles;
        QTest::newRow("a hidden file and a directory only")
            << QStringList{"tools", "sub"} << QStringList{};
    }
    void fileListShowsPlainFilesOnly()
    {
        QFETCH(QStringList, visits);
        QFETCH(QStringList, expected);
        Fixture f;
        f.editor()->browse(1);
        QVERIFY(f.waitLoaded(""));
        for (const QString &directory : visits) {
            if (directory.isEmpty() && f.chooser()->SelectedDirectory == f.native(""))
                continue;
            QVERIFY(f.openDirectory(directory));
            QVERIFY(f.waitLoaded(directory));
        }
        QCOMPARE(f.listNames(), expected);
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
        f.editor()->browse(1);
        QVERIFY(f.openDirectory(directory));
        QVERIFY(f.clickFile(file));
        QCOMPARE(f.chooser()->SelectedFileName, file);
        QCOMPARE(f.chooser()->SelectedDirectory, f.native(directory));
        QCOMPARE(f.pathBox()->text(), f.native(directory) + QDir::separator() + file);
    }

    void directoryChangeClearsTheSelection()
    {
        Fixture f;
        f.editor()->browse(1);
        QVERIFY(f.clickFile("setup.exe"));
        QVERIFY(f.openDirectory("tools"));
        QCOMPARE(f.chooser()->SelectedFileName, QString());
        QVERIFY(!f.list()->selectionModel()->hasSelection());
        QCOMPARE(f.pathBox()->text(), f.native("tools") + QDir::separator());
        QTest::mouseClick(f.control<QPushButton>("oK_Btn"), Qt::LeftButton);
        QCOMPARE(f.jikko(1)->text(), f.native("tools") + QDir::separator());
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
        f.editor()->browse(target);
        QVERIFY(f.openDirectory("tools"));
        const QModelIndex row = f.fileRow("setup.exe");
        QVERIFY(row.isValid());
        const QPoint at = f.list()->visualRect(row).center();
        // A double click arrives as a click, then the double-click event.
        QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {}, at);
        if (doubleClick)
            QTest::mouseDClick(f.list()->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(f.control<QPushButton>("oK_Btn"), Qt::LeftButton);
        const QString chosen = f.native("tools") + QDir::separator() + "setup.exe";
        QCOMPARE(f.pathBox()->text(), chosen);
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(f.jikko(n)->text(),
                     n == target ? chosen : QStringLiteral("program %1").arg(n));
            QCOMPARE(f.sw(n)->text(), QStringLiteral("arguments %1").arg(n));
        }
        QVERIFY(f.editor()->isEnabled());
        QVERIFY(!f.chooser()->isVisible());
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
        f.editor()->browse(2);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        const QString shown = f.pathBox()->text();
        if (throughFrame)
            QVERIFY(f.chooser()->close());
        else
            QTest::mouseClick(f.control<QPushButton>("Button1"), Qt::LeftButton);
        QVERIFY(!f.chooser()->isVisible());
        QVERIFY(f.editor()->isEnabled());
        QCOMPARE(f.jikko(2)->text(), QStringLiteral("program 2"));

        f.editor()->browse(2);
        QCOMPARE(f.pathBox()->text(), shown);
        QCOMPARE(f.chooser()->SelectedDirectory, f.native("tools"));
        QCOMPARE(f.chooser()->SelectedFileName, QStringLiteral("setup.exe"));
        const QModelIndexList selected = f.list()->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().data().toString(), QStringLiteral("setup.exe"));
        QCOMPARE(f.tree()->currentIndex().data().toString(), QStringLiteral("tools"));
    }

    // Hidden directories stay out of the tree, except on the way to where the
    // chooser opened; the list's own directory may be hidden too.
    void opensInsideAHiddenDirectory()
    {
        Fixture f;
        QVERIFY(QDir(f.start).mkpath(".tools/inner"));
        f.work.write(".tools/tool.exe", "x");
        QVERIFY(QDir::setCurrent(f.path(".tools")));
        f.editor()->browse(1);
        QVERIFY(f.waitLoaded(".tools"));
        QCOMPARE(f.listNames(), QStringList{"tool.exe"});
        QCOMPARE(f.tree()->currentIndex().data().toString(), QStringLiteral(".tools"));
        QVERIFY(f.openDirectory(".tools/inner"));
        QVERIFY(f.openDirectory(".tools"));
        QVERIFY(f.waitLoaded(".tools"));
        QVERIFY(f.clickFile("tool.exe"));
        QCOMPARE(f.pathBox()->text(), f.native(".tools/tool.exe"));
    }

    void invalidDriveReturnsToThePreviousDrive()
    {
        Fixture f({QStringLiteral("/nerubato-no-such-drive")});
        f.editor()->browse(1);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        const QString shown = f.pathBox()->text();

        test::MessageAnswerer answer(QStringLiteral("OK"));
        QTest::keyClick(f.drives(), Qt::Key_Down);
        QTRY_VERIFY(answer.seen().seen);
        QCOMPARE(answer.seen().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(answer.seen().text, QStringLiteral("無効なドライブが指定されました"));
        QCOMPARE(answer.seen().icon, QMessageBox::Critical);
        QCOMPARE(answer.seen().buttons, QStringList{"OK"});
        QCOMPARE(f.platform.beeps, 1);
        QCOMPARE(f.drives()->currentText(), f.native(""));
        QCOMPARE(f.chooser()->SelectedDirectory, f.native("tools"));
        QCOMPARE(f.pathBox()->text(), shown);
        QVERIFY(f.chooser()->isVisible());
    }

#ifdef Q_OS_UNIX
    // A drive shows its own last directory; a root keeps its single separator.
    void driveChangeShowsThatDrivesDirectory()
    {
        Fixture f({QStringLiteral("/")});
        QCOMPARE(f.drives()->itemText(1), QStringLiteral("/"));
        f.editor()->browse(1);
        QVERIFY(f.openDirectory("tools"));
        QTest::keyClick(f.drives(), Qt::Key_Down);
        QCOMPARE(f.chooser()->SelectedDirectory, QStringLiteral("/"));
        QCOMPARE(f.pathBox()->text(), QStringLiteral("/"));
        QCOMPARE(f.tree()->currentIndex().data().toString(), QStringLiteral("/"));
        QTest::keyClick(f.drives(), Qt::Key_Up);
        QCOMPARE(f.chooser()->SelectedDirectory, f.native("tools"));
        QCOMPARE(f.pathBox()->text(), f.native("tools") + QDir::separator());
        QCOMPARE(f.platform.beeps, 0);
    }
#endif

    void browsingLeavesTheCurrentDirectory()
    {
        Fixture f;
        f.editor()->browse(4);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        QVERIFY(f.openDirectory("表"));
        QCOMPARE(QDir::currentPath(), f.start);
        QTest::mouseClick(f.control<QPushButton>("oK_Btn"), Qt::LeftButton);
        QCOMPARE(QDir::currentPath(), f.start);
        QCOMPARE(f.jikko(4)->text(), f.native("表") + QDir::separator());
    }

    // Not a test: with NERUBATO_SHOTS_DIR set, saves chooser.png there.
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("NERUBATO_SHOTS_DIR");
        if (dir.isEmpty())
            QSKIP("NERUBATO_SHOTS_DIR is not set");
        Fixture f;
        for (const char *name : {"backup.exe", "install.exe", "launcher.exe", "notes.txt"})
            f.work.write(QStringLiteral("tools/") + QString::fromLatin1(name), "x");
        f.editor()->browse(1);
        QVERIFY(f.openDirectory("tools"));
        QVERIFY(f.clickFile("setup.exe"));
        QTest::qWait(200);
        QVERIFY(f.chooser()->grab().save(QDir(dir).filePath("chooser.png")));
    }
};

QTEST_MAIN(TestChooser)
#include "tst_chooser.moc"
