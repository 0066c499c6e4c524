#include "WindowSet.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"

namespace nerubato {

WindowSet::WindowSet(Platform &platform)
    : m_form3(std::make_unique<TForm3>(platform)), m_form1(std::make_unique<TForm1>(platform)),
      m_form2(std::make_unique<TForm2>(platform)), m_sForm(std::make_unique<TsForm>(platform))
{
    m_forms = {&platform, m_form3.get(), m_form1.get(), m_form2.get(), m_sForm.get()};
    connectWindows();
    m_form3->FormCreate();
    m_form1->FormCreate();
    m_form2->FormCreate();
    m_sForm->FormCreate();
}

WindowSet::~WindowSet() = default;

void WindowSet::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_form1->FormDestroy();
}

void WindowSet::connectWindows()
{
    TForm3 *main = m_form3.get();
    TForm1 *editor = m_form1.get();
    TForm2 *slotChooser = m_form2.get();
    TsForm *files = m_sForm.get();

    // The main window opens the editor and loads the registration into it.
    main->setSettingsTarget(editor);
    QObject::connect(main, &TForm3::windowModeApplied, editor, &TForm1::presentMode);
    QObject::connect(main, &TForm3::editorFirstPageWanted, editor, &TForm1::showFirstPage);
    QObject::connect(main, &TForm3::editorWanted, editor, &TForm1::bringToFront);
    QObject::connect(editor, &TForm1::windowModeWanted, main, &TForm3::ApplyWindowMode);

    // The editor's save and load flows through the slot chooser.
    slotChooser->setSettingsTarget(editor);
    QObject::connect(editor, &TForm1::slotChooserWanted, slotChooser, &TForm2::open);
    QObject::connect(editor, &TForm1::slotChooserDismissed, slotChooser, &QWidget::hide);
    QObject::connect(slotChooser, &TForm2::slotFileChosen, editor, &TForm1::slotFileChosen);
    QObject::connect(slotChooser, &TForm2::closedForEditor, editor, &TForm1::slotChooserClosed);

    // Browsing for a program's file.
    QObject::connect(editor, &TForm1::fileChooserWanted, files, &TsForm::open);
    QObject::connect(files, &TsForm::pathAccepted, editor, &TForm1::programPathChosen);
    QObject::connect(files, &TsForm::cancelled, editor, &TForm1::fileChooserClosed);
}

} // namespace nerubato
