#pragma once
// Cuts the bytes arriving from the line into frames by their length byte
// (0 standing for 256). A frame left incomplete for longer than the idle
// limit is dropped, so one lost byte does not put every later frame out of
// step: the sender writes a whole frame at once.

#include <chrono>
#include <optional>
#include <span>
#include <vector>

#include "sim/frame.h"

namespace vortaboot::sim {

class FrameAssembler {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  static constexpr auto kIdleLimit = std::chrono::milliseconds(50);

  // The frames that `bytes` complete, in order.
  std::vector<Bytes> add(std::span<const std::uint8_t> bytes, TimePoint now);
  // The incomplete frame's bytes if they have waited past the idle limit,
  // which are then forgotten; otherwise nothing.
  Bytes dropStale(TimePoint now);
  // When the incomplete frame, if any, goes stale.
  std::optional<TimePoint> staleAt() const;

 private:
  Bytes pending_;
  TimePoint lastByte_{};
};

}  // namespace vortaboot::sim
