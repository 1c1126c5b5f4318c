#pragma once
// The XOR table that hides the content of settings files. Files can be
// exchanged only between builds that share it, so it must never change.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vortaboot::operations {

inline constexpr std::size_t kScrambleTableSize = 4096;

// The table is generated, not typed in: xorshift32 (shifts 13, 17, 5) from
// the seed 0x2F6B7A1D; each entry is the top byte of the next state.
constexpr std::array<std::uint8_t, kScrambleTableSize> MakeScrambleTable() {
  std::array<std::uint8_t, kScrambleTableSize> table{};
  std::uint32_t state = 0x2F6B7A1Du;
  for (auto& entry : table) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    entry = static_cast<std::uint8_t>(state >> 24);
  }
  return table;
}

inline constexpr std::array<std::uint8_t, kScrambleTableSize> ScrambleTable = MakeScrambleTable();

// Byte p becomes byte p XOR ScrambleTable[p mod 4096]; applied twice it gives
// the bytes back, so it both scrambles and de-scrambles.
std::vector<std::uint8_t> ScrambleSettings(std::span<const std::uint8_t> bytes);

}  // namespace vortaboot::operations
