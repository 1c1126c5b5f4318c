#include "platform/posix/port_map.h"
#include "platform/posix/posix_serial_port.h"

namespace vortaboot::platform {
namespace {

// Reads the COM mapping afresh on every call, so adapters plugged in and
// links added while the program runs count at the next scan.
class PosixPortProvider : public PortProvider {
 public:
  bool probe(int comNumber) override {
    auto device = deviceOf(comNumber);
    return !device.empty() && deviceIsFree(device);
  }

  std::unique_ptr<SerialPort> open(int comNumber) override {
    auto device = deviceOf(comNumber);
    if (device.empty()) return nullptr;
    return PosixSerialPort::open(device);
  }

  std::string deviceName(int comNumber) override {
    auto device = deviceOf(comNumber);
    std::error_code error;
    if (std::filesystem::is_symlink(device, error)) {
      auto target = std::filesystem::read_symlink(device, error);
      if (!error) return target.string();
    }
    return device.string();
  }

 private:
  static std::filesystem::path deviceOf(int comNumber) {
    auto ports = mapComPorts(portLocationsFromEnvironment());
    auto found = ports.find(comNumber);
    return found == ports.end() ? std::filesystem::path() : found->second;
  }
};

}  // namespace

std::unique_ptr<PortProvider> makeSystemPortProvider() {
  return std::make_unique<PosixPortProvider>();
}

}  // namespace vortaboot::platform
