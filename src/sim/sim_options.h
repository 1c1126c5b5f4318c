#pragma once
// The command line of vortaboot-sim.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/boot_device.h"

namespace vortaboot::sim {

class OptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RomRequest {
  std::string file;
  std::uint32_t pages = 0;
  std::uint32_t base = 0x08004000;
};

struct SimOptions {
  bool help = false;
  std::optional<RomRequest> makeRom;  // set: write the image and end
  int comNumber = 1;
  bool echo = true;
  std::optional<std::uint32_t> paceBaud;
  DeviceSetup device;
  std::string settingsFile;
  std::string programFile;
  std::string logFile;
};

// Throws OptionError with a message for the user.
SimOptions parseSimOptions(const std::vector<std::string>& arguments);

}  // namespace vortaboot::sim
