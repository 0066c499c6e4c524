#pragma once

class QString;

namespace nerubato {

// Installs the look every window relies on: the design font (on Linux mapped to
// an installed Japanese font), the dialog button order, and Qt's own texts
// (the edit fields' context menu) in Japanese.
void installLook();

// The application's window icon from a compiled-in resource of 64 x 64 raw
// RGBA pixels. Raw rather than a PNG or a file name: the first image decoded,
// or the icon engine plugins a file name starts, would cost the start-up a
// millisecond. One 64 px picture serves: Windows asks for 16 and 32 px, up to
// 32 and 64 at 200 %, and X11 stores every pixel of every size on each window.
void setRawWindowIcon(const QString &resource);

// What the look needs of this system (Look_win.cpp, Look_unix.cpp): on Linux
// the design font mapped to an installed Japanese one and the Windows button
// order; Windows has both.
void installSystemLook(const QString &designFont);

} // namespace nerubato
