#pragma once
// Sees every frame that crosses the line, for tracing.

#include <cstdint>
#include <span>

namespace vortaboot::link {

class FrameObserver {
 public:
  virtual ~FrameObserver() = default;
  virtual void frameSent(std::span<const std::uint8_t> frame) = 0;
  // Also called with the bytes of a frame that was cut short or malformed.
  virtual void frameReceived(std::span<const std::uint8_t> frame) = 0;
};

}  // namespace vortaboot::link
