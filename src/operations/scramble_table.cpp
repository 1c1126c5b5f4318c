#include "operations/scramble_table.h"

namespace vortaboot::operations {

std::vector<std::uint8_t> ScrambleSettings(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> result(bytes.begin(), bytes.end());
  for (std::size_t position = 0; position < result.size(); ++position) {
    result[position] ^= ScrambleTable[position % kScrambleTableSize];
  }
  return result;
}

}  // namespace vortaboot::operations
