// The settings file: bytes -> splitLines -> linesToSettings (on a default
// record) -> settingsToLines -> joinLines. Properties:
//  - the loader's lines are the input cut at its first NUL with every line end
//    made CR LF (a normaliser of its own here, not the loader's code);
//  - the reader fails with the list-index error exactly when lines are missing;
//  - a save writes 49 lines, and saving what was loaded reaches a fixed point
//    by the second save at the latest;
//  - a 49-line file in the writer's form (flags and choices spelled as written,
//    path lines as the writer splits them) built from the input reads and saves
//    back to the very same bytes.

#include "fuzzcheck.h"
#include "settings/Cp932.h"
#include "settings/Errors.h"
#include "settings/PathParts.h"
#include "settings/ScheduleSettings.h"
#include "settings/SettingsFile.h"

#include <QByteArray>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

using namespace nerubato;

namespace {

QByteArray normalised(const QByteArray &input)
{
    QByteArray text = input.left(input.indexOf('\0') < 0 ? input.size() : input.indexOf('\0'));
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    return text.replace("\n", "\r\n");
}

// Loads lines into a default record; false when the reader ran out of lines.
bool load(const Lines &lines, ScheduleSettings &s)
{
    try {
        linesToSettings(lines, s);
        return true;
    } catch (const ListIndexError &) {
        return false;
    }
}

QByteArray saveOfLoad(const QByteArray &bytes)
{
    ScheduleSettings s;
    load(splitLines(bytes), s);
    return joinLines(settingsToLines(s));
}

QByteArray lineText(FuzzedDataProvider &in, size_t maxLength)
{
    QByteArray text = QByteArray::fromStdString(in.ConsumeRandomLengthString(maxLength));
    text.replace('\r', "").replace('\n', "").replace('\0', "");
    return text;
}

// 49 lines as the writer writes them, their values taken from the input.
Lines writerFormLines(FuzzedDataProvider &in, QList<int> &colonDirectories)
{
    Lines lines(kSettingsLineCount);
    auto flag = [&](int n) { lines[n - 1] = in.ConsumeBool() ? "true" : "false"; };
    auto text = [&](int n) { lines[n - 1] = lineText(in, 24); };
    for (int n : {1, 3, 4, 5, 6, 7, 8, 9, 10, 31, 32, 33, 34, 37, 38, 39, 40, 45, 46, 47})
        flag(n);
    for (int n : {2, 11, 12, 13, 14, 15, 21, 22, 23, 24, 25, 36, 41, 42, 43, 44, 49})
        text(n);
    const QByteArray syuryo[] = {"syuryo1", "syuryo2", "syuryo3"};
    lines[34] = syuryo[in.ConsumeIntegralInRange<int>(0, 2)];
    lines[47] = in.ConsumeBool() ? "kidojiymd" : "siteiymd";
    for (int entry = 1; entry <= ScheduleSettings::kEntries; ++entry) {
        const PathParts parts = splitPath(lineText(in, 300));
        lines[15 + entry - 1] = parts.fileName;
        lines[25 + entry - 1] = parts.directory;
        // The reader puts "\" after a directory line longer than 3 bytes even
        // when it ends in ":" (a path such as "abc:d" or "file:stream"), so such
        // a line comes back with that "\" added. Known; every other line must
        // come back as it was.
        if (parts.directory.size() > 3 && cp932::endsWithSingleByte(parts.directory, ':'))
            colonDirectories << 25 + entry;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const Lines lines = splitLines(input);
    FUZZ_CHECK(joinLines(lines) == normalised(input));

    ScheduleSettings loaded;
    FUZZ_CHECK(load(lines, loaded) == (lines.size() >= kSettingsLineCount));

    const QByteArray first = joinLines(settingsToLines(loaded));
    FUZZ_CHECK(splitLines(first).size() == kSettingsLineCount);
    const QByteArray second = saveOfLoad(first);
    FUZZ_CHECK(saveOfLoad(second) == second);

    FuzzedDataProvider in(data, size);
    QList<int> colonDirectories;
    Lines written = writerFormLines(in, colonDirectories);
    const QByteArray file = joinLines(written);
    ScheduleSettings fromFile;
    FUZZ_CHECK(load(splitLines(file), fromFile));
    for (int n : colonDirectories)
        written[n - 1] += '\\';
    FUZZ_CHECK(joinLines(settingsToLines(fromFile)) == joinLines(written));
    return 0;
}
