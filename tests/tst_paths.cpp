#include "settings/Cp932.h"
#include "settings/PathParts.h"

#include <QTest>

using namespace nerubato;

class TestPaths : public QObject
{
    Q_OBJECT

private slots:
    void splitAndJoin_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<QByteArray>("directory");
        QTest::addColumn<QByteArray>("readBack");
        QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("name only") << QByteArray("APP.EXE") << QByteArray("APP.EXE") << QByteArray()
                                   << QByteArray("APP.EXE");
        QTest::newRow("drive root") << QByteArray("C:\\APP.EXE") << QByteArray("APP.EXE")
                                    << QByteArray("C:\\") << QByteArray("C:\\APP.EXE");
        QTest::newRow("directory") << QByteArray("C:\\TOOLS\\APP.EXE") << QByteArray("APP.EXE")
                                   << QByteArray("C:\\TOOLS") << QByteArray("C:\\TOOLS\\APP.EXE");
        QTest::newRow("bare drive") << QByteArray("C:APP.EXE") << QByteArray("APP.EXE")
                                    << QByteArray("C:") << QByteArray("C:APP.EXE");
        QTest::newRow("leading backslash") << QByteArray("\\APP.EXE") << QByteArray("APP.EXE")
                                           << QByteArray("\\") << QByteArray("\\APP.EXE");
        QTest::newRow("trailing backslash") << QByteArray("C:\\TOOLS\\") << QByteArray()
                                            << QByteArray("C:\\TOOLS") << QByteArray("C:\\TOOLS\\");
        QTest::newRow("unc") << QByteArray("\\\\SRV\\A.EXE") << QByteArray("A.EXE")
                             << QByteArray("\\\\SRV") << QByteArray("\\\\SRV\\A.EXE");
        QTest::newRow("two leading backslashes") << QByteArray("\\\\A.EXE") << QByteArray("A.EXE")
                                                 << QByteArray("\\\\") << QByteArray("\\\\A.EXE");
        // ソ and 表 end in 0x5C, which must not split the path.
        QTest::newRow("so at end of directory")
            << QByteArray("C:\\\x83\x5C\\A.EXE") << QByteArray("A.EXE")
            << QByteArray("C:\\\x83\x5C") << QByteArray("C:\\\x83\x5C\\A.EXE");
        QTest::newRow("hyo at end of directory")
            << QByteArray("C:\\DATA\x95\x5C\\B.EXE") << QByteArray("B.EXE")
            << QByteArray("C:\\DATA\x95\x5C") << QByteArray("C:\\DATA\x95\x5C\\B.EXE");
        QTest::newRow("hyo in file name")
            << QByteArray("C:\\\x95\x5C.EXE") << QByteArray("\x95\x5C.EXE") << QByteArray("C:\\")
            << QByteArray("C:\\\x95\x5C.EXE");
        // Short relative directories get a separator when read back.
        QTest::newRow("parent directory") << QByteArray("..\\app.exe") << QByteArray("app.exe")
                                          << QByteArray("..") << QByteArray("..\\app.exe");
        QTest::newRow("two letters") << QByteArray("ab\\app.exe") << QByteArray("app.exe")
                                     << QByteArray("ab") << QByteArray("ab\\app.exe");
        QTest::newRow("so alone") << QByteArray("\x83\x5C\\app.exe") << QByteArray("app.exe")
                                  << QByteArray("\x83\x5C") << QByteArray("\x83\x5C\\app.exe");
        // A lead byte takes the byte after it whatever that byte is, a ':' too,
        // although decode() shows such a ':' as itself.
        QTest::newRow("colon after a lead byte")
            << QByteArray("C:\\\x81:A.EXE") << QByteArray("\x81:A.EXE") << QByteArray("C:\\")
            << QByteArray("C:\\\x81:A.EXE");
        QTest::newRow("lead byte and colon as a directory")
            << QByteArray("\x81:\\A.EXE") << QByteArray("A.EXE") << QByteArray("\x81:")
            << QByteArray("\x81:\\A.EXE");
        QTest::newRow("lone lead byte at the end") << QByteArray("C:\\A\x81") << QByteArray("A\x81")
                                                   << QByteArray("C:\\") << QByteArray("C:\\A\x81");
    }

    void splitAndJoin()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, fileName);
        QFETCH(QByteArray, directory);
        QFETCH(QByteArray, readBack);
        const PathParts parts = splitPath(path);
        QCOMPARE(parts.fileName, fileName);
        QCOMPARE(parts.directory, directory);
        QCOMPARE(joinPath(parts.directory, parts.fileName), readBack);
    }

    void longFileNamesAreCut_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("stored");
        const QByteArray ascii(300, 'a');
        QTest::newRow("ascii") << ascii << ascii.left(255);
        // Byte 255 is a lead byte: the character goes whole, not half.
        const QByteArray split = QByteArray(254, 'a') + "\x95\x5C" + "bcd";
        QTest::newRow("lead byte at 255") << split << QByteArray(254, 'a');
        // Nor half of a lead byte and the byte it takes, a space or anything else.
        const QByteArray space = QByteArray(254, 'a') + "\x81 bcd";
        QTest::newRow("lead byte at 255, a space after it") << space << QByteArray(254, 'a');
        const QByteArray fits = QByteArray(253, 'a') + "\x95\x5C" + "bcd";
        QTest::newRow("character ends at 255") << fits << fits.left(255);
        const QByteArray exact(255, 'z');
        QTest::newRow("exactly 255") << exact << exact;
    }

    void longFileNamesAreCut()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, stored);
        const PathParts parts = splitPath("C:\\TOOLS\\" + name);
        QCOMPARE(parts.fileName, stored);
        QCOMPARE(parts.directory, QByteArray("C:\\TOOLS"));
        QVERIFY(!cp932::decode(parts.fileName).contains(QChar::ReplacementCharacter));
    }

    void directoriesHaveNoLimit()
    {
        const QByteArray dir = "C:\\" + QByteArray(600, 'd');
        QCOMPARE(splitPath(dir + "\\x.exe").directory, dir);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
