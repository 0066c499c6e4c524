#include "ScheduleSettings.h"

#include "Errors.h"
#include "PathParts.h"

namespace nerubato {

namespace {

const QByteArray kTrue = "true";
const QByteArray kFalse = "false";

QByteArray flag(bool on)
{
    return on ? kTrue : kFalse;
}

QByteArray syuryoText(SyuryoMode m)
{
    switch (m) {
    case SyuryoMode::Syuryo1:
        return "syuryo1";
    case SyuryoMode::Syuryo2:
        return "syuryo2";
    case SyuryoMode::Syuryo3:
        break;
    }
    return "syuryo3";
}

// Fetches line n (1-based) just before its field is set, as the reader must
// fail at exactly the first missing line.
class LineReader
{
public:
    explicit LineReader(const Lines &lines) : m_lines(lines) {}
    const QByteArray &operator()(int n) const
    {
        if (n < 1 || n > m_lines.size())
            throw ListIndexError();
        return m_lines[n - 1];
    }
    bool flag(int n) const { return (*this)(n) == kTrue; }

private:
    const Lines &m_lines;
};

} // namespace

Lines settingsToLines(const ScheduleSettings &s)
{
    Lines out;
    out.reserve(kSettingsLineCount);
    out << flag(s.kidobi_Flag) << s.kidobi_Date;
    for (bool day : s.yobi_Days)
        out << flag(day);
    out << flag(s.kido_Mode == KidoMode::Sokuji) << s.kara_Time << s.made_Time << s.timer_Time
        << s.kensyutu_Sec << s.message_Sec;

    std::array<PathParts, ScheduleSettings::kEntries> parts;
    for (int i = 0; i < ScheduleSettings::kEntries; ++i)
        parts[i] = splitPath(s.jikko_Path[i]);
    for (const auto &p : parts)
        out << p.fileName;
    for (const auto &args : s.sw_Args)
        out << args;
    for (const auto &p : parts)
        out << p.directory;

    for (bool independent : s.dokuritu_Flag)
        out << flag(independent);
    out << syuryoText(s.syuryo_Mode) << s.syuryo2_Time << flag(s.yobi_Flag) << flag(s.ikkai_Flag)
        << flag(s.syosai_Mode == SyosaiMode::Syosai2)
        << flag(s.minimize_Mode == MinimizeMode::Minimize);
    for (const auto &minutes : s.jikansa_Min)
        out << minutes;
    out << flag(s.smallstart_Flag) << flag(s.shutdown_Mode == ShutdownMode::Shutdown)
        << flag(s.yoyakugo_Flag)
        << QByteArray(s.yoyakugo_Mode == YoyakugoMode::Kidojiymd ? "kidojiymd" : "siteiymd")
        << s.siteiymd_Date;
    return out;
}

void linesToSettings(const Lines &lines, ScheduleSettings &s)
{
    const LineReader line(lines);

    s.kidobi_Flag = line.flag(1);
    s.kidobi_Date = line(2);
    for (int d = 0; d < 7; ++d)
        s.yobi_Days[d] = line.flag(3 + d);
    s.kido_Mode = line.flag(10) ? KidoMode::Sokuji : KidoMode::Timer;
    s.kara_Time = line(11);
    s.made_Time = line(12);
    s.timer_Time = line(13);
    s.kensyutu_Sec = line(14);
    s.message_Sec = line(15);

    for (int n = 1; n <= ScheduleSettings::kEntries; ++n) {
        const QByteArray directory = line(25 + n);
        s.jikko_Path[n - 1] = joinPath(directory, line(15 + n));
    }
    for (int n = 1; n <= ScheduleSettings::kEntries; ++n)
        s.sw_Args[n - 1] = line(20 + n);

    for (int i = 0; i < 4; ++i)
        s.dokuritu_Flag[i] = line.flag(31 + i);
    const QByteArray &syuryo = line(35);
    s.syuryo_Mode = syuryo == "syuryo1"   ? SyuryoMode::Syuryo1
                    : syuryo == "syuryo2" ? SyuryoMode::Syuryo2
                                          : SyuryoMode::Syuryo3;
    s.syuryo2_Time = line(36);
    s.yobi_Flag = line.flag(37);
    s.ikkai_Flag = line.flag(38);
    s.syosai_Mode = line.flag(39) ? SyosaiMode::Syosai2 : SyosaiMode::Syosai;
    s.minimize_Mode = line.flag(40) ? MinimizeMode::Minimize : MinimizeMode::NoMinimize;
    for (int i = 0; i < 4; ++i)
        s.jikansa_Min[i] = line(41 + i);
    s.smallstart_Flag = line.flag(45);
    s.shutdown_Mode = line.flag(46) ? ShutdownMode::Shutdown : ShutdownMode::Reboot;
    s.yoyakugo_Flag = line.flag(47);
    s.yoyakugo_Mode = line(48) == "kidojiymd" ? YoyakugoMode::Kidojiymd : YoyakugoMode::Siteiymd;
    s.siteiymd_Date = line(49);
}

} // namespace nerubato
