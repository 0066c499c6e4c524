#pragma once

class QWidget;

namespace nerubato {

// Centres the window on the screen once, when it is first shown and has its
// frame; later showings keep where the user left it.
void centreOnFirstShow(QWidget *window);

// Centres the window, frame included, on the screen now.
void centreOnScreen(QWidget *window);

// Shows the window modelessly and brings it to the front, with the keyboard.
void bringToFront(QWidget *window);

} // namespace nerubato
