#include "TForm1.h"

#include "editor/ByteEdit.h"
#include "editor/MouseUpButtons.h"
#include "editor/SteppedField.h"
#include "editor/Stepper.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui_TForm1.h"

#include <QDir>

namespace nerubato {

namespace {

void enable(bool on, std::initializer_list<QWidget *> widgets)
{
    for (QWidget *w : widgets)
        w->setEnabled(on);
}

} // namespace

TForm1::TForm1(Platform &platform, const StartFolder &folder, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_folder(folder), ui(std::make_unique<Ui::TForm1>())
{
    ui->setupUi(this);
    centreOnFirstShow(this);

    m_rows = rowsOf(*ui);
    m_record = bindRecord(*ui, m_rows, this);

    for (int n = 1; n <= ScheduleSettings::kEntries; ++n) {
        const Form1Rows::Program &row = m_rows.programs[n - 1];
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
    nameForAssistiveTechnology(*ui, m_rows);
    makeSteppedFields();
}

TForm1::~TForm1() = default;

void TForm1::makeSteppedFields()
{
    for (const StepperRow &row : kSteppers)
        new SteppedField(m_platform, findChild<Stepper *>(QLatin1String(row.stepper)),
                         findChild<ByteEdit *>(QLatin1String(row.field)), row.rule);
}

void TForm1::connectRuleSources()
{
    using Rule = void (TForm1::*)();
    const std::pair<QAbstractButton *, Rule> sources[] = {
        {ui->kidobi_CBox, &TForm1::EnableKidobi},       {ui->yobi_CBox, &TForm1::EnableYobi},
        {ui->sokuji_RBtn, &TForm1::EnableKido},         {ui->timer_RBtn, &TForm1::EnableKido},
        {ui->syuryo1_RBtn, &TForm1::EnableSyuryo},      {ui->syuryo2_RBtn, &TForm1::EnableSyuryo},
        {ui->syuryo3_RBtn, &TForm1::EnableSyuryo},      {ui->dokuritu_CBox2, &TForm1::EnableDokuritu},
        {ui->dokuritu_CBox3, &TForm1::EnableDokuritu},  {ui->dokuritu_CBox4, &TForm1::EnableDokuritu},
        {ui->dokuritu_CBox5, &TForm1::EnableDokuritu},  {ui->yoyakugo1_CBox, &TForm1::EnableYoyakugo},
        {ui->kidojiymd_RBtn, &TForm1::EnableYoyakugo},  {ui->siteiymd_RBtn, &TForm1::EnableYoyakugo},
        {ui->minimize_RBtn, &TForm1::EnableMinimize},   {ui->nominimize_RBtn, &TForm1::EnableMinimize},
    };
    // A key that changes a source runs its rule as a mouse release does.
    const auto connectSource = [this](auto *source, Rule rule) {
        using Source = std::remove_pointer_t<decltype(source)>;
        connectGuarded(m_platform, source, &Source::mouseUp, this, rule);
        connectGuarded(m_platform, source, &Source::keyUp, this, rule);
    };
    for (const auto &[source, rule] : sources) {
        if (auto *box = qobject_cast<MouseUpCheckBox *>(source))
            connectSource(box, rule);
        else
            connectSource(qobject_cast<MouseUpRadioButton *>(source), rule);
    }
}

void TForm1::FormCreate()
{
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
        m_record.write(s);
        throw;
    }
    m_record.write(s);
    EnableAll();
}

void TForm1::EnableKidobi()
{
    enable(ui->kidobi_CBox->isChecked(), {ui->kidobi_Edit, ui->kidobi_UD});
}

void TForm1::EnableYobi()
{
    const bool on = ui->yobi_CBox->isChecked();
    for (QCheckBox *day : m_rows.weekdays)
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
    for (const Form1Rows::Delay &row : m_rows.delays)
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
    const Form1Rows::Program &row = m_rows.programs.at(entry - 1);
    row.path->setNewText(QString());
    row.args->setNewText(QString());
}

} // namespace nerubato
