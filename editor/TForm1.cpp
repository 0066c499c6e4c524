#include "TForm1.h"

#include "editor/ByteEdit.h"
#include "editor/MouseUpButtons.h"
#include "editor/Stepper.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_Form1.h"

#include <QDir>

#include <initializer_list>
#include <utility>

namespace nerubato {

namespace {

void enable(bool on, std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        w->setEnabled(on);
}

// A load leaves a field alone when it already holds the bytes, so that a field
// the load never reached, or one that reads the same, keeps exactly what it had.
void putBytes(ByteEdit *edit, const QByteArray &bytes)
{
    if (edit->bytes() != bytes)
        edit->setBytes(bytes);
}

} // namespace

TForm1::TForm1(Platform &platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    centreOnFirstShow(this);

    m_weekdays = {ui->niti_CBox, ui->getu_CBox, ui->ka_CBox, ui->sui_CBox,
                  ui->moku_CBox, ui->kin_CBox,  ui->do_CBox};
    m_programs = {{
        {ui->jikko1_Edit, ui->sw1_Edit, ui->sansyo_Btn1, ui->clear_Btn1},
        {ui->jikko2_Edit, ui->sw2_Edit, ui->sansyo_Btn2, ui->clear_Btn2},
        {ui->jikko3_Edit, ui->sw3_Edit, ui->sansyoBtn3, ui->clear_Btn3},
        {ui->jikko4_Edit, ui->sw4_Edit, ui->sansyo_Btn4, ui->clear_Btn4},
        {ui->jikko5_Edit, ui->sw5_Edit, ui->sansyo_Btn5, ui->clear_Btn5},
    }};
    m_delays = {{
        {ui->dokuritu_CBox2, ui->jikansa_Edit2, ui->jikansa_UD2},
        {ui->dokuritu_CBox3, ui->jikansa_Edit3, ui->jikansa_UD3},
        {ui->dokuritu_CBox4, ui->jikansa_Edit4, ui->jikansa_UD4},
        {ui->dokuritu_CBox5, ui->jikansa_Edit5, ui->jikansa_UD5},
    }};
    for (std::size_t i = 0; i < std::size(steps::kSteppers); ++i) {
        const steps::StepperRow &row = steps::kSteppers[i];
        m_steppers[i] = {findChild<Stepper *>(QLatin1String(row.stepper)),
                         findChild<ByteEdit *>(QLatin1String(row.field)), row.rule};
    }

    for (int n = 1; n <= ScheduleSettings::kEntries; ++n) {
        const ProgramRow &row = m_programs[n - 1];
        connectGuarded(m_platform, row.browse, &QPushButton::clicked, this,
                       [this, n] { browse(n); });
        connectGuarded(m_platform, row.clear, &QPushButton::clicked, this,
                       [this, n] { clearProgram(n); });
    }
    connectGuarded(m_platform, ui->hozon_Btn, &QPushButton::clicked, this, &TForm1::hozon_BtnClick);
    connectGuarded(m_platform, ui->yomidasi, &QPushButton::clicked, this, &TForm1::yomidasiClick);
    connectGuarded(m_platform, ui->syuryo_Btn, &QPushButton::clicked, this,
                   &TForm1::syuryo_BtnClick);

    connectRuleSources();
    connectSteppers();
    nameForAssistiveTechnology();
}

// What a screen reader announces: each field and button by what it holds, in
// the editor's own words, where its caption alone would not tell it from its
// neighbours; the stepped fields with their range. Nothing shown changes.
void TForm1::nameForAssistiveTechnology()
{
    const std::pair<QWidget *, const char16_t *> names[] = {
        {ui->kidobi_Edit, u"起動日"},
        {ui->kara_Edit, u"起動時間 から"},
        {ui->made_Edit, u"起動時間 まで"},
        {ui->timer_Edit, u"タイマー起動 時刻"},
        {ui->syuryo2_Edit, u"Windows終了 終了時間"},
        {ui->message_Edit, u"実行までのメッセージ時間（秒）"},
        {ui->kensyutu_Edit, u"ビープ音発生時間（秒）"},
        {ui->siteiymd_Edit, u"置き換える年月日"},
    };
    for (const auto &[widget, name] : names)
        widget->setAccessibleName(QString::fromUtf16(name));

    const QString rows[] = {u"ＰＧＭ１"_qs, u"ＰＧＭ２"_qs, u"ＰＧＭ３"_qs, u"ＰＧＭ４"_qs,
                            u"ＰＧＭ５"_qs};
    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        const ProgramRow &row = m_programs[i];
        row.path->setAccessibleName(rows[i] + u" 実行ファイル"_qs);
        row.args->setAccessibleName(rows[i] + u" 実行時引数"_qs);
        row.browse->setAccessibleName(rows[i] + u" 参照"_qs);
        row.clear->setAccessibleName(rows[i] + u" ｸﾘｱ"_qs);
    }
    for (int i = 0; i < ScheduleSettings::kEntries - 1; ++i) {
        m_delays[i].independent->setAccessibleName(rows[i + 1] + u" 独立実行する"_qs);
        m_delays[i].minutes->setAccessibleName(rows[i + 1] + u" 時間差（分）"_qs);
    }

