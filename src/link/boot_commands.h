#pragma once
// The boot loader's address and command codes.

#include <cstdint>

namespace vortaboot::link {

inline constexpr std::uint8_t BootAddress = 244;

enum BootCommand : std::uint8_t {
  Identify = 1,      // -> DeviceType (byte), DeviceVersion (word)
  WriteBuffer = 4,   // piece index (word), byte count 1..32 (word), bytes
  ReadBlock = 5,     // block number (word) -> 32 bytes of the block
  Finish = 6,        // no reply needed
  StoreBuffer = 7,   // settings offset (word), length (word)
  PageData = 10,     // piece index 0..63 (byte), 32 bytes of the next page
  OpenRange = 12,    // settings offset (word), length (word)
  ProgramPage = 20,  // program-memory address (32-bit) -> flags, result code
};

}  // namespace vortaboot::link
