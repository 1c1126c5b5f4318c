#pragma once
// A simulated boot loader behind a scripted line: every frame the program
// writes comes back as the RS-485 echo, and the device's reply follows a few
// milliseconds of virtual time later.

#include <cstdint>

#include "scripted_line.h"
#include "sim/boot_device.h"

namespace vortaboot::testing {

class SimulatedDevice {
 public:
  static constexpr std::uint32_t kReplyDelayMs = 5;

  explicit SimulatedDevice(ScriptedLine& line, sim::DeviceSetup setup = {});
  ~SimulatedDevice();
  SimulatedDevice(const SimulatedDevice&) = delete;
  SimulatedDevice& operator=(const SimulatedDevice&) = delete;

  sim::BootDevice device;

 private:
  ScriptedLine& line_;
};

}  // namespace vortaboot::testing
