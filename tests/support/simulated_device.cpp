#include "simulated_device.h"

namespace vortaboot::testing {

SimulatedDevice::SimulatedDevice(ScriptedLine& line, sim::DeviceSetup setup)
    : device(std::move(setup)), line_(line) {
  line_.echo = true;
  line_.peer = [this](const Bytes& frame) {
    const Bytes reply = device.handle(frame);
    if (!reply.empty()) line_.deliverIn(reply, kReplyDelayMs);
  };
}

// The line may outlive us; it must not call back into a device that is gone.
SimulatedDevice::~SimulatedDevice() { line_.peer = nullptr; }

}  // namespace vortaboot::testing
