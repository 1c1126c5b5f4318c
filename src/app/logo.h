#pragma once
// The program's logo: a swirl of three arcs and the name "vortaboot", drawn
// on a transparent background so the window's colour shows through.

#include <QPixmap>
#include <QSize>

namespace vortaboot::app {

QPixmap DrawLogo(const QSize& size);

}  // namespace vortaboot::app
