#pragma once

#include <QByteArray>
#include <QList>
#include <array>

namespace nerubato {

enum class KidoMode { Sokuji, Timer };
enum class SyuryoMode { Syuryo1, Syuryo2, Syuryo3 };
enum class SyosaiMode { Syosai, Syosai2 };
enum class MinimizeMode { Minimize, NoMinimize };
enum class ShutdownMode { Shutdown, Reboot };
enum class YoyakugoMode { Kidojiymd, Siteiymd };

// One schedule. Text fields are CP932 bytes exactly as stored; nothing here
// parses or validates them.
struct ScheduleSettings
{
    static constexpr int kEntries = 5;

    bool kidobi_Flag = false;
    QByteArray kidobi_Date = "01/01";

    bool yobi_Flag = false;
    std::array<bool, 7> yobi_Days{}; // Sunday first

    KidoMode kido_Mode = KidoMode::Sokuji;
    QByteArray kara_Time = "00:00";
    QByteArray made_Time = "23:59";
    bool ikkai_Flag = false;
    QByteArray timer_Time = "00:00";

    std::array<QByteArray, kEntries> jikko_Path{};
    std::array<QByteArray, kEntries> sw_Args{};
    // Entries 2 to 5 only: index 0 is entry 2.
    std::array<bool, kEntries - 1> dokuritu_Flag{};
    std::array<QByteArray, kEntries - 1> jikansa_Min{"0", "0", "0", "0"};

    QByteArray message_Sec = "30";
    QByteArray kensyutu_Sec = "10";

    SyuryoMode syuryo_Mode = SyuryoMode::Syuryo3;
    QByteArray syuryo2_Time = "23:59";

    SyosaiMode syosai_Mode = SyosaiMode::Syosai;
    MinimizeMode minimize_Mode = MinimizeMode::Minimize;
    bool smallstart_Flag = false;
    ShutdownMode shutdown_Mode = ShutdownMode::Shutdown;

    bool yoyakugo_Flag = false;
    YoyakugoMode yoyakugo_Mode = YoyakugoMode::Kidojiymd;
    QByteArray siteiymd_Date = "970101";

    bool operator==(const ScheduleSettings &) const = default;
};

using Lines = QList<QByteArray>;

constexpr int kSettingsLineCount = 49;

// The 49 lines of a settings file, in line order.
Lines settingsToLines(const ScheduleSettings &s);

// Sets the fields of s from lines in the file's reading order. A missing line
// throws ListIndexError; the fields set before it keep their new values.
void linesToSettings(const Lines &lines, ScheduleSettings &s);

} // namespace nerubato
