#pragma once
// The buffer behind OpenRange, WriteBuffer and StoreBuffer: pieces are
// collected here and reach the settings space only when they are stored.
//
// OpenRange announces a length that later pieces may not pass. Without an
// OpenRange (the firmware loader rewrites the head of block 0 that way) the
// pieces are bounded by the settings space alone. Positions no piece wrote
// keep their old content when the buffer is stored.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/settings_space.h"

namespace vortaboot::sim {

class SettingsStaging {
 public:
  static constexpr std::size_t kPieceSize = 32;

  void open(std::uint16_t length);
  // Piece `index` stands for positions 32·index on.
  void write(std::uint16_t index, std::span<const std::uint8_t> data);
  // Puts the written positions below `length` into `space` from `offset` on,
  // then empties the buffer and closes the range.
  void storeInto(SettingsSpace& space, std::uint16_t offset, std::uint16_t length);

 private:
  std::size_t limit_ = SettingsSpace::kSize;
  std::vector<std::uint8_t> data_ = std::vector<std::uint8_t>(SettingsSpace::kSize);
  std::vector<bool> written_ = std::vector<bool>(SettingsSpace::kSize);
};

}  // namespace vortaboot::sim
