#include "sim/frame_log.h"

#include <cstdio>

namespace vortaboot::sim {

void FrameLog::record(std::string_view direction, const Bytes& bytes, TimePoint at) {
  const double seconds = std::chrono::duration<double>(at - start_).count();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f", seconds);
  out_ << stamp << ' ' << direction;
  for (std::uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", byte);
    out_ << hex;
  }
  out_ << '\n';
  out_.flush();
}

}  // namespace vortaboot::sim
