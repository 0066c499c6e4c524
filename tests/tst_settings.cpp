#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/PathParts.h"
#include "settings/RecordLines.h"
#include "settings/RunnerContract.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"
#include "settings/ReportPoll.h"
#include "settings/StartFolder.h"
#include "testcore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <set>
#include <tuple>

using namespace nerubato;

namespace {

Lines defaultLines()
{
    return splitLines(test::defaultSettingsFile());
}

QByteArray randomBytes(QRandomGenerator &rng, int maxLength, const QByteArray &alphabet)
{
    QByteArray out;
    const int length = rng.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        out += alphabet[rng.bounded(int(alphabet.size()))];
    return out;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultRecordWritesTheDefaultFile()
    {
        const QByteArray bytes = joinLines(settingsToLines(ScheduleSettings{}));
        QCOMPARE(bytes.size(), 250);
        QCOMPARE(bytes, test::defaultSettingsFile());

        ScheduleSettings read = test::changedRecord();
        linesToSettings(defaultLines(), read);
        QCOMPARE(read, ScheduleSettings{});
    }

    void changedRecordRoundTrips()
    {
        const ScheduleSettings s = test::changedRecord();
        const Lines lines = settingsToLines(s);
        QCOMPARE(lines.size(), 49);
        ScheduleSettings read;
        linesToSettings(lines, read);
        QCOMPARE(read, s);
    }

    // The table names each field's entry once, and a line changed alone is
    // read into a record that writes it back there and nowhere else.
    void everyFieldHasExactlyOneLine()
    {
        const Lines defaults = settingsToLines(ScheduleSettings{});
        const QHash<QByteArray, QByteArray> otherValue = {
            {"true", "false"}, {"false", "true"}, {"syuryo3", "syuryo1"}, {"kidojiymd", "siteiymd"}};
        std::set<std::tuple<Field, int, bool>> fields;
        for (const RecordLine &row : kRecordLines) {
            const bool directory = row.kind == LineKind::Directory;
            fields.insert({row.field, row.entry, directory});
            Lines lines = defaults;
            QByteArray &text = lines[row.line - 1];
            text = otherValue.value(text, directory ? "C:\\x" : "x");
            ScheduleSettings read;
            linesToSettings(lines, read);
            QCOMPARE(settingsToLines(read), lines);
        }
        QCOMPARE(fields.size(), std::size_t(kSettingsLineCount));
    }

    void fallBacks_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("flag True") << 1 << QByteArray("True") << "kidobi off";
        QTest::newRow("flag spaced") << 1 << QByteArray(" true") << "kidobi off";
        QTest::newRow("flag empty") << 47 << QByteArray() << "yoyakugo off";
        QTest::newRow("kido True") << 10 << QByteArray("True") << "timer";
        QTest::newRow("kido empty") << 10 << QByteArray() << "timer";
        QTest::newRow("syuryo other") << 35 << QByteArray("syuryo4") << "syuryo3";
        QTest::newRow("syuryo case") << 35 << QByteArray("SYURYO1") << "syuryo3";
        QTest::newRow("syosai other") << 39 << QByteArray("yes") << "syosai";
        QTest::newRow("minimize other") << 40 << QByteArray("TRUE") << "nominimize";
        QTest::newRow("shutdown other") << 46 << QByteArray("1") << "reboot";
        QTest::newRow("yoyakugo empty") << 48 << QByteArray() << "siteiymd";
        QTest::newRow("yoyakugo case") << 48 << QByteArray("Kidojiymd") << "siteiymd";
    }

