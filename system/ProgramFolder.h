#pragma once

#include <QString>

namespace nerubato {

// The folder this program's file lies in, found without an application
// object (the runner decides before it makes one); a link to the program is
// followed to the file itself.
QString programFolder();

} // namespace nerubato