    for (const StepperField &s : m_steppers) {
        s.stepper->setAccessibleName(s.field->accessibleName() + u" 増減"_qs);
        s.field->setAccessibleDescription(steps::rangeText(s.rule));
    }
}

TForm1::~TForm1() = default;

void TForm1::connectRuleSources()
{
    using Handler = void (TForm1::*)();
    const std::pair<MouseUpCheckBox *, Handler> boxes[] = {
        {ui->kidobi_CBox, &TForm1::kidobi_CBoxMouseUp},
        {ui->yobi_CBox, &TForm1::yobi_CBoxMouseUp},
        {ui->dokuritu_CBox2, &TForm1::dokuritu_CBox2MouseUp},
        {ui->dokuritu_CBox3, &TForm1::dokuritu_CBox3MouseUp},
        {ui->dokuritu_CBox4, &TForm1::dokuritu_CBox4MouseUp},
        {ui->dokuritu_CBox5, &TForm1::dokuritu_CBox5MouseUp},
        {ui->yoyakugo1_CBox, &TForm1::yoyakugo1_CBoxMouseUp},
    };
    const std::pair<MouseUpRadioButton *, Handler> radios[] = {
        {ui->sokuji_RBtn, &TForm1::sokuji_RBtnMouseUp},
        {ui->timer_RBtn, &TForm1::timer_RBtnMouseUp},
        {ui->syuryo1_RBtn, &TForm1::syuryo1_RBtnMouseUp},
        {ui->syuryo2_RBtn, &TForm1::syuryo2_RBtnMouseUp},
        {ui->syuryo3_RBtn, &TForm1::syuryo3_RBtnMouseUp},
        {ui->kidojiymd_RBtn, &TForm1::kidojiymd_RBtnMouseUp},
        {ui->siteiymd_RBtn, &TForm1::siteiymd_RBtnMouseUp},
        {ui->minimize_RBtn, &TForm1::minimize_RBtnMouseUp},
        {ui->nominimize_RBtn, &TForm1::nominimize_RBtnMouseUp},
    };
    // A key that changes a source runs its rule as a mouse release does.
    for (const auto &[box, handler] : boxes) {
        connectGuarded(m_platform, box, &MouseUpCheckBox::mouseUp, this, handler);
        connectGuarded(m_platform, box, &MouseUpCheckBox::keyUp, this, handler);
    }
    for (const auto &[radio, handler] : radios) {
        connectGuarded(m_platform, radio, &MouseUpRadioButton::mouseUp, this, handler);
        connectGuarded(m_platform, radio, &MouseUpRadioButton::keyUp, this, handler);
    }
}

void TForm1::connectSteppers()
{
    for (const StepperField &s : m_steppers) {
        connectGuarded(
            m_platform, s.stepper, &Stepper::arrowClicked, this, [s](Stepper::Arrow arrow) {
                const int direction = arrow == Stepper::Next ? 1 : -1;
                s.field->setNewText(steps::smallStep(s.rule, s.field->text(), direction));
            });
        // The stepper itself ignores the right button; a right press anywhere
        // on it is one big step.
        connectGuarded(m_platform, s.stepper, &Stepper::mousePressed, this,
                       [s](Qt::MouseButton button) {
                           if (button == Qt::RightButton)
                               s.field->setNewText(steps::bigStep(s.rule, s.field->text()));
                       });
        s.stepper->setField(s.field);
        auto *keys = new StepKeys(s.field);
        connectGuarded(m_platform, keys, &StepKeys::smallStep, this, [s](int direction) {
            s.field->setNewText(steps::smallStep(s.rule, s.field->text(), direction));
        });
        connectGuarded(m_platform, keys, &StepKeys::bigStep, this,
                       [s] { s.field->setNewText(steps::bigStep(s.rule, s.field->text())); });
    }
}

