#pragma once
// A clock whose sleeps advance time at once, so time-outs run in microseconds.

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace vortaboot::testing {

class VirtualClock : public platform::Clock {
 public:
  explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}

  std::uint32_t tickCount() override { return now_; }
  void sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    now_ += milliseconds;
  }
  void advance(std::uint32_t milliseconds) { now_ += milliseconds; }
  void advanceTo(std::uint32_t moment) { now_ = moment; }

  std::vector<std::uint32_t> sleeps;  // every sleep asked for, in order

 private:
  std::uint32_t now_;
};

}  // namespace vortaboot::testing
