#include "cli/frame_trace.h"

namespace vortaboot::cli {

void FrameTrace::print(const char* direction, std::span<const std::uint8_t> frame) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line = direction;
  for (std::uint8_t byte : frame) {
    line += ' ';
    line += kDigits[byte >> 4];
    line += kDigits[byte & 0x0F];
  }
  out_ << line << '\n' << std::flush;
}

}  // namespace vortaboot::cli
