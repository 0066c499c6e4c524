// The editor's side of saving, loading, unregistering and browsing.
#include "TForm1.h"

#include "editor/ByteEdit.h"
#include "ui/Messages.h"


namespace nerubato {

// Every file is named in the start directory; what is left to check is that
// it is still there.
bool TForm1::RestoreStartDirectory()
{
    if (m_folder.isThere())
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
    if (m_modeSource && m_modeSource->windowMode() != WindowMode::Create) {
        m_folder.deleteRegistration();
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
    emit slotChooserWanted(SlotAction::Save, SettingsLines);
    setEnabled(false);
}

void TForm1::yomidasiClick()
{
    if (!RestoreStartDirectory())
        return;
    emit slotChooserWanted(SlotAction::Load, {});
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
