#pragma once
// --trace: every frame that crosses the line, in hexadecimal, one per line.

#include <ostream>

#include "link/frame_observer.h"

namespace vortaboot::cli {

class FrameTrace : public link::FrameObserver {
 public:
  explicit FrameTrace(std::ostream& out) : out_(out) {}
  void frameSent(std::span<const std::uint8_t> frame) override { print("->", frame); }
  void frameReceived(std::span<const std::uint8_t> frame) override { print("<-", frame); }

 private:
  void print(const char* direction, std::span<const std::uint8_t> frame);
  std::ostream& out_;
};

}  // namespace vortaboot::cli
