#include "ScheduleSettings.h"

#include "Errors.h"
#include "PathParts.h"
#include "RecordLines.h"

#include <type_traits>

namespace nerubato {

namespace {

// The member of the record that a line holds (a path aside: it takes two
// lines), handed to `use` as bool &, an enum & or QByteArray &.
template <typename Record, typename Use> void withField(Record &s, const RecordLine &row, Use use)
{
    const int e = row.entry;
    switch (row.field) {
    case Field::kidobi_Flag: return use(s.kidobi_Flag);
    case Field::kidobi_Date: return use(s.kidobi_Date);
    case Field::yobi_Days: return use(s.yobi_Days[e]);
    case Field::kido_Mode: return use(s.kido_Mode);
    case Field::kara_Time: return use(s.kara_Time);
    case Field::made_Time: return use(s.made_Time);
    case Field::timer_Time: return use(s.timer_Time);
    case Field::kensyutu_Sec: return use(s.kensyutu_Sec);
    case Field::message_Sec: return use(s.message_Sec);
    case Field::jikko_Path: return use(s.jikko_Path[e]);
    case Field::sw_Args: return use(s.sw_Args[e]);
    case Field::dokuritu_Flag: return use(s.dokuritu_Flag[e]);
    case Field::syuryo_Mode: return use(s.syuryo_Mode);
    case Field::syuryo2_Time: return use(s.syuryo2_Time);
    case Field::yobi_Flag: return use(s.yobi_Flag);
    case Field::ikkai_Flag: return use(s.ikkai_Flag);
    case Field::syosai_Mode: return use(s.syosai_Mode);
    case Field::minimize_Mode: return use(s.minimize_Mode);
    case Field::jikansa_Min: return use(s.jikansa_Min[e]);
    case Field::smallstart_Flag: return use(s.smallstart_Flag);
    case Field::shutdown_Mode: return use(s.shutdown_Mode);
    case Field::yoyakugo_Flag: return use(s.yoyakugo_Flag);
    case Field::yoyakugo_Mode: return use(s.yoyakugo_Mode);
    case Field::siteiymd_Date: return use(s.siteiymd_Date);
    }
}

template <typename T> constexpr bool isText = std::is_same_v<std::decay_t<T>, QByteArray>;

// Fetches line n (1-based) just before its field is set, as the reader must
// fail at exactly the first missing line.
const QByteArray &lineAt(const Lines &lines, int n)
{
    if (n < 1 || n > lines.size())
        throw ListIndexError();
    return lines[n - 1];
}

} // namespace

Lines settingsToLines(const ScheduleSettings &s)
{
    std::array<PathParts, ScheduleSettings::kEntries> parts;
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i] = splitPath(s.jikko_Path[i]);
    Lines out;
    out.reserve(kSettingsLineCount);
    for (const RecordLine &row : kRecordLines) {
        withField(s, row, [&](const auto &value) {
            if constexpr (!isText<decltype(value)>) {
                // The table's texts live as long as the program.
                const std::string_view text = row.values[std::size_t(value)];
                out << QByteArray::fromRawData(text.data(), qsizetype(text.size()));
            } else if (row.kind == LineKind::FileName) {
                out << parts[row.entry].fileName;
            } else if (row.kind == LineKind::Directory) {
                out << parts[row.entry].directory;
            } else {
                out << value;
            }
        });
    }
    return out;
}

// The lines are taken field by field, in the order of each field's first
// line: a path takes its directory line, then its file-name line.
void linesToSettings(const Lines &lines, ScheduleSettings &s)
{
    for (const RecordLine &row : kRecordLines) {
        if (row.kind == LineKind::Directory)
            continue;
        withField(s, row, [&](auto &value) {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (!isText<Value>) {
                const QByteArray &text = lineAt(lines, row.line);
                value = Value(writtenValue(row, std::string_view(text.constData(), text.size()))
                                  .value_or(row.otherwise));
            } else if (row.kind == LineKind::FileName) {
                const QByteArray &directory =
                    lineAt(lines, recordLine(row.field, row.entry, true).line);
                value = joinPath(directory, lineAt(lines, row.line));
            } else {
                value = lineAt(lines, row.line);
            }
        });
    }
}

} // namespace nerubato
