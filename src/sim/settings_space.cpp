#include "sim/settings_space.h"

#include <algorithm>

namespace vortaboot::sim {

std::optional<Bytes> SettingsSpace::block(std::uint16_t number) const {
  if (number >= kBlocks) return std::nullopt;
  const auto first = bytes.begin() + number * kBlockSize;
  return Bytes(first, first + kBlockSize);
}

void SettingsSpace::write(std::size_t offset, std::span<const std::uint8_t> data) {
  if (offset >= kSize) return;
  const std::size_t count = std::min(data.size(), kSize - offset);
  std::copy_n(data.begin(), count, bytes.begin() + offset);
}

}  // namespace vortaboot::sim
