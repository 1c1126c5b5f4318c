#pragma once
// What ProgramPage reports: status flags and a result code. Flags with bit 0
// or bit 1 set, or a result code from 1 to 4, report a failure, and then the
// page is not programmed.

#include <cstdint>

#include "sim/command_selector.h"

namespace vortaboot::sim {

struct ProgramStatus {
  std::uint8_t flags = 0;
  std::uint8_t resultCode = 0;

  bool reportsSuccess() const;
};

struct ProgramStatusRule {
  ProgramStatus status;
  CommandSelector when;
};

}  // namespace vortaboot::sim
