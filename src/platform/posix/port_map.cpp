#include "platform/posix/port_map.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <vector>

namespace vortaboot::platform {
namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// "com7" -> 7; anything else, leading zeros included, -> nullopt.
std::optional<int> comNumberOf(const std::string& name) {
  if (name.size() < 4 || name.size() > 5 || name.compare(0, 3, "com") != 0) return std::nullopt;
  const std::string digits = name.substr(3);
  if (digits[0] == '0' || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return std::nullopt;
  const int number = std::stoi(digits);
  if (number > kMaxComNumber) return std::nullopt;
  return number;
}

std::map<int, fs::path> entriesOfFolder(const fs::path& folder) {
  std::map<int, fs::path> ports;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (auto number = comNumberOf(entry.path().filename().string())) ports[*number] = entry.path();
  }
  return ports;
}

// Devices named prefix<N> in /dev, in increasing N.
std::vector<std::string> devicesWithPrefix(const fs::path& devFolder, const std::string& prefix) {
  std::vector<std::pair<int, std::string>> found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(devFolder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), ::isdigit) || digits.size() > 6) continue;
    found.emplace_back(std::stoi(digits), name);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& [number, name] : found) names.push_back(name);
  return names;
}

// An on-board UART node exists for every possible port; only those whose
// serial core reports a known port type (non-zero) have hardware behind them.
bool hasUartHardware(const fs::path& sysTtyFolder, const std::string& name) {
  std::ifstream typeFile(sysTtyFolder / name / "type");
  int type = 0;
  if (typeFile >> type) return type != 0;
  return fs::exists(sysTtyFolder / name / "device");
}

std::map<int, fs::path> detectDevices(const PortLocations& where) {
  std::vector<std::string> devices;
  for (const char* prefix : {"ttyUSB", "ttyACM"}) {
    for (auto& name : devicesWithPrefix(where.devFolder, prefix)) devices.push_back(name);
  }
  for (const char* prefix : {"ttyS", "ttyAMA"}) {
    for (auto& name : devicesWithPrefix(where.devFolder, prefix)) {
      if (hasUartHardware(where.sysTtyFolder, name)) devices.push_back(name);
    }
  }
  std::map<int, fs::path> ports;
  for (std::size_t i = 0; i < devices.size() && i < kMaxComNumber; ++i) {
    ports[static_cast<int>(i) + 1] = where.devFolder / devices[i];
  }
  return ports;
}

}  // namespace

PortLocations portLocationsFromEnvironment() {
  PortLocations where;
  const std::string override = environment("VORTABOOT_PORTS");
  if (!override.empty()) {
    where.portsFolder = override;
    where.folderOnly = true;
    return where;
  }
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty()) config = environment("HOME") + "/.config";
  where.portsFolder = fs::path(config) / "vortaboot" / "ports";
  return where;
}

std::map<int, fs::path> mapComPorts(const PortLocations& where) {
  auto ports = entriesOfFolder(where.portsFolder);
  if (!ports.empty() || where.folderOnly) return ports;
  return detectDevices(where);
}

}  // namespace vortaboot::platform
