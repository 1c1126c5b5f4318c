#include "app/screen_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vortaboot::app {
namespace {

QPoint CornerToCentre(const QWidget& window, const QPoint& centre) {
  const QSize size = window.frameGeometry().size();
  return {centre.x() - size.width() / 2, centre.y() - size.height() / 2};
}

}  // namespace

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QPoint corner = CornerToCentre(window, area.center());
  window.move(std::max(corner.x(), area.left()), std::max(corner.y(), area.top()));
}

void CentreOver(QWidget& window, const QWidget& other) {
  window.move(CornerToCentre(window, other.frameGeometry().center()));
}

void ShowCentredOver(QWidget& window, const QWidget& other) {
  CentreOver(window, other);
  window.show();
  CentreOver(window, other);
}

}  // namespace vortaboot::app
