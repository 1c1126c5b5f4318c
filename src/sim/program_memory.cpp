#include "sim/program_memory.h"

#include <algorithm>

namespace vortaboot::sim {

bool PageBuffer::fill(std::size_t piece, std::span<const std::uint8_t> data) {
  if (piece >= kPiecesPerPage || data.size() != kPagePieceSize) return false;
  std::copy(data.begin(), data.end(), page_.begin() + piece * kPagePieceSize);
  return true;
}

}  // namespace vortaboot::sim
