#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace vortaboot::platform {
namespace {

class SteadyClock : public Clock {
 public:
  std::uint32_t tickCount() override {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
  }

  void sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

Clock& systemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace vortaboot::platform
