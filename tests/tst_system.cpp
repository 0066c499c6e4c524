#include "system/CommandLine.h"

#include <QTest>

using namespace nerubato;

class TestSystem : public QObject
{
    Q_OBJECT

private slots:
    // As a program built with Microsoft's C runtime reads its command line.
    void argumentsAreSplitAsOnWindows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("blanks") << " \t a  b\t" << QStringList{"a", "b"};
        QTest::newRow("an empty quoted one") << "a \"\" end" << QStringList{"a", "", "end"};
        QTest::newRow("a quoted path") << "\"C:\\Program Files\\x.txt\" /q"
                                       << QStringList{"C:\\Program Files\\x.txt", "/q"};
        QTest::newRow("quotes inside") << "a\"b c\"d" << QStringList{"ab cd"};
        QTest::newRow("backslashes alone") << "C:\\dir\\\\x\\" << QStringList{"C:\\dir\\\\x\\"};
        QTest::newRow("an escaped quote") << "\\\"a\\\"" << QStringList{"\"a\""};
        QTest::newRow("a pair before a quote") << "\"a\\\\\" b" << QStringList{"a\\", "b"};
        QTest::newRow("three before a quote") << "a\\\\\\\"b" << QStringList{"a\\\"b"};
        QTest::newRow("doubled inside quotes") << "\"a\"\"b\"" << QStringList{"a\"b"};
        QTest::newRow("left open") << "\"a b" << QStringList{"a b"};
        QTest::newRow("Japanese") << "日記 \"ソ 表\"" << QStringList{"日記", "ソ 表"};
    }
    void argumentsAreSplitAsOnWindows()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, arguments);
        QCOMPARE(splitArguments(line), arguments);
    }
};

QTEST_GUILESS_MAIN(TestSystem)
#include "tst_system.moc"
