// Placeholder until the file chooser lands.
#include "TsForm.h"

namespace nerubato {

TsForm::TsForm(Forms &forms, QWidget *parent) : QWidget(parent), m_forms(forms)
{
    setObjectName(QStringLiteral("sForm"));
}

void TsForm::FormCreate() {}

} // namespace nerubato
