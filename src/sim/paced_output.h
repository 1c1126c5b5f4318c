#pragma once
// The device's side of the line: bytes leave one after another. Paced, each
// byte is due when it would have crossed the wire at the given rate with
// 11 bits a byte (start bit, 8 data bits, two stop bits); otherwise at once.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

#include "sim/frame.h"

namespace vortaboot::sim {

class PacedOutput {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  static constexpr int kBitsPerByte = 11;

  explicit PacedOutput(std::optional<std::uint32_t> baud);

  // Queues `bytes` behind those already queued; returns the moment the first
  // of them starts on the line.
  TimePoint enqueue(const Bytes& bytes, TimePoint now);
  // The bytes due by `now`, taken off the queue.
  Bytes takeDue(TimePoint now);
  std::optional<TimePoint> nextDue() const;

 private:
  struct Pending {
    TimePoint due;
    std::uint8_t byte;
  };
  std::chrono::nanoseconds byteTime_;
  std::deque<Pending> queue_;
  TimePoint lineFreeAt_{};
};

}  // namespace vortaboot::sim
