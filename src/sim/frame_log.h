#pragma once
// The simulator's record of the line: one frame a line, as
//   <seconds since start> <direction> <bytes in hex>
// with direction rx (a frame received), rx-cut (bytes of an incomplete frame
// dropped), echo (bytes returned as the line's echo) or tx (a reply; its time
// is the moment its first byte starts on the line).

#include <chrono>
#include <ostream>
#include <string_view>

#include "sim/frame.h"

namespace vortaboot::sim {

class FrameLog {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  FrameLog(std::ostream& out, TimePoint start) : out_(out), start_(start) {}

  void record(std::string_view direction, const Bytes& bytes, TimePoint at);

 private:
  std::ostream& out_;
  TimePoint start_;
};

}  // namespace vortaboot::sim
