#pragma once
// Device setups that differ from the default in one respect.

#include "sim/boot_device.h"

namespace vortaboot::sim::testing {

inline DeviceSetup withIdentity(DeviceIdentity identity) {
  DeviceSetup setup;
  setup.identity = identity;
  return setup;
}

inline DeviceSetup withFaults(std::vector<FaultRule> faults) {
  DeviceSetup setup;
  setup.faults = std::move(faults);
  return setup;
}

inline DeviceSetup withProgramStatus(std::vector<ProgramStatusRule> rules) {
  DeviceSetup setup;
  setup.programStatus = std::move(rules);
  return setup;
}

}  // namespace vortaboot::sim::testing
