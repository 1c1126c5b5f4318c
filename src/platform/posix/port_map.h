#pragma once
// Which device each COM number stands for on a POSIX system.
//
// The ports folder ($VORTABOOT_PORTS, else ${XDG_CONFIG_HOME:-$HOME/.config}/
// vortaboot/ports) may hold entries com1 to com32, normally symbolic links to
// devices such as /dev/ttyUSB0. When VORTABOOT_PORTS is set only that folder
// counts. Otherwise, if the folder holds no such entry, the serial devices
// present are numbered automatically: USB adapters (ttyUSB), ACM devices
// (ttyACM), then on-board UARTs with real hardware (ttyS, ttyAMA), each group
// in increasing device number.

#include <filesystem>
#include <map>
#include <string>

namespace vortaboot::platform {

constexpr int kMaxComNumber = 32;

struct PortLocations {
  std::filesystem::path portsFolder;
  bool folderOnly = false;  // true when chosen through VORTABOOT_PORTS
  std::filesystem::path devFolder = "/dev";
  std::filesystem::path sysTtyFolder = "/sys/class/tty";
};

// The locations this process uses, from its environment.
PortLocations portLocationsFromEnvironment();

// COM number -> path to open.
std::map<int, std::filesystem::path> mapComPorts(const PortLocations& where);

}  // namespace vortaboot::platform
