#include "Form1Parts.h"

#include "ui_TForm1.h"

#include <initializer_list>
#include <utility>

namespace nerubato {

namespace {

QButtonGroup *radioGroup(QObject *owner,
                         std::initializer_list<std::pair<QAbstractButton *, int>> buttons)
{
    auto *group = new QButtonGroup(owner);
    for (const auto &[button, id] : buttons)
        group->addButton(button, id);
    return group;
}

} // namespace

Form1Rows rowsOf(Ui::TForm1 &ui)
{
    return {{ui.niti_CBox, ui.getu_CBox, ui.ka_CBox, ui.sui_CBox, ui.moku_CBox, ui.kin_CBox,
             ui.do_CBox},
            {{
                {ui.jikko1_Edit, ui.sw1_Edit, ui.sansyo_Btn1, ui.clear_Btn1},
                {ui.jikko2_Edit, ui.sw2_Edit, ui.sansyo_Btn2, ui.clear_Btn2},
                {ui.jikko3_Edit, ui.sw3_Edit, ui.sansyoBtn3, ui.clear_Btn3},
                {ui.jikko4_Edit, ui.sw4_Edit, ui.sansyo_Btn4, ui.clear_Btn4},
                {ui.jikko5_Edit, ui.sw5_Edit, ui.sansyo_Btn5, ui.clear_Btn5},
            }},
            {{
                {ui.dokuritu_CBox2, ui.jikansa_Edit2, ui.jikansa_UD2},
                {ui.dokuritu_CBox3, ui.jikansa_Edit3, ui.jikansa_UD3},
                {ui.dokuritu_CBox4, ui.jikansa_Edit4, ui.jikansa_UD4},
                {ui.dokuritu_CBox5, ui.jikansa_Edit5, ui.jikansa_UD5},
            }}};
}

// Where no radio button of a group is checked, the record takes what the
// file's line for an unchecked one means.
RecordBinding bindRecord(Ui::TForm1 &ui, const Form1Rows &rows, QObject *owner)
{
    RecordBinding r;
    r.flag(ui.kidobi_CBox, [](auto &s) -> auto & { return s.kidobi_Flag; });
    r.text(ui.kidobi_Edit, [](auto &s) -> auto & { return s.kidobi_Date; });
    r.flag(ui.yobi_CBox, [](auto &s) -> auto & { return s.yobi_Flag; });
    for (std::size_t d = 0; d < rows.weekdays.size(); ++d)
        r.flag(rows.weekdays[d], [d](auto &s) -> auto & { return s.yobi_Days[d]; });

    r.choice(radioGroup(owner, {{ui.sokuji_RBtn, int(KidoMode::Sokuji)},
                                {ui.timer_RBtn, int(KidoMode::Timer)}}),
             [](auto &s) -> auto & { return s.kido_Mode; }, KidoMode::Timer);
    r.text(ui.kara_Edit, [](auto &s) -> auto & { return s.kara_Time; });
    r.text(ui.made_Edit, [](auto &s) -> auto & { return s.made_Time; });
    r.flag(ui.ikkai_CBox, [](auto &s) -> auto & { return s.ikkai_Flag; });
    r.text(ui.timer_Edit, [](auto &s) -> auto & { return s.timer_Time; });

    for (std::size_t i = 0; i < rows.programs.size(); ++i) {
        r.text(rows.programs[i].path, [i](auto &s) -> auto & { return s.jikko_Path[i]; });
        r.text(rows.programs[i].args, [i](auto &s) -> auto & { return s.sw_Args[i]; });
    }
    for (std::size_t i = 0; i < rows.delays.size(); ++i) {
        r.flag(rows.delays[i].independent, [i](auto &s) -> auto & { return s.dokuritu_Flag[i]; });
        r.text(rows.delays[i].minutes, [i](auto &s) -> auto & { return s.jikansa_Min[i]; });
    }
    r.text(ui.message_Edit, [](auto &s) -> auto & { return s.message_Sec; });
    r.text(ui.kensyutu_Edit, [](auto &s) -> auto & { return s.kensyutu_Sec; });

    r.choice(radioGroup(owner, {{ui.syuryo1_RBtn, int(SyuryoMode::Syuryo1)},
                                {ui.syuryo2_RBtn, int(SyuryoMode::Syuryo2)},
                                {ui.syuryo3_RBtn, int(SyuryoMode::Syuryo3)}}),
             [](auto &s) -> auto & { return s.syuryo_Mode; }, SyuryoMode::Syuryo3);
    r.text(ui.syuryo2_Edit, [](auto &s) -> auto & { return s.syuryo2_Time; });
    r.choice(radioGroup(owner, {{ui.syosai_RBtn, int(SyosaiMode::Syosai)},
                                {ui.syosai_RBtn2, int(SyosaiMode::Syosai2)}}),
             [](auto &s) -> auto & { return s.syosai_Mode; }, SyosaiMode::Syosai);
    r.choice(radioGroup(owner, {{ui.minimize_RBtn, int(MinimizeMode::Minimize)},
                                {ui.nominimize_RBtn, int(MinimizeMode::NoMinimize)}}),
             [](auto &s) -> auto & { return s.minimize_Mode; }, MinimizeMode::NoMinimize);
    r.flag(ui.smallstart_CBox, [](auto &s) -> auto & { return s.smallstart_Flag; });
    r.choice(radioGroup(owner, {{ui.shutdown_RBtn, int(ShutdownMode::Shutdown)},
                                {ui.reboot_RBtn, int(ShutdownMode::Reboot)}}),
             [](auto &s) -> auto & { return s.shutdown_Mode; }, ShutdownMode::Reboot);

    r.flag(ui.yoyakugo1_CBox, [](auto &s) -> auto & { return s.yoyakugo_Flag; });
    r.choice(radioGroup(owner, {{ui.kidojiymd_RBtn, int(YoyakugoMode::Kidojiymd)},
                                {ui.siteiymd_RBtn, int(YoyakugoMode::Siteiymd)}}),
             [](auto &s) -> auto & { return s.yoyakugo_Mode; }, YoyakugoMode::Siteiymd);
    r.text(ui.siteiymd_Edit, [](auto &s) -> auto & { return s.siteiymd_Date; });
    return r;
}

void nameForAssistiveTechnology(Ui::TForm1 &ui, const Form1Rows &rows)
{
    const std::pair<QWidget *, const char16_t *> fields[] = {
        {ui.kidobi_Edit, u"起動日"},
        {ui.kara_Edit, u"起動時間 から"},
        {ui.made_Edit, u"起動時間 まで"},
        {ui.timer_Edit, u"タイマー起動 時刻"},
        {ui.syuryo2_Edit, u"Windows終了 終了時間"},
        {ui.message_Edit, u"実行までのメッセージ時間（秒）"},
        {ui.kensyutu_Edit, u"ビープ音発生時間（秒）"},
        {ui.siteiymd_Edit, u"置き換える年月日"},
    };
    for (const auto &[widget, name] : fields)
        widget->setAccessibleName(QString::fromUtf16(name));

    const QString names[] = {u"ＰＧＭ１"_qs, u"ＰＧＭ２"_qs, u"ＰＧＭ３"_qs, u"ＰＧＭ４"_qs,
                            u"ＰＧＭ５"_qs};
    for (std::size_t i = 0; i < rows.programs.size(); ++i) {
        const Form1Rows::Program &row = rows.programs[i];
        row.path->setAccessibleName(names[i] + u" 実行ファイル"_qs);
        row.args->setAccessibleName(names[i] + u" 実行時引数"_qs);
        row.browse->setAccessibleName(names[i] + u" 参照"_qs);
        row.clear->setAccessibleName(names[i] + u" ｸﾘｱ"_qs);
    }
    for (std::size_t i = 0; i < rows.delays.size(); ++i) {
        rows.delays[i].independent->setAccessibleName(names[i + 1] + u" 独立実行する"_qs);
        rows.delays[i].minutes->setAccessibleName(names[i + 1] + u" 時間差（分）"_qs);
    }
}

} // namespace nerubato
