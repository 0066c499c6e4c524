#include "TForm2.h"

#include "settings/RunnerContract.h"
#include "ui/Handlers.h"
#include "ui/Placement.h"
#include "ui/SettingsTarget.h"
#include "ui_TForm2.h"

#include <QCloseEvent>

namespace nerubato {

namespace {
const QString kLabels[] = {QStringLiteral("ファイル１"), QStringLiteral("ファイル２"),
                           QStringLiteral("ファイル３"), QStringLiteral("ファイル４"),
                           QStringLiteral("ファイル５")};
}

TForm2::TForm2(Platform &platform, const StartFolder &folder, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_folder(folder), ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    centreOnFirstShow(this);
    const std::pair<QPushButton *, void (TForm2::*)()> buttons[] = {
        {ui->Button1, &TForm2::Button1Click}, {ui->Button2, &TForm2::Button2Click},
        {ui->Button3, &TForm2::Button3Click}, {ui->Button4, &TForm2::Button4Click},
        {ui->Button5, &TForm2::Button5Click}, {ui->cancel_Btn, &TForm2::cancel_BtnClick}};
    for (const auto &[button, handler] : buttons)
        connectGuarded(m_platform, button, &QPushButton::clicked, this, handler);
    cancelOnEscape(m_platform, this, [this] { cancel_BtnClick(); });
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {}

void TForm2::open(nerubato::SlotAction action, const Lines &linesToSave)
{
    SlotAction = action;
    m_linesToSave = linesToSave;
    SetSlotPrompt();
    bringToFront(this);
}

void TForm2::SetSlotPrompt()
{
    switch (SlotAction) {
    case SlotAction::Save:
        ui->msgL->setText(QStringLiteral("保存先のファイルを選択してください"));
        break;
    case SlotAction::Load:
        ui->msgL->setText(QStringLiteral("読み出すファイルを選択してください"));
        break;
    case SlotAction::None:
        break;
    }
}

QString TForm2::SlotLabel(const QString &slotFileName)
{
    for (int i = 0; i < 5; ++i) {
        if (slotFileName == runner::kSlotFiles[i])
            return kLabels[i];
    }
    return {};
}

void TForm2::slotChosen(int slot)
{
    SetSlotPrompt();
    if (SlotAction == SlotAction::Save)
        SaveToSlot(slot);
    else if (SlotAction == SlotAction::Load)
        LoadFromSlot(slot);
}

void TForm2::finish()
{
    emit closedForEditor();
    hide();
}

void TForm2::SaveToSlot(int slot)
{
    m_folder.saveSlot(slot, m_linesToSave);
    const QString label = SlotLabel(runner::kSlotFiles[slot - 1]);
    const MessageButton answer = showMessage(
        m_platform, MessageType::Information,
        {label + QStringLiteral("に保存しました"), QStringLiteral("この設定を登録しますか？")},
        Yes | No);
    if (answer != No) {
        m_folder.writeRegistration(m_linesToSave);
        showMessage(m_platform, MessageType::Information,
                    {QStringLiteral("この設定を登録しました"),
                     QStringLiteral("テスト実行を行うとこの設定の内容がテストできます"),
                     QStringLiteral("quorvex.exeをスタートアップに登録すれば、"),
                     QStringLiteral("コンピューター起動時に自動的にこの設定で実行されます")},
                    Ok);
    }
    finish();
}

void TForm2::LoadFromSlot(int slot)
{
    const QString label = SlotLabel(runner::kSlotFiles[slot - 1]);
    if (const std::optional<Lines> lines = m_folder.loadSlot(slot)) {
        if (m_editor)
            m_editor->loadLines(*lines);
        hide();
        return;
    }
    const MessageButton answer =
        showMessage(m_platform, MessageType::Error,
                    {label + QStringLiteral("にはデータが保存されていません"),
                     QStringLiteral("他のファイルを読み出しますか？")},
                    Yes | No);
    if (answer == No)
        hide();
}

void TForm2::cancel_BtnClick()
{
    finish();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    emit closedForEditor();
    QWidget::closeEvent(event);
}

} // namespace nerubato
