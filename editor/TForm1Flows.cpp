// The editor's side of saving, loading, unregistering and browsing.
#include "TForm1.h"

#include "chooser/TsForm.h"
#include "settings/Errors.h"
#include "settings/RunnerContract.h"
#include "shell/Messages.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"

#include <QDir>
#include <QFile>

namespace nerubato {

namespace {

void bringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

bool TForm1::RestoreStartDirectory()
{
    if (QDir::setCurrent(StartDirectory))
        return true;
    showMessage(*m_forms.platform, MessageType::Error,
                {QStringLiteral("カレントディレクトリのセットに失敗しました"),
                 QStringLiteral("ファイル操作を正常に行えませんでした")},
                Ok);
    hide();
    // A slot chooser already open (for loading) would read or write in
    // whatever directory is current now.
    if (m_forms.Form2)
        m_forms.Form2->hide();
    return false;
}

void TForm1::hozon_BtnClick()
{
    const bool createMode = !m_forms.Form3 || m_forms.Form3->WindowMode == 1;
    if (!createMode) {
        SlotFileName = runner::kRegistrationFile;
        // A registration that is still there after "cancelled" would run at
        // the next start: say so instead.
        if (QFile::exists(SlotFileName) && !QFile::remove(SlotFileName))
            throw FileDeleteError(SlotFileName);
        showMessage(*m_forms.platform, MessageType::Information,
                    {QStringLiteral("登録を解除しました")}, Ok);
        hide();
        return;
    }
    // Nothing is written anywhere else when the start directory is gone.
    if (!RestoreStartDirectory())
        return;
    SettingsLines.clear();
    SettingsToLines();
    m_forms.Form2->holdLinesToSave(SettingsLines);
    SlotAction = 1;
    m_forms.Form2->SetSlotPrompt();
    bringToFront(m_forms.Form2);
    setEnabled(false);
}

void TForm1::yomidasiClick()
{
    if (!RestoreStartDirectory())
        return;
    SlotAction = 2;
    m_forms.Form2->SetSlotPrompt();
    bringToFront(m_forms.Form2);
}

void TForm1::syuryo_BtnClick()
{
    hide();
}

void TForm1::browse(int entry)
{
    BrowseTarget = static_cast<quint8>(entry);
    bringToFront(m_forms.sForm);
    setEnabled(false);
}

} // namespace nerubato
