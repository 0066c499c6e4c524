// The editor's side of the storage flows and the file chooser. Placeholders:
// the flows land with the slot chooser and the file chooser.
#include "TForm1.h"

#include <QDir>

namespace nerubato {

bool TForm1::RestoreStartDirectory()
{
    return QDir::setCurrent(StartDirectory);
}

void TForm1::hozon_BtnClick() {}

void TForm1::yomidasiClick() {}

void TForm1::syuryo_BtnClick()
{
    hide();
}

void TForm1::browse(int entry)
{
    BrowseTarget = static_cast<quint8>(entry);
}

} // namespace nerubato