void TForm1::FormCreate()
{
    StartDirectory = QDir::currentPath();
    showFirstPage();
    SettingsLines.clear();
    EnableAll();
    emit windowModeWanted();
}

void TForm1::FormDestroy()
{
    SettingsLines.clear();
    RestoreStartDirectory();
}

void TForm1::SettingsToLines()
{
    SettingsLines << settingsToLines(settings());
}

void TForm1::loadLines(const Lines &lines)
{
    SettingsLines = lines;
    LinesToSettings();
}

void TForm1::LinesToSettings()
{
    ScheduleSettings s = settings();
    try {
        linesToSettings(SettingsLines, s);
    } catch (...) {
        // The fields read before the missing line keep their new values.
        setSettings(s);
        throw;
    }
    setSettings(s);
    EnableAll();
}

ScheduleSettings TForm1::settings() const
{
    ScheduleSettings s;
    s.kidobi_Flag = ui->kidobi_CBox->isChecked();
    s.kidobi_Date = ui->kidobi_Edit->bytes();
    s.yobi_Flag = ui->yobi_CBox->isChecked();
    for (int d = 0; d < 7; ++d)
        s.yobi_Days[d] = m_weekdays[d]->isChecked();

    s.kido_Mode = ui->sokuji_RBtn->isChecked() && !ui->timer_RBtn->isChecked() ? KidoMode::Sokuji
                                                                               : KidoMode::Timer;
    s.kara_Time = ui->kara_Edit->bytes();
    s.made_Time = ui->made_Edit->bytes();
    s.ikkai_Flag = ui->ikkai_CBox->isChecked();
    s.timer_Time = ui->timer_Edit->bytes();

    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        s.jikko_Path[i] = m_programs[i].path->bytes();
        s.sw_Args[i] = m_programs[i].args->bytes();
    }
    for (int i = 0; i < ScheduleSettings::kEntries - 1; ++i) {
        s.dokuritu_Flag[i] = m_delays[i].independent->isChecked();
        s.jikansa_Min[i] = m_delays[i].minutes->bytes();
    }

    s.message_Sec = ui->message_Edit->bytes();
    s.kensyutu_Sec = ui->kensyutu_Edit->bytes();

    const bool end1 = ui->syuryo1_RBtn->isChecked();
    const bool end2 = ui->syuryo2_RBtn->isChecked();
    const bool end3 = ui->syuryo3_RBtn->isChecked();
    s.syuryo_Mode = end1 && !end2 && !end3   ? SyuryoMode::Syuryo1
                    : end2 && !end1 && !end3 ? SyuryoMode::Syuryo2
                                             : SyuryoMode::Syuryo3;
    s.syuryo2_Time = ui->syuryo2_Edit->bytes();

    s.syosai_Mode = ui->syosai_RBtn2->isChecked() ? SyosaiMode::Syosai2 : SyosaiMode::Syosai;
    s.minimize_Mode =
        ui->minimize_RBtn->isChecked() ? MinimizeMode::Minimize : MinimizeMode::NoMinimize;
    s.smallstart_Flag = ui->smallstart_CBox->isChecked();
    s.shutdown_Mode =
        ui->shutdown_RBtn->isChecked() ? ShutdownMode::Shutdown : ShutdownMode::Reboot;

    s.yoyakugo_Flag = ui->yoyakugo1_CBox->isChecked();
    s.yoyakugo_Mode =
        ui->kidojiymd_RBtn->isChecked() ? YoyakugoMode::Kidojiymd : YoyakugoMode::Siteiymd;
    s.siteiymd_Date = ui->siteiymd_Edit->bytes();
    return s;
}

