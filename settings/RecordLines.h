#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string_view>

// The 49 lines of a schedule file, each once: the field it holds, how it is
// written, the range of a number, and what it means. The editor's writing and
// reading and the runner's checks all go by this table, and it is the
// glossary of the fields' names, which are romanised Japanese:
//
//   kidobi 起動日 start day      yobi 曜日 weekday       kido 起動 start
//   sokuji 即時 at once          kara から from          made まで until
//   ikkai 一回 once (a day)      jikko 実行 run          sw switches: arguments
//   dokuritu 独立 independent    jikansa 時間差 delay    kensyutu the beep's time
//   syuryo 終了 end (Windows)    syosai 詳細 details     yoyakugo 予約語 reserved word
//   kidojiymd 起動時 yymmdd: the day of the start      siteiymd 指定 yymmdd: a set day
namespace nerubato {

enum class Field : unsigned char {
    kidobi_Flag,
    kidobi_Date,
    yobi_Days,
    kido_Mode,
    kara_Time,
    made_Time,
    timer_Time,
    kensyutu_Sec,
    message_Sec,
    jikko_Path,
    sw_Args,
    dokuritu_Flag,
    syuryo_Mode,
    syuryo2_Time,
    yobi_Flag,
    ikkai_Flag,
    syosai_Mode,
    minimize_Mode,
    jikansa_Min,
    smallstart_Flag,
    shutdown_Mode,
    yoyakugo_Flag,
    yoyakugo_Mode,
    siteiymd_Date,
};

enum class LineKind : unsigned char {
    Flag,      // "true" is on; any other text is off
    Choice,    // one of `values`; any other text reads as `otherwise`
    Time,      // "HH:MM", 00:00 to 23:59
    MonthDay,  // "MM/DD" of a leap year
    Date,      // "yymmdd"
    Number,    // decimal, no leading zero, minimum to maximum
    Text,      // any bytes
    FileName,  // a path's file-name part
    Directory, // a path's directory part, read just before its file name
};

struct RecordLine
{
    int line;
    Field field;
    // Of an array field: yobi_Days from Sunday; jikko_Path and sw_Args 0 to 4
    // for programs 1 to 5; dokuritu_Flag and jikansa_Min 0 to 3 for 2 to 5.
    int entry;
    LineKind kind;
    // A flag's or choice's texts, by the value of its enum (a flag: off, on).
    std::array<std::string_view, 3> values;
    int otherwise;
    int minimum, maximum;
    std::string_view ja, en;
};

namespace lines {

constexpr RecordLine flag(int line, Field field, int entry, std::string_view ja,
                          std::string_view en)
{
    return {line, field, entry, LineKind::Flag, {"false", "true"}, 0, 0, 0, ja, en};
}

constexpr RecordLine choice(int line, Field field, std::array<std::string_view, 3> values,
                            int otherwise, std::string_view ja, std::string_view en)
{
    return {line, field, 0, LineKind::Choice, values, otherwise, 0, 0, ja, en};
}

constexpr RecordLine text(int line, Field field, int entry, LineKind kind, std::string_view ja,
                          std::string_view en)
{
    return {line, field, entry, kind, {}, 0, 0, 0, ja, en};
}

constexpr RecordLine number(int line, Field field, int entry, int minimum, int maximum,
                            std::string_view ja, std::string_view en)
{
    return {line, field, entry, LineKind::Number, {}, 0, minimum, maximum, ja, en};
}

} // namespace lines

// clang-format off
inline constexpr std::array<RecordLine, 49> kRecordLines{{
    lines::flag(1, Field::kidobi_Flag, 0, "起動日を指定する", "start on one day of the year only"),
    lines::text(2, Field::kidobi_Date, 0, LineKind::MonthDay, "起動日", "that day"),
    lines::flag(3, Field::yobi_Days, 0, "日曜日に起動", "start on Sundays"),
    lines::flag(4, Field::yobi_Days, 1, "月曜日に起動", "start on Mondays"),
    lines::flag(5, Field::yobi_Days, 2, "火曜日に起動", "start on Tuesdays"),
    lines::flag(6, Field::yobi_Days, 3, "水曜日に起動", "start on Wednesdays"),
    lines::flag(7, Field::yobi_Days, 4, "木曜日に起動", "start on Thursdays"),
    lines::flag(8, Field::yobi_Days, 5, "金曜日に起動", "start on Fridays"),
    lines::flag(9, Field::yobi_Days, 6, "土曜日に起動", "start on Saturdays"),
    lines::choice(10, Field::kido_Mode, {"true", "false"}, 1,
                  "即時起動 (true) かタイマー起動 (false) か", "start at once (true) or at a time (false)"),
    lines::text(11, Field::kara_Time, 0, LineKind::Time, "この時刻から", "at once from this time"),
    lines::text(12, Field::made_Time, 0, LineKind::Time, "この時刻までの間なら起動", "until this time"),
    lines::text(13, Field::timer_Time, 0, LineKind::Time, "タイマー起動の時刻", "the time of a timed start"),
    lines::number(14, Field::kensyutu_Sec, 0, 0, 900, "ビープ音発生時間 (秒)", "seconds of beeping"),
    lines::number(15, Field::message_Sec, 0, 3, 900, "実行までのメッセージ時間 (秒)", "seconds of the countdown"),
    lines::text(16, Field::jikko_Path, 0, LineKind::FileName, "ＰＧＭ１のファイル名", "program 1's file name"),
    lines::text(17, Field::jikko_Path, 1, LineKind::FileName, "ＰＧＭ2のファイル名", "program 2's file name"),
    lines::text(18, Field::jikko_Path, 2, LineKind::FileName, "ＰＧＭ3のファイル名", "program 3's file name"),
    lines::text(19, Field::jikko_Path, 3, LineKind::FileName, "ＰＧＭ4のファイル名", "program 4's file name"),
    lines::text(20, Field::jikko_Path, 4, LineKind::FileName, "ＰＧＭ5のファイル名", "program 5's file name"),
    lines::text(21, Field::sw_Args, 0, LineKind::Text, "ＰＧＭ１の実行時引数", "program 1's arguments"),
    lines::text(22, Field::sw_Args, 1, LineKind::Text, "ＰＧＭ2の実行時引数", "program 2's arguments"),
    lines::text(23, Field::sw_Args, 2, LineKind::Text, "ＰＧＭ3の実行時引数", "program 3's arguments"),
    lines::text(24, Field::sw_Args, 3, LineKind::Text, "ＰＧＭ4の実行時引数", "program 4's arguments"),
    lines::text(25, Field::sw_Args, 4, LineKind::Text, "ＰＧＭ5の実行時引数", "program 5's arguments"),
    lines::text(26, Field::jikko_Path, 0, LineKind::Directory, "ＰＧＭ１のフォルダ", "program 1's folder"),
    lines::text(27, Field::jikko_Path, 1, LineKind::Directory, "ＰＧＭ2のフォルダ", "program 2's folder"),
    lines::text(28, Field::jikko_Path, 2, LineKind::Directory, "ＰＧＭ3のフォルダ", "program 3's folder"),
    lines::text(29, Field::jikko_Path, 3, LineKind::Directory, "ＰＧＭ4のフォルダ", "program 4's folder"),
    lines::text(30, Field::jikko_Path, 4, LineKind::Directory, "ＰＧＭ5のフォルダ", "program 5's folder"),
    lines::flag(31, Field::dokuritu_Flag, 0, "ＰＧＭ2を独立実行する", "program 2 does not wait for the one above to end"),
    lines::flag(32, Field::dokuritu_Flag, 1, "ＰＧＭ3を独立実行する", "program 3 does not wait for the one above to end"),
    lines::flag(33, Field::dokuritu_Flag, 2, "ＰＧＭ4を独立実行する", "program 4 does not wait for the one above to end"),
    lines::flag(34, Field::dokuritu_Flag, 3, "ＰＧＭ5を独立実行する", "program 5 does not wait for the one above to end"),
    lines::choice(35, Field::syuryo_Mode, {"syuryo1", "syuryo2", "syuryo3"}, 2,
                  "全ての作業実行後 / 設定した時間に / Windowsを終了しない",
                  "end Windows after the programs, at a time, or not"),
    lines::text(36, Field::syuryo2_Time, 0, LineKind::Time, "Windowsの終了時間", "the time Windows ends"),
    lines::flag(37, Field::yobi_Flag, 0, "起動曜日を指定する", "start on the weekdays ticked only"),
    lines::flag(38, Field::ikkai_Flag, 0, "一日一度だけ起動する", "start once a day only"),
    lines::choice(39, Field::syosai_Mode, {"false", "true"}, 0,
                  "その日に起動したと見なすのはＰＧＭ起動時 (false) か全ての処理の終了時 (true) か",
                  "the day counts as used when the programs start (false) or when all have ended (true)"),
    lines::choice(40, Field::minimize_Mode, {"true", "false"}, 1,
                  "タイマー起動時に自動最小化する (true) かしない (false) か",
                  "a timed start's window minimises itself (true) or not (false)"),
    lines::number(41, Field::jikansa_Min, 0, 0, 300, "ＰＧＭ2の時間差 (分)", "program 2's delay in minutes"),
    lines::number(42, Field::jikansa_Min, 1, 0, 300, "ＰＧＭ3の時間差 (分)", "program 3's delay in minutes"),
    lines::number(43, Field::jikansa_Min, 2, 0, 300, "ＰＧＭ4の時間差 (分)", "program 4's delay in minutes"),
    lines::number(44, Field::jikansa_Min, 3, 0, 300, "ＰＧＭ5の時間差 (分)", "program 5's delay in minutes"),
    lines::flag(45, Field::smallstart_Flag, 0, "最初から最小化された状態で起動する", "the window starts minimised"),
    lines::choice(46, Field::shutdown_Mode, {"true", "false"}, 1,
                  "電源を切れる状態にする (true) か再起動する (false) か",
                  "ending Windows shuts down (true) or restarts (false)"),
    lines::flag(47, Field::yoyakugo_Flag, 0, "yymmddを予約語として使用する", "yymmdd in paths and arguments is a date"),
    lines::choice(48, Field::yoyakugo_Mode, {"kidojiymd", "siteiymd"}, 1,
                  "yymmddを起動時の年月日か指定した年月日に置き換える",
                  "yymmdd becomes the day of the start or the set day"),
    lines::text(49, Field::siteiymd_Date, 0, LineKind::Date, "置き換える年月日", "the set day"),
}};
// clang-format on

constexpr bool numberedInOrder()
{
    for (std::size_t i = 0; i < kRecordLines.size(); ++i) {
        if (kRecordLines[i].line != int(i) + 1)
            return false;
    }
    return true;
}
static_assert(numberedInOrder(), "row n of the table is line n");

// The line of a field's entry; a path's file name unless the directory is asked for.
constexpr const RecordLine &recordLine(Field field, int entry = 0, bool directory = false)
{
    for (const RecordLine &row : kRecordLines) {
        if (row.field == field && row.entry == entry &&
            (row.kind == LineKind::Directory) == directory)
            return row;
    }
    throw std::logic_error("no line for this field"); // at compile time where it is constant
}

// The value a flag's or choice's line stands for as written; none for any
// other text.
constexpr std::optional<int> writtenValue(const RecordLine &row, std::string_view text)
{
    for (std::size_t i = 0; i < row.values.size(); ++i) {
        if (!row.values[i].empty() && row.values[i] == text)
            return int(i);
    }
    return std::nullopt;
}

} // namespace nerubato
