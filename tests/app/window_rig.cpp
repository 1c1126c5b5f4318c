#include "window_rig.h"

#include <fstream>
#include <vector>

#include "sim/boot_device.h"

namespace vortaboot::testing {

WindowRig::WindowRig(std::set<int> presentPorts, std::string executableName)
    : executableName_(std::move(executableName)), savedCurrentFolder_(std::filesystem::current_path()) {
  std::filesystem::create_directories(binFolder());
  for (int n : presentPorts) ports.attach(n, line);
}

WindowRig::~WindowRig() { std::filesystem::current_path(savedCurrentFolder_); }

app::MainFormEnvironment WindowRig::environment() {
  return {ports,        clock,    priority, dialogs, executable(), fallbackFolder(), lockFolder(),
          [] { return operations::LocalDateTime{2024, 12, 4, 9, 5}; }};
}

std::filesystem::path WindowRig::configFile() const {
  return std::filesystem::path(executable()).replace_extension(".ini");
}

void WriteFirmwareImage(const std::filesystem::path& file, std::size_t pages) {
  const sim::DeviceIdentity device;
  constexpr std::uint32_t kBase = 0x8000;
  std::vector<std::uint8_t> image(pages * 2048);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + i / 2048);
  image.push_back(device.deviceType);
  image.push_back(device.deviceVersion & 0xFF);
  image.push_back(device.deviceVersion >> 8);
  for (int shift = 0; shift < 32; shift += 8) image.push_back(static_cast<std::uint8_t>(kBase >> shift));
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
}

}  // namespace vortaboot::testing