// Only the states change; the rules wait for EnableAll or a mouse release.
void TForm1::setSettings(const ScheduleSettings &s)
{
    ui->kidobi_CBox->setChecked(s.kidobi_Flag);
    putBytes(ui->kidobi_Edit, s.kidobi_Date);
    ui->yobi_CBox->setChecked(s.yobi_Flag);
    for (int d = 0; d < 7; ++d)
        m_weekdays[d]->setChecked(s.yobi_Days[d]);

    (s.kido_Mode == KidoMode::Sokuji ? ui->sokuji_RBtn : ui->timer_RBtn)->setChecked(true);
    putBytes(ui->kara_Edit, s.kara_Time);
    putBytes(ui->made_Edit, s.made_Time);
    ui->ikkai_CBox->setChecked(s.ikkai_Flag);
    putBytes(ui->timer_Edit, s.timer_Time);

    for (int i = 0; i < ScheduleSettings::kEntries; ++i) {
        putBytes(m_programs[i].path, s.jikko_Path[i]);
        putBytes(m_programs[i].args, s.sw_Args[i]);
    }
    for (int i = 0; i < ScheduleSettings::kEntries - 1; ++i) {
        m_delays[i].independent->setChecked(s.dokuritu_Flag[i]);
        putBytes(m_delays[i].minutes, s.jikansa_Min[i]);
    }

    putBytes(ui->message_Edit, s.message_Sec);
    putBytes(ui->kensyutu_Edit, s.kensyutu_Sec);

    QRadioButton *end = s.syuryo_Mode == SyuryoMode::Syuryo1   ? ui->syuryo1_RBtn
                        : s.syuryo_Mode == SyuryoMode::Syuryo2 ? ui->syuryo2_RBtn
                                                               : ui->syuryo3_RBtn;
    end->setChecked(true);
    putBytes(ui->syuryo2_Edit, s.syuryo2_Time);

    (s.syosai_Mode == SyosaiMode::Syosai2 ? ui->syosai_RBtn2 : ui->syosai_RBtn)->setChecked(true);
    (s.minimize_Mode == MinimizeMode::Minimize ? ui->minimize_RBtn : ui->nominimize_RBtn)
        ->setChecked(true);
    ui->smallstart_CBox->setChecked(s.smallstart_Flag);
    (s.shutdown_Mode == ShutdownMode::Shutdown ? ui->shutdown_RBtn : ui->reboot_RBtn)
        ->setChecked(true);

    ui->yoyakugo1_CBox->setChecked(s.yoyakugo_Flag);
    (s.yoyakugo_Mode == YoyakugoMode::Kidojiymd ? ui->kidojiymd_RBtn : ui->siteiymd_RBtn)
        ->setChecked(true);
    putBytes(ui->siteiymd_Edit, s.siteiymd_Date);
}

void TForm1::EnableKidobi()
{
    enable(ui->kidobi_CBox->isChecked(), {ui->kidobi_Edit, ui->kidobi_UD});
}

void TForm1::EnableYobi()
{
    const bool on = ui->yobi_CBox->isChecked();
    for (QCheckBox *day : m_weekdays)
        day->setEnabled(on);
}

void TForm1::EnableKido()
{
    enable(ui->sokuji_RBtn->isChecked(), {ui->kara_Edit, ui->made_Edit, ui->kara_UD, ui->made_UD,
                                          ui->ikkai_CBox, ui->kara_Lbl, ui->aida_Lbl});
    enable(ui->timer_RBtn->isChecked(), {ui->timer_Edit, ui->timer_UD, ui->ni_Lbl});
}

void TForm1::EnableSyuryo()
{
    enable(ui->syuryo2_RBtn->isChecked(), {ui->syuryo2_Edit, ui->syuryo2_UD});
}

void TForm1::EnableDokuritu()
{
    for (const DelayRow &row : m_delays)
        enable(row.independent->isChecked(), {row.minutes, row.stepper});
}

void TForm1::EnableYoyakugo()
{
    const bool on = ui->yoyakugo1_CBox->isChecked();
    enable(on, {ui->kidojiymd_RBtn, ui->siteiymd_RBtn});
    ui->siteiymd_Edit->setEnabled(on && ui->siteiymd_RBtn->isChecked());
}

void TForm1::EnableMinimize()
{
    ui->smallstart_CBox->setEnabled(ui->minimize_RBtn->isChecked());
}

void TForm1::EnableAll()
{
    EnableKidobi();
    EnableYobi();
    EnableKido();
    EnableSyuryo();
    EnableDokuritu();
    EnableYoyakugo();
    EnableMinimize();
}

void TForm1::presentMode(nerubato::WindowMode windowMode)
{
    m_windowMode = windowMode;
    const bool create = windowMode == WindowMode::Create;
    setWindowTitle(create ? QStringLiteral("設定ファイル作成画面")
                          : QStringLiteral("登録した設定の表示画面"));
    ui->hozon_Btn->setText(create ? QStringLiteral("保存と登録")
                                  : QStringLiteral("登録した設定の解除"));
    ui->yomidasi->setHidden(!create);
}

void TForm1::showFirstPage()
{
    ui->PageControl1->setCurrentWidget(ui->TabSheet1);
}

void TForm1::clearProgram(int entry)
{
    const ProgramRow &row = m_programs.at(entry - 1);
    row.path->setNewText(QString());
    row.args->setNewText(QString());
}

} // namespace nerubato
