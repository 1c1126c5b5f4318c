#pragma once
// The fonts of the program's windows: "MS Sans Serif" where the system has
// it, otherwise a sans-serif face with Cyrillic letters.

#include <QFont>

namespace vortaboot::app {

// Bold, 11 pixels high.
QFont MainWindowFont();
// The port-number dialog and the progress window: regular weight, a pixel
// smaller, so that the dialog's one-line prompt fits its 201 pixels also in
// the wider fallback face.
QFont DialogFont();

}  // namespace vortaboot::app