    void fallBacks()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        // Start from a record that holds the other value, so a fall-back that
        // merely keeps the old value is caught.
        ScheduleSettings s = test::changedRecord();
        s.kidobi_Flag = s.yoyakugo_Flag = true;
        s.kido_Mode = KidoMode::Sokuji;
        s.syuryo_Mode = SyuryoMode::Syuryo1;
        s.syosai_Mode = SyosaiMode::Syosai2;
        s.minimize_Mode = MinimizeMode::Minimize;
        s.shutdown_Mode = ShutdownMode::Shutdown;
        s.yoyakugo_Mode = YoyakugoMode::Kidojiymd;
        Lines lines = settingsToLines(s);
        lines[line - 1] = text;
        ScheduleSettings read = s;
        linesToSettings(lines, read);
        const QHash<QString, bool> outcome = {
            {"kidobi off", !read.kidobi_Flag},
            {"yoyakugo off", !read.yoyakugo_Flag},
            {"timer", read.kido_Mode == KidoMode::Timer},
            {"syuryo3", read.syuryo_Mode == SyuryoMode::Syuryo3},
            {"syosai", read.syosai_Mode == SyosaiMode::Syosai},
            {"nominimize", read.minimize_Mode == MinimizeMode::NoMinimize},
            {"reboot", read.shutdown_Mode == ShutdownMode::Reboot},
            {"siteiymd", read.yoyakugo_Mode == YoyakugoMode::Siteiymd},
        };
        QVERIFY(outcome.value(expected));
    }

    void shortFilesStopAtTheFirstMissingLine_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("48 lines") << 48;
        QTest::newRow("30 lines") << 30;
        QTest::newRow("26 lines") << 26;
        QTest::newRow("25 lines") << 25;
        QTest::newRow("15 lines") << 15;
        QTest::newRow("1 line") << 1;
        QTest::newRow("empty") << 0;
    }

    void shortFilesStopAtTheFirstMissingLine()
    {
        QFETCH(int, lineCount);
        const ScheduleSettings before = test::changedRecord();
        const ScheduleSettings full = ScheduleSettings{};
        const Lines lines = settingsToLines(full).mid(0, lineCount);

        ScheduleSettings read = before;
        try {
            linesToSettings(lines, read);
            QFAIL("a short file must fail");
        } catch (const ListIndexError &e) {
            QCOMPARE(e.text(), QStringLiteral("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています"));
        }

        // Apply the reading order by hand: a field is new exactly when every
        // line read up to and including its own is present.
        const bool upTo15 = lineCount >= 15;
        QCOMPARE(read.kidobi_Flag == full.kidobi_Flag, lineCount >= 1);
        QCOMPARE(read.message_Sec == full.message_Sec, upTo15);
        // Entry 1 needs line 26 (directory) and then line 16.
        QCOMPARE(read.jikko_Path[0] == full.jikko_Path[0], lineCount >= 26);
        QCOMPARE(read.jikko_Path[4] == full.jikko_Path[4], lineCount >= 30);
        QCOMPARE(read.sw_Args[0] == full.sw_Args[0], lineCount >= 30);
        QCOMPARE(read.jikansa_Min[3] == full.jikansa_Min[3], lineCount >= 44);
        QCOMPARE(read.yoyakugo_Mode == full.yoyakugo_Mode, lineCount >= 48);
        QCOMPARE(read.siteiymd_Date, before.siteiymd_Date);
    }

    void linesAfterTheFortyNinthAreIgnored()
    {
        Lines lines = settingsToLines(test::changedRecord());
        ScheduleSettings a, b;
        linesToSettings(lines, a);
        lines << "extra"
              << "more";
        linesToSettings(lines, b);
        QCOMPARE(b, a);
    }

    // Text fields are bytes: nothing is re-encoded, invalid CP932 included.
    void textBytesAreKeptAsTheyAre()
    {
        Lines lines = defaultLines();
        lines[20] = QByteArray("\x81\xFF\x80\xA0 \xFD", 6);
        lines[48] = QByteArray("\xE0", 1);
        ScheduleSettings s;
        linesToSettings(lines, s);
        QCOMPARE(settingsToLines(s), lines);
    }

    void splitLinesEndings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Lines>("lines");
        QTest::newRow("empty") << QByteArray() << Lines{};
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << Lines{"a", "b"};
        QTest::newRow("cr") << QByteArray("a\rb\r") << Lines{"a", "b"};
        QTest::newRow("lf") << QByteArray("a\nb\n") << Lines{"a", "b"};
        QTest::newRow("no end") << QByteArray("a\r\nb") << Lines{"a", "b"};
        QTest::newRow("lf cr is two") << QByteArray("a\n\rb") << Lines{"a", "", "b"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << Lines{"", ""};
        QTest::newRow("nul ends") << QByteArray("a\r\nb\0c\r\nd", 9) << Lines{"a", "b"};
        QTest::newRow("nul first") << QByteArray("\0a", 2) << Lines{};
    }

    void splitLinesEndings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Lines, lines);
        QCOMPARE(splitLines(bytes), lines);
    }

    // Any byte file: loading and saving settles on the first save.
    void loadSaveIsStableFromTheFirstSave()
    {
        QRandomGenerator rng(20261207);
        const QByteArray alphabet("ab\r\n\r\n\0\x81\x5C\\:", 11);
        for (int i = 0; i < 2000; ++i) {
            const QByteArray bytes = randomBytes(rng, 40, alphabet);
            const QByteArray first = joinLines(splitLines(bytes));
            const QByteArray second = joinLines(splitLines(first));
            QCOMPARE(second, first);
        }
    }

    // Generated records whose paths are in the writer's form read back unchanged.
    void generatedRecordsRoundTrip()
    {
        QRandomGenerator rng(7);
        const QByteArray nameChars("abAB.-_ \x83\x95", 10);
        for (int i = 0; i < 500; ++i) {
            ScheduleSettings s = test::changedRecord();
            for (auto &path : s.jikko_Path) {
                QByteArray p;
                const int kind = rng.bounded(5);
                const QByteArray prefix[] = {"", "C:\\", "C:", "\\", "\\\\srv\\"};
                p = prefix[kind];
                const int dirs = rng.bounded(3);
                for (int d = 0; d < dirs; ++d) {
                    QByteArray dir = randomBytes(rng, 6, "xyz") + "d";
                    if (rng.bounded(2))
                        dir += "\x83\x5C"; // a directory name ending in ソ
                    p += dir + "\\";
                }
                QByteArray name = randomBytes(rng, 8, "abc.");
                if (rng.bounded(3) == 0)
                    name += "\x95\x5C";
                p += name;
                path = p;
            }
            ScheduleSettings read;
            linesToSettings(settingsToLines(s), read);
            QCOMPARE(read.jikko_Path, s.jikko_Path);
        }
    }

    void saveAndLoadFiles()
    {
        test::WorkDir dir;
        const Lines lines = settingsToLines(test::changedRecord());
        saveLines(QDir(), "hozondt1.dat", lines);
        QCOMPARE(dir.read("hozondt1.dat"), joinLines(lines));
        QCOMPARE(loadLines(QDir(), "hozondt1.dat"), lines);
        // A shorter replacement leaves no tail of the old content.
        saveLines(QDir(), "hozondt1.dat", {"x"});
        QCOMPARE(dir.read("hozondt1.dat"), QByteArray("x\r\n"));
    }

    void missingFileCannotBeOpened()
    {
        test::WorkDir dir;
        try {
            loadLines(QDir(), "hozondt4.dat");
            QFAIL("expected an error");
        } catch (const FileOpenError &e) {
            QCOMPARE(e.text(), QStringLiteral("ﾌｧｲﾙ hozondt4.dat は開けません"));
        }
    }

    // A failed save keeps the previous file whole and leaves nothing behind.
    void saveIntoReadOnlyDirectoryKeepsTheOldFile()
    {
        NERUBATO_POSIX_ONLY();
        test::WorkDir dir;
        saveLines(QDir(), "kidodata.dat", defaultLines());
        test::makeReadOnly(dir.path());
        const Lines changed = settingsToLines(test::changedRecord());
        QVERIFY(test::asUnprivilegedUser([&] {
            try {
                saveLines(QDir(), "kidodata.dat", changed);
            } catch (const FileCreateError &e) {
                return e.text() == QStringLiteral("ﾌｧｲﾙ kidodata.dat を作成できません");
            }
            return false;
        }));
        QCOMPARE(dir.read("kidodata.dat"), test::defaultSettingsFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"kidodata.dat"});
    }

    // A slot name taken by a directory can't be written over; nothing is lost.
    void saveOverADirectoryFails()
    {
        test::WorkDir dir;
        QVERIFY(QDir(dir.path()).mkdir("hozondt2.dat"));
        QVERIFY_THROWS_EXCEPTION(FileCreateError, saveLines(QDir(), "hozondt2.dat", defaultLines()));
        QVERIFY(QFileInfo(dir.file("hozondt2.dat")).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void reportShowsTheFirstSevenLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::newRow("seven") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n")
                               << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7";
        QTest::newRow("nine") << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n")
                              << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7";
        QTest::newRow("three") << QByteArray("a\r\nb\r\nc\r\n") << "a\r\nb\r\nc";
        QTest::newRow("shift-jis") << QByteArray("\x90\xb3\x8f\xed\r\n") << QString("正常");
        QByteArray longLog = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n";
        for (int i = 0; i < 100000; ++i)
            longLog += "log line " + QByteArray::number(i) + "\r\n";
        QTest::newRow("a long log after seven lines")
            << longLog << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7";
        // The reads go 64 KiB at a time: this CR ends one, its LF starts the next.
        const QByteArray wide(65535, 'a');
        QTest::newRow("CR LF split between two reads")
            << wide + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"
            << QString::fromLatin1(wide) + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7";
        // No message box shows more: a head past a mebibyte is cut there.
        QTest::newRow("a first line of 3 MiB") << QByteArray(3 << 20, 'b') + "\r\n2\r\n"
                                               << QString(1 << 20, u'b');
    }

    void reportShowsTheFirstSevenLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        test::WorkDir dir;
        dir.write(runner::kReportFile, file);
        QCOMPARE(StartFolder(dir.path()).readReport(), shown);
    }

    // The test run's wait, tick by tick: the report found at the tick that
    // sees it, up to the 101st, with the timer idle before it is read; the wait
    // given up after 100 ticks; a second run beginning the count again; no
    // tick counted before a run.
    void reportWait_data()
    {
        QTest::addColumn<int>("restartAt"); // 0: one run
        QTest::addColumn<int>("reportAt");  // the tick that finds the report there
        QTest::addColumn<bool>("found");
        QTest::newRow("tick 4") << 0 << 4 << true;
        QTest::newRow("tick 100") << 0 << 100 << true;
        QTest::newRow("tick 101") << 0 << 101 << true;
        QTest::newRow("tick 102, given up") << 0 << 102 << false;
        QTest::newRow("run again at 60, tick 160") << 60 << 160 << true;
    }
    void reportWait()
    {
        QFETCH(int, restartAt);
        QFETCH(int, reportAt);
        QFETCH(bool, found);
        test::WorkDir dir;
        const StartFolder folder(dir.path());
        ReportPoll poll;
        for (int tick = 1; tick <= 101; ++tick) {
            QVERIFY(!poll.tick(folder));
            poll.giveUpIfDue();
        }
        QCOMPARE(poll.interval(), 800);
        poll.begin();
        for (int tick = 1; tick < reportAt; ++tick) {
            if (tick == restartAt)
                poll.begin();
            QVERIFY(!poll.tick(folder));
            poll.giveUpIfDue();
        }
        QCOMPARE(poll.interval(), found ? 800 : 36000000);
        dir.write(runner::kReportFile, "1\r\n");
        QCOMPARE(poll.tick(folder), found);
        QVERIFY(!poll.waiting());
        QCOMPARE(poll.interval(), 36000000);
        poll.giveUpIfDue();
        QVERIFY(!poll.tick(folder)); // found once
    }

    void markerIsOneLineOf66Bytes()
    {
        QCOMPARE(test::markerFileBytes().size(), 66);
        QCOMPARE(runner::markerBytes(), test::markerFileBytes());
    }

    // The same answers from ICU on Linux and from code page 932 on Windows.
    void cp932Decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString bad(QChar::ReplacementCharacter);
        QTest::newRow("ascii") << QByteArray("C:\\APP.EXE") << QStringLiteral("C:\\APP.EXE");
        QTest::newRow("kanji") << QByteArray("\x90\xb3\x8f\xed") << QStringLiteral("正常");
        QTest::newRow("so, trail 0x5C") << QByteArray("\x83\x5C") << QStringLiteral("ソ");
        QTest::newRow("half-width kana") << QByteArray("\xBA\xDD") << QStringLiteral("ｺﾝ");
        QTest::newRow("ideographic space") << QByteArray("\x81\x40") << QStringLiteral("\u3000");
        QTest::newRow("NEC circled one") << QByteArray("\x87\x40") << QStringLiteral("①");
        QTest::newRow("IBM not sign") << QByteArray("\xFA\x54") << QStringLiteral("\uFFE2");
        // Every byte under 0x80 reads as itself, beside kana too.
        QTest::newRow("control codes beside kana")
            << QByteArray("\x1A\x1C\x7F\x82\xA0") << QStringLiteral("\u001A\u001C\u007Fあ");
        QTest::newRow("user-defined") << QByteArray("\xF0\x40") << QStringLiteral("\uE000");
        QTest::newRow("stray 0x80") << QByteArray("a\x80"
                                                  "b")
                                    << QString(u'a' + bad + u'b');
        QTest::newRow("stray 0xA0") << QByteArray("\xA0") << bad;
        QTest::newRow("0xFD to 0xFF") << QByteArray("\xFD\xFE\xFF") << bad + bad + bad;
        QTest::newRow("lone lead at the end") << QByteArray("ab\x82") << QStringLiteral("ab") + bad;
        QTest::newRow("lead, then no trail") << QByteArray("\x82 x") << bad + QStringLiteral(" x");
        QTest::newRow("unassigned pair") << QByteArray("\x85\x40z") << QString(bad + u'z');
        // A lead byte pairs with a trail byte only, 0x40-0x7E or 0x80-0xFC.
        QTest::newRow("lowest and highest trail")
            << QByteArray("\x81\x80\x81\xFC") << QStringLiteral("\u00F7\u25EF");
        QTest::newRow("lead, then a colon") << QByteArray("\x81:") << QString(bad + u':');
        QTest::newRow("lead, then 0xFD") << QByteArray("\x81\xFD") << bad + bad;
    }

    void cp932Decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(cp932::decode(bytes), text);
        // One character shown is one character's bytes, valid or not.
        QCOMPARE(cp932::byteLength(bytes, text.size()), bytes.size());
    }

    // The bytes of the first characters decode() shows, for an edit that keeps them.
    void cp932ByteLengthCountsAsShown_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("length");
        QTest::newRow("ascii") << QByteArray("abc") << 2 << 2;
        QTest::newRow("hyo is one") << QByteArray("\x95\x5Cx") << 1 << 2;
        QTest::newRow("stray byte is one") << QByteArray("\xFFx") << 1 << 1;
        QTest::newRow("lead before a colon is one") << QByteArray("\x81:ab") << 1 << 1;
        QTest::newRow("lead before 0xFD is one") << QByteArray("\x81\xFD\x82\xA0x") << 3 << 4;
        QTest::newRow("more than there are") << QByteArray("a\x82\xA0") << 5 << 3;
    }

    void cp932ByteLengthCountsAsShown()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, characters);
        QFETCH(int, length);
        QCOMPARE(cp932::byteLength(bytes, characters), length);
    }

    // What a line of the settings file can hold is what CP932 can encode,
    // without what would end the line.
    void cp932Encodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("held");
        QTest::newRow("ascii") << "run.bat /q" << QByteArray("run.bat /q") << false << true;
        QTest::newRow("kanji and kana")
            << "表計算ｺﾝ" << QByteArray("\x95\x5C\x8C\x76\x8E\x5A\xBA\xDD") << false << true;
        QTest::newRow("not sign, one code") << "\uFFE2" << QByteArray("\x81\xCA") << false << true;
        QTest::newRow("fullwidth tilde") << "\uFF5E" << QByteArray("\x81\x60") << false << true;
        QTest::newRow("control codes beside kana")
            << "\u001A\u001C\u007Fあ" << QByteArray("\x1A\x1C\x7F\x82\xA0") << false << true;
        QTest::newRow("tab") << "a\tb" << QByteArray("a\tb") << false << true;
        QTest::newRow("line feed") << "a\nb" << QByteArray("a\nb") << false << false;
        QTest::newRow("carriage return after kana")
            << "あ\r" << QByteArray("\x82\xA0\r") << false << false;
        QTest::newRow("nul") << QStringLiteral("a\0b") << QByteArray("a\0b", 3) << false << false;
        QTest::newRow("replacement character") << "a\uFFFD" << QByteArray() << true << false;
        QTest::newRow("hangul") << "한" << QByteArray() << true << false;
        QTest::newRow("emoji") << "\U0001F600" << QByteArray() << true << false;
        QTest::newRow("yen sign, no best fit") << "\u00A5" << QByteArray() << true << false;
        QTest::newRow("e acute, no best fit") << "\u00E9" << QByteArray() << true << false;
        QTest::newRow("wave dash") << "\u301C" << QByteArray() << true << false;
        QTest::newRow("private use of a stray byte") << "\uF8F0" << QByteArray() << true << false;
    }

    void cp932Encodes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        QFETCH(bool, held);
        const auto encoded = cp932::encode(text);
        QCOMPARE(!encoded.has_value(), refused);
        QCOMPARE(cp932::canEncode(text), !refused);
        QCOMPARE(cp932::canHold(text), held);
        if (!refused)
            QCOMPARE(*encoded, bytes);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
