#pragma once

#include <cmath>

namespace vortaboot::link {

// Nearest whole number, an exact half going to the even neighbour.
inline long RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return static_cast<long>(floor) + 1;
  if (fraction < 0.5) return static_cast<long>(floor);
  const long down = static_cast<long>(floor);
  return down % 2 == 0 ? down : down + 1;
}

}  // namespace vortaboot::link
