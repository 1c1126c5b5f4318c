#pragma once
// Little-endian fields inside byte buffers; the caller has checked the bounds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vortaboot::operations {

inline std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t position) {
  return static_cast<std::uint16_t>(bytes[position] | bytes[position + 1] << 8);
}

inline std::uint32_t LongWordAt(std::span<const std::uint8_t> bytes, std::size_t position) {
  return static_cast<std::uint32_t>(WordAt(bytes, position)) |
         static_cast<std::uint32_t>(WordAt(bytes, position + 2)) << 16;
}

inline void AppendWord(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace vortaboot::operations
