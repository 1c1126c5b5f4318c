#pragma once
// The command codes the boot loader understands.

#include <cstdint>

namespace vortaboot::sim {

enum CommandCode : std::uint8_t {
  Identify = 1,
  WriteBuffer = 4,
  ReadBlock = 5,
  Finish = 6,
  StoreBuffer = 7,
  PageData = 10,
  OpenRange = 12,
  ProgramPage = 20,
};

}  // namespace vortaboot::sim
