#include "sim/settings_staging.h"

#include <algorithm>

namespace vortaboot::sim {

void SettingsStaging::open(std::uint16_t length) {
  std::fill(written_.begin(), written_.end(), false);
  limit_ = std::min<std::size_t>(length, SettingsSpace::kSize);
}

void SettingsStaging::write(std::uint16_t index, std::span<const std::uint8_t> data) {
  const std::size_t first = std::size_t{index} * kPieceSize;
  for (std::size_t i = 0; i < data.size() && first + i < limit_; ++i) {
    data_[first + i] = data[i];
    written_[first + i] = true;
  }
}

void SettingsStaging::storeInto(SettingsSpace& space, std::uint16_t offset, std::uint16_t length) {
  const std::size_t end = std::min<std::size_t>(length, written_.size());
  for (std::size_t position = 0; position < end; ++position) {
    if (written_[position]) space.write(offset + position, std::span(&data_[position], 1));
  }
  open(SettingsSpace::kSize);
}

}  // namespace vortaboot::sim
