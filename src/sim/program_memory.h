#pragma once
// Program memory as the boot loader programs it: 2048-byte pages by address,
// filled piece by piece in a page buffer first.

#include <array>
#include <cstdint>
#include <map>
#include <span>

namespace vortaboot::sim {

inline constexpr std::size_t kPageSize = 2048;
inline constexpr std::size_t kPagePieceSize = 32;
inline constexpr std::size_t kPiecesPerPage = kPageSize / kPagePieceSize;

using Page = std::array<std::uint8_t, kPageSize>;

// Pages programmed so far, keyed by the address they were programmed at.
using ProgramMemory = std::map<std::uint32_t, Page>;

// Keeps its content after a page is programmed, so a repeated ProgramPage
// programs the same bytes again without the pieces being sent anew.
class PageBuffer {
 public:
  PageBuffer() { page_.fill(0xFF); }

  // False for a piece index past the page or a piece that is not 32 bytes.
  bool fill(std::size_t piece, std::span<const std::uint8_t> data);
  const Page& page() const { return page_; }

 private:
  Page page_;
};

}  // namespace vortaboot::sim
