#include "TForm2.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "settings/RunnerContract.h"
#include "settings/SettingsFile.h"
#include "shell/Messages.h"
#include "ui_Form2.h"

#include <QCloseEvent>
#include <QFile>

namespace nerubato {

namespace {
const QString kLabels[] = {QStringLiteral("ファイル１"), QStringLiteral("ファイル２"),
                           QStringLiteral("ファイル３"), QStringLiteral("ファイル４"),
                           QStringLiteral("ファイル５")};
}

TForm2::TForm2(Forms &forms, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm2>()), m_forms(forms)
{
    ui->setupUi(this);
    centreOnScreen(this);
    auto handle = [this](void (TForm2::*handler)()) {
        return guardedSlot(*m_forms.platform, this, handler);
    };
    connect(ui->Button1, &QPushButton::clicked, this, handle(&TForm2::Button1Click));
    connect(ui->Button2, &QPushButton::clicked, this, handle(&TForm2::Button2Click));
    connect(ui->Button3, &QPushButton::clicked, this, handle(&TForm2::Button3Click));
    connect(ui->Button4, &QPushButton::clicked, this, handle(&TForm2::Button4Click));
    connect(ui->Button5, &QPushButton::clicked, this, handle(&TForm2::Button5Click));
    connect(ui->cancel_Btn, &QPushButton::clicked, this, handle(&TForm2::cancel_BtnClick));
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {}

void TForm2::SetSlotPrompt()
{
    switch (m_forms.Form1->SlotAction) {
    case 1:
        ui->msgL->setText(QStringLiteral("保存先のファイルを選択してください"));
        break;
    case 2:
        ui->msgL->setText(QStringLiteral("読み出すファイルを選択してください"));
        break;
    default:
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
    TForm1 &editor = *m_forms.Form1;
    editor.SlotFileName = runner::kSlotFiles[slot - 1];
    SetSlotPrompt();
    if (editor.SlotAction == 1)
        SaveToSlot();
    else if (editor.SlotAction == 2)
        LoadFromSlot();
}

void TForm2::holdLinesToSave(const Lines &lines)
{
    m_linesToSave = lines;
}

void TForm2::finish()
{
    enableEditor();
    hide();
}

// The file chooser keeps the editor disabled for as long as it is open.
void TForm2::enableEditor()
{
    if (!m_forms.sForm || !m_forms.sForm->isVisible())
        m_forms.Form1->setEnabled(true);
}

void TForm2::SaveToSlot()
{
    TForm1 &editor = *m_forms.Form1;
    Platform &platform = *m_forms.platform;
    // What the save flow composed, even if the main window's view has loaded
    // the registration into the editor's lines meanwhile.
    saveLines(editor.SlotFileName, m_linesToSave);
    const QString label = SlotLabel(editor.SlotFileName);
    const MessageButton answer = showMessage(
        platform, MessageType::Information,
        {label + QStringLiteral("に保存しました"), QStringLiteral("この設定を登録しますか？")},
        Yes | No);
    if (answer != No) {
        // Replaced in one step: the runner never finds the registration missing.
        saveLines(runner::kRegistrationFile, m_linesToSave);
        showMessage(platform, MessageType::Information,
                    {QStringLiteral("この設定を登録しました"),
                     QStringLiteral("テスト実行を行うとこの設定の内容がテストできます"),
                     QStringLiteral("quorvex.exeをスタートアップに登録すれば、"),
                     QStringLiteral("コンピューター起動時に自動的にこの設定で実行されます")},
                    Ok);
    }
    finish();
}

void TForm2::LoadFromSlot()
{
    TForm1 &editor = *m_forms.Form1;
    const QString label = SlotLabel(editor.SlotFileName);
    if (QFile::exists(editor.SlotFileName)) {
        editor.SettingsLines = loadLines(editor.SlotFileName);
        editor.LinesToSettings();
        hide();
        return;
    }
    const MessageButton answer =
        showMessage(*m_forms.platform, MessageType::Error,
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
    enableEditor();
    QWidget::closeEvent(event);
}

} // namespace nerubato
