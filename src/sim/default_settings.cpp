#include "sim/default_settings.h"

#include <algorithm>
#include <string_view>

namespace vortaboot::sim {
namespace {

constexpr std::string_view kBlockZeroText = "SIMULATED DEVICE";

void putWord(SettingsSpace& space, std::size_t offset, std::uint16_t value) {
  space.bytes[offset] = static_cast<std::uint8_t>(value);
  space.bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void writeTable(SettingsSpace& space) {
  const auto& ranges = defaultRanges();
  space.bytes[kRangeTableOffset] = static_cast<std::uint8_t>(ranges.size());
  space.bytes[kRangeTableOffset + 1] = kDefaultTableVersion;
  putWord(space, kRangeTableOffset + 2, 0);
  for (std::size_t i = 1; i <= ranges.size(); ++i) {
    putWord(space, kRangeTableOffset + 4 * i, ranges[i - 1].offset);
    putWord(space, kRangeTableOffset + 4 * i + 2, ranges[i - 1].length);
  }
}

void fillRange(SettingsSpace& space, std::size_t entry, const SettingsRange& range) {
  for (std::size_t p = 0; p < range.length; ++p) {
    space.bytes[range.offset + p] = static_cast<std::uint8_t>(16 * entry + p % 16);
  }
}

}  // namespace

// Varied on purpose: a range of exactly four bytes (nothing to carry), one
// whose carried part is not a whole number of pieces, and several pieces long.
const std::vector<SettingsRange>& defaultRanges() {
  static const std::vector<SettingsRange> ranges{
      {64, 68}, {160, 4}, {192, 45}, {256, 260}, {576, 100}, {1024, 1028},
  };
  return ranges;
}

SettingsSpace defaultSettings() {
  SettingsSpace space;
  std::copy(kBlockZeroText.begin(), kBlockZeroText.end(), space.bytes.begin());
  writeTable(space);
  const auto& ranges = defaultRanges();
  for (std::size_t i = 1; i <= ranges.size(); ++i) fillRange(space, i, ranges[i - 1]);
  return space;
}

}  // namespace vortaboot::sim
