#include "WindowSet.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"
#include "ui/Handlers.h"

#include <QDir>

namespace nerubato {

WindowSet::WindowSet(Platform &platform, LinkHook *hook)
    : m_platform(platform), m_hook(hook), m_folder(QDir::currentPath()),
      m_form3(std::make_unique<TForm3>(platform, m_folder)),
      m_form1(std::make_unique<TForm1>(platform, m_folder)),
      m_form2(std::make_unique<TForm2>(platform, m_folder)),
      m_sForm(std::make_unique<TsForm>(platform))
{
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

// Every link runs guarded: a handler of one window that throws (a chosen path
// the entry cannot hold) ends in the general error box, whichever window's
// signal reached it.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
void WindowSet::link(const char *name, Sender *sender, Signal signal, Receiver *receiver,
                     Handler handler)
{
    connectGuarded(m_platform, sender, signal, receiver,
                   SignalCall<Signal>::exactly([this, name, receiver, handler](auto &...args) {
                       if (m_hook)
                           m_hook->linkRuns(name);
                       invokeHandler(handler, receiver, args...);
                   }));
}

void WindowSet::connectWindows()
{
    TForm3 *main = m_form3.get();
    TForm1 *editor = m_form1.get();
    TForm2 *slotChooser = m_form2.get();
    TsForm *files = m_sForm.get();

    // The main window opens the editor and loads the registration into it;
    // the editor reads its mode.
    main->setSettingsTarget(editor);
    editor->setWindowModeSource(main);
    link("mode applied", main, &TForm3::windowModeApplied, editor, &TForm1::presentMode);
    link("first page", main, &TForm3::editorFirstPageWanted, editor, &TForm1::showFirstPage);
    link("editor shown", main, &TForm3::editorWanted, editor, &TForm1::bringToFront);
    link("mode wanted", editor, &TForm1::windowModeWanted, main, &TForm3::ApplyWindowMode);

    // The editor's save and load flows through the slot chooser, which loads
    // into the editor.
    slotChooser->setSettingsTarget(editor);
    link("slot chooser wanted", editor, &TForm1::slotChooserWanted, slotChooser, &TForm2::open);
    link("slot chooser dismissed", editor, &TForm1::slotChooserDismissed, slotChooser,
         &QWidget::hide);
    link("slot chooser closed", slotChooser, &TForm2::closedForEditor, editor,
         &TForm1::slotChooserClosed);

    // Browsing for a program's file.
    link("file chooser wanted", editor, &TForm1::fileChooserWanted, files, &TsForm::open);
    link("path accepted", files, &TsForm::pathAccepted, editor, &TForm1::programPathChosen);
    link("file chooser cancelled", files, &TsForm::cancelled, editor,
         &TForm1::fileChooserClosed);
}

} // namespace nerubato
