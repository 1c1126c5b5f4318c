#pragma once
// What the configuration file keeps of a window, free of any window toolkit.

#include <cstdint>

namespace vortaboot::app {

enum class WindowState : std::int32_t { Normal = 0, Minimized = 1, Maximized = 2 };

struct FormPlacement {
  WindowState state = WindowState::Normal;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;   // outer size, pixels
  std::int32_t height = 0;
  bool sizeableBorder = false;
};

}  // namespace vortaboot::app
