#pragma once
// A top-level window's placement as the configuration file keeps it.

#include "app/form_placement.h"

class QWidget;

namespace vortaboot::app {

// State, outer left, top, width and height; the border is never sizeable,
// since the program's windows all have a fixed size.
FormPlacement ReadPlacement(const QWidget& window);

// Sets the state and the position. A fixed-size window cannot be maximized:
// that state opens it in its normal size.
void ApplyPlacement(QWidget& window, const FormPlacement& placement);

}  // namespace vortaboot::app
