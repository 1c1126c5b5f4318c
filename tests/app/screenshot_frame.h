#pragma once
// A picture of a window as a desktop would show it: the offscreen platform
// draws no window frame, so a plain one is drawn around the window's own
// rendering, with its caption and the title-bar buttons its flags ask for.

#include <QImage>

class QWidget;

namespace vortaboot::testing {

QImage FramedPicture(QWidget& window);

}  // namespace vortaboot::testing
