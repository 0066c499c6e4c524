#pragma once

namespace nerubato {

// Installs the look every window relies on: the design font (on Linux mapped to
// an installed Japanese font) and the dialog button order.
void installLook();

} // namespace nerubato
