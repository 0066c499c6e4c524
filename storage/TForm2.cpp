// Placeholder until the slot chooser lands.
#include "TForm2.h"

namespace nerubato {

TForm2::TForm2(Forms &forms, QWidget *parent) : QWidget(parent), m_forms(forms)
{
    setObjectName(QStringLiteral("Form2"));
}

void TForm2::FormCreate() {}

} // namespace nerubato
