#include "Look.h"

namespace nerubato {

// The native style already lays dialog buttons out in the Windows order, and
// Windows has the design font itself.
void installSystemLook(const QString &)
{
}

} // namespace nerubato
