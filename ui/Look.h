#pragma once

namespace nerubato {

// Installs the look every window relies on: the design font (on Linux mapped to
// an installed Japanese font), the dialog button order, and Qt's own texts
// (the edit fields' context menu) in Japanese.
void installLook();

} // namespace nerubato
