#pragma once
// Millisecond clock and sleep, behind an interface so tests can run on
// virtual time.

#include <cstdint>

namespace vortaboot::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary origin; wraps around at 2^32.
  virtual std::uint32_t tickCount() = 0;
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

// Time that has passed since `start`, correct across a wrap of the counter.
inline std::uint32_t elapsedSince(std::uint32_t start, std::uint32_t now) {
  return now - start;
}

Clock& systemClock();

}  // namespace vortaboot::platform
