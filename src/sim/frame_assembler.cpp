#include "sim/frame_assembler.h"

#include <utility>

namespace vortaboot::sim {
namespace {

std::size_t frameLength(std::uint8_t lengthByte) { return lengthByte == 0 ? 256 : lengthByte; }

}  // namespace

std::vector<Bytes> FrameAssembler::add(std::span<const std::uint8_t> bytes, TimePoint now) {
  std::vector<Bytes> frames;
  if (bytes.empty()) return frames;
  lastByte_ = now;
  for (std::uint8_t byte : bytes) {
    pending_.push_back(byte);
    if (pending_.size() == frameLength(pending_[0])) frames.push_back(std::exchange(pending_, {}));
  }
  return frames;
}

Bytes FrameAssembler::dropStale(TimePoint now) {
  if (pending_.empty() || now - lastByte_ <= kIdleLimit) return {};
  return std::exchange(pending_, {});
}

std::optional<FrameAssembler::TimePoint> FrameAssembler::staleAt() const {
  if (pending_.empty()) return std::nullopt;
  return lastByte_ + kIdleLimit + std::chrono::milliseconds(1);
}

}  // namespace vortaboot::sim
