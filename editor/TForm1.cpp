// Placeholder until the editor window lands: only what the other windows call.
#include "TForm1.h"

#include "chooser/TsForm.h"

#include <QDir>
#include <QLineEdit>

namespace nerubato {

TForm1::TForm1(Forms &forms, QWidget *parent) : QWidget(parent), m_forms(forms)
{
    setObjectName(QStringLiteral("Form1"));
    for (int n = 1; n <= 5; ++n) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("jikko%1_Edit").arg(n));
        auto *args = new QLineEdit(this);
        args->setObjectName(QStringLiteral("sw%1_Edit").arg(n));
    }
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate() { StartDirectory = QDir::currentPath(); }
void TForm1::FormDestroy() {}
void TForm1::SettingsToLines() { SettingsLines << settingsToLines(settings()); }
void TForm1::LinesToSettings()
{
    ScheduleSettings s = settings();
    linesToSettings(SettingsLines, s);
    setSettings(s);
}
ScheduleSettings TForm1::settings() const { return {}; }
void TForm1::setSettings(const ScheduleSettings &) {}
void TForm1::EnableAll() {}
void TForm1::presentMode(quint8) {}
void TForm1::showFirstPage() {}
void TForm1::setProgramPath(int entry, const QString &path)
{
    if (auto *edit = findChild<QLineEdit *>(QStringLiteral("jikko%1_Edit").arg(entry)))
        edit->setText(path);
}
bool TForm1::RestoreStartDirectory() { return QDir::setCurrent(StartDirectory); }
void TForm1::hozon_BtnClick() {}
void TForm1::yomidasiClick() {}
void TForm1::syuryo_BtnClick() { hide(); }
void TForm1::browse(int entry)
{
    BrowseTarget = static_cast<quint8>(entry);
    m_forms.sForm->show();
    m_forms.sForm->raise();
    m_forms.sForm->activateWindow();
    setEnabled(false);
}

} // namespace nerubato
