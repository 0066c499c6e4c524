// The file chooser's pure rules: how a path box is composed, the order of
// names, the steps from one listing to the next, the names Windows shows.
#include "chooser/core/FileNameOrder.h"
#include "chooser/core/PathComposition.h"
#include "settings/Cp932.h"

#include <QTest>

using namespace nerubato;

class TestChooserCore : public QObject
{
    Q_OBJECT

private slots:
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

    // The order a file list is expected in, whatever the script or the case.
    void namesCompareAsAFileListOrdersThem_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("case ignored") << "apple.exe"
                                      << "Banana.exe";
        QTest::newRow("case ignored, upper first") << "APPLE.exe"
                                                   << "banana.exe";
        QTest::newRow("numbers by value") << "file9.exe"
                                          << "file10.exe";
        QTest::newRow("leading zeros do not count") << "file007.exe"
                                                    << "file8.exe";
        QTest::newRow("long numbers") << "v99999999999999999999"
                                      << "v100000000000000000000";
        QTest::newRow("full-width digits by value") << "ファイル９"
                                                    << "ファイル１０";
        QTest::newRow("digits before letters") << "a1.exe"
                                               << "ab.exe";
        QTest::newRow("dot before digits") << "a.exe"
                                           << "a1.exe";
        QTest::newRow("prefix first") << "setup"
                                      << "setup.exe";
        QTest::newRow("Latin before kana") << "zeta.exe"
                                           << "あ.exe";
        QTest::newRow("same letters: fixed order by case") << "README"
                                                           << "readme";
        QTest::newRow("same number: fixed order by its digits") << "x01"
                                                                << "x1";
    }
    void namesCompareAsAFileListOrdersThem()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QCOMPARE(compareFileNames(first, second), -1);
        QCOMPARE(compareFileNames(second, first), 1);
        QCOMPARE(compareFileNames(first, first), 0);
        QStringList names{second, first};
        sortFileNames(names);
        QCOMPARE(names, (QStringList{first, second}));
    }

    // Turning one listing into the next keeps every row whose name is in both.
    void diffKeepsTheNamesInBoth_data()
    {
        QTest::addColumn<QStringList>("old");
        QTest::addColumn<QStringList>("fresh");
        const QStringList abc{"a", "b", "c"};
        QTest::newRow("nothing changed") << abc << abc;
        QTest::newRow("added at both ends") << abc << QStringList{"0", "a", "b", "c", "d"};
        QTest::newRow("removed at both ends") << abc << QStringList{"b"};
        QTest::newRow("replaced in the middle")
            << QStringList{"a", "b", "c", "d"} << QStringList{"a", "bb", "bc", "d"};
        QTest::newRow("interleaved")
            << QStringList{"a", "c", "e", "g"} << QStringList{"b", "c", "d", "g", "h"};
        QTest::newRow("all replaced") << abc << QStringList{"x", "y"};
        QTest::newRow("from nothing") << QStringList{} << abc;
        QTest::newRow("to nothing") << abc << QStringList{};
        QTest::newRow("numbers by value")
            << QStringList{"f2", "f10"} << QStringList{"f1", "f2", "f3", "f10", "f11"};
    }
    void diffKeepsTheNamesInBoth()
    {
        QFETCH(QStringList, old);
        QFETCH(QStringList, fresh);
        QStringList rows = old;
        qsizetype removed = 0;
        qsizetype inserted = 0;
        for (const NameRun &run : diffNames(old, old.size(), fresh, fresh.size())) {
            QVERIFY(run.count > 0);
            if (run.from < 0) {
                rows.remove(run.row, run.count);
                removed += run.count;
            } else {
                for (qsizetype k = 0; k < run.count; ++k)
                    rows.insert(run.row + k, fresh.at(run.from + k));
                inserted += run.count;
            }
        }
        QCOMPARE(rows, fresh);
        const auto missingFrom = [](const QStringList &names, const QStringList &other) {
            return std::count_if(names.begin(), names.end(),
                                 [&](const QString &name) { return !other.contains(name); });
        };
        QCOMPARE(removed, missingFrom(old, fresh));
        QCOMPARE(inserted, missingFrom(fresh, old));
    }

    // Windows shows a directory in lower case, letters A to Z only.
    void lowerCaseTouchesOnlyTheLettersAToZ()
    {
        QCOMPARE(lowerAsciiLetters(QStringLiteral("C:\\Program Files\\ＡＢＣ表Ä")),
                 QStringLiteral("c:\\program files\\ＡＢＣ表Ä"));
    }
};

QTEST_GUILESS_MAIN(TestChooserCore)
#include "tst_chooser_core.moc"
