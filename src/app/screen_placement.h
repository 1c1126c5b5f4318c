#pragma once
// Where the program's windows open: centred on their screen, or over another
// window.

class QWidget;

namespace vortaboot::app {

// Centred in the screen's available area; a window larger than that area
// keeps its top-left corner on the screen, so its title bar stays reachable.
void CentreOnScreen(QWidget& window);
void CentreOver(QWidget& window, const QWidget& other);

// Shows the window centred over the other. The window's frame is known only
// once it is shown, so it is placed before, to open in about the right spot,
// and again after, to sit exactly.
void ShowCentredOver(QWidget& window, const QWidget& other);

}  // namespace vortaboot::app
