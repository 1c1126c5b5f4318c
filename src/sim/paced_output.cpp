#include "sim/paced_output.h"

#include <algorithm>

namespace vortaboot::sim {

PacedOutput::PacedOutput(std::optional<std::uint32_t> baud)
    : byteTime_(baud ? std::chrono::nanoseconds(std::int64_t{kBitsPerByte} * 1'000'000'000 / *baud)
                     : std::chrono::nanoseconds(0)) {}

PacedOutput::TimePoint PacedOutput::enqueue(const Bytes& bytes, TimePoint now) {
  const TimePoint start = std::max(now, lineFreeAt_);
  TimePoint due = start;
  for (std::uint8_t byte : bytes) {
    due += byteTime_;
    queue_.push_back({due, byte});
  }
  lineFreeAt_ = due;
  return start;
}

Bytes PacedOutput::takeDue(TimePoint now) {
  Bytes due;
  while (!queue_.empty() && queue_.front().due <= now) {
    due.push_back(queue_.front().byte);
    queue_.pop_front();
  }
  return due;
}

std::optional<PacedOutput::TimePoint> PacedOutput::nextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.front().due;
}

}  // namespace vortaboot::sim
