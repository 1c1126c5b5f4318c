#include "sim/program_status.h"

namespace vortaboot::sim {

bool ProgramStatus::reportsSuccess() const {
  constexpr std::uint8_t kFailureFlags = 0x03;  // low supply, erase error
  return (flags & kFailureFlags) == 0 && (resultCode < 1 || resultCode > 4);
}

}  // namespace vortaboot::sim
