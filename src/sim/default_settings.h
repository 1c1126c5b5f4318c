#pragma once
// What a fresh simulated device holds in its settings space.
//
// Block 0 begins with the text "SIMULATED DEVICE" and four 0xFF bytes. At
// offset 32 stands a range table: EntryCount 6, TableVersion 1, then for
// entry i its RangeOffset and RangeLength (16-bit, little-endian) at 32 + 4i
// and 32 + 4i + 2. Byte p of range i holds 16·i + (p mod 16), so each range
// is easy to tell apart in a dump. Everything else reads 0xFF.

#include <cstdint>
#include <vector>

#include "sim/settings_space.h"

namespace vortaboot::sim {

struct SettingsRange {
  std::uint16_t offset;
  std::uint16_t length;
};

inline constexpr std::uint16_t kRangeTableOffset = 32;
inline constexpr std::uint8_t kDefaultTableVersion = 1;

const std::vector<SettingsRange>& defaultRanges();

SettingsSpace defaultSettings();

}  // namespace vortaboot::sim
