#include "WindowSet.h"

#include "chooser/TsForm.h"
#include "editor/TForm1.h"
#include "shell/TForm3.h"
#include "storage/TForm2.h"

namespace nerubato {

namespace {

// Each window is reachable through forms before its creation handler runs.
template <typename Form> void create(std::unique_ptr<Form> &owner, Form *Forms::*slot, Forms &forms)
{
    owner = std::make_unique<Form>(forms);
    forms.*slot = owner.get();
    owner->FormCreate();
}

} // namespace

WindowSet::WindowSet(Platform &platform)
{
    m_forms.platform = &platform;
    create(m_form3, &Forms::Form3, m_forms);
    create(m_form1, &Forms::Form1, m_forms);
    create(m_form2, &Forms::Form2, m_forms);
    create(m_sForm, &Forms::sForm, m_forms);
}

WindowSet::~WindowSet()
{
    m_sForm.reset();
    m_forms.sForm = nullptr;
    m_form2.reset();
    m_forms.Form2 = nullptr;
    m_form1.reset();
    m_forms.Form1 = nullptr;
    m_form3.reset();
    m_forms.Form3 = nullptr;
}

} // namespace nerubato
