#include "app/window_placement.h"

#include <QWidget>

namespace vortaboot::app {
namespace {

WindowState StateOf(const QWidget& window) {
  if (window.isMinimized()) return WindowState::Minimized;
  if (window.isMaximized()) return WindowState::Maximized;
  return WindowState::Normal;
}

}  // namespace

FormPlacement ReadPlacement(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  return {StateOf(window), frame.left(), frame.top(), frame.width(), frame.height(), false};
}

void ApplyPlacement(QWidget& window, const FormPlacement& placement) {
  const bool minimized = placement.state == WindowState::Minimized;
  window.setWindowState(minimized ? Qt::WindowMinimized : Qt::WindowNoState);
  window.move(placement.left, placement.top);
}

}  // namespace vortaboot::app
