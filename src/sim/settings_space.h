#pragma once
// The device's settings memory: 4096 bytes, read in 32-byte blocks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sim/frame.h"

namespace vortaboot::sim {

class SettingsSpace {
 public:
  static constexpr std::size_t kSize = 4096;
  static constexpr std::size_t kBlockSize = 32;
  static constexpr std::size_t kBlocks = kSize / kBlockSize;

  // Blank memory reads as 0xFF, as erased storage does.
  SettingsSpace() { bytes.fill(0xFF); }

  // The 32 bytes of block `number`; nullopt past the last block.
  std::optional<Bytes> block(std::uint16_t number) const;
  // Writes `data` from `offset` on; what would fall past the end is dropped.
  void write(std::size_t offset, std::span<const std::uint8_t> data);

  std::array<std::uint8_t, kSize> bytes;
};

}  // namespace vortaboot::sim
