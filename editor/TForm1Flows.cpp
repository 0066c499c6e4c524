// The editor's side of saving, loading, unregistering and browsing.
#include "TForm1.h"

#include "editor/ByteEdit.h"
#include "settings/RunnerContract.h"
#include "ui/Messages.h"

#include <QDir>

namespace nerubato {

bool TForm1::RestoreStartDirectory()
{
    if (QDir::setCurrent(StartDirectory))
        return true;
    showMessage(m_platform, MessageType::Error,
                {QStringLiteral("カレントディレクトリのセットに失敗しました"),
                 QStringLiteral("ファイル操作を正常に行えませんでした")},
                Ok);
    hide();
    // A slot chooser already open (for loading) would read or write in
    // whatever directory is current now.
    emit slotChooserDismissed();
    return false;
}

void TForm1::hozon_BtnClick()
{
    if (m_windowMode != WindowMode::Create) {
        SlotFileName = runner::kRegistrationFile;
        runner::deleteRegistration();
        showMessage(m_platform, MessageType::Information, {QStringLiteral("登録を解除しました")},
                    Ok);
        hide();
        return;
    }
    // Nothing is written anywhere else when the start directory is gone.
    if (!RestoreStartDirectory())
        return;
    SettingsLines.clear();
    SettingsToLines();
    SlotAction = SlotAction::Save;
    emit slotChooserWanted(SettingsLines);
    setEnabled(false);
}

void TForm1::yomidasiClick()
{
    if (!RestoreStartDirectory())
        return;
    SlotAction = SlotAction::Load;
    emit slotChooserWanted({});
}

void TForm1::syuryo_BtnClick()
{
    hide();
}

void TForm1::browse(int entry)
{
    BrowseTarget = static_cast<quint8>(entry);
    m_browsing = true;
    emit fileChooserWanted();
    setEnabled(false);
}

void TForm1::slotChooserClosed()
{
    if (m_browsing)
        return;
    setEnabled(true);
    activateWindow(); // the keyboard goes on where it was
}

void TForm1::programPathChosen(const QString &path)
{
    if (BrowseTarget >= 1 && BrowseTarget <= ScheduleSettings::kEntries)
        m_rows.programs[BrowseTarget - 1].path->setNewText(path);
    fileChooserClosed();
}

void TForm1::fileChooserClosed()
{
    m_browsing = false;
    setEnabled(true);
    activateWindow();
}

} // namespace nerubato
