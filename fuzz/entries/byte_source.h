#pragma once
// Takes a fuzzer's input apart from the front; past its end it gives zeros,
// so every input is a complete set of choices.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace vortaboot::fuzz {

class ByteSource {
 public:
  explicit ByteSource(std::span<const std::uint8_t> bytes) : rest_(bytes) {}

  std::uint8_t take() {
    if (rest_.empty()) return 0;
    const std::uint8_t byte = rest_.front();
    rest_ = rest_.subspan(1);
    return byte;
  }
  std::vector<std::uint8_t> take(std::size_t count) {
    const auto piece = rest_.first(std::min(count, rest_.size()));
    rest_ = rest_.subspan(piece.size());
    return {piece.begin(), piece.end()};
  }
  std::span<const std::uint8_t> rest() const { return rest_; }

 private:
  std::span<const std::uint8_t> rest_;
};

}  // namespace vortaboot::fuzz
