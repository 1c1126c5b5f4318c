#pragma once
// A settings file: the DeviceVersion word of the device the settings came
// from (little-endian, plain), then the settings data scrambled. Settings
// data position 0 holds settings-space offset 32, the start of block 1.

#include <cstdint>
#include <span>
#include <vector>

namespace vortaboot::operations {

struct SettingsFile {
  std::uint16_t deviceVersion = 0;
  std::vector<std::uint8_t> settingsData;  // de-scrambled
};

std::vector<std::uint8_t> ComposeSettingsFile(std::uint16_t deviceVersion,
                                              std::span<const std::uint8_t> settingsData);

// The settings data is everything after the version word, whatever its
// length. Throws SettingsFileError when the file holds no whole version word.
SettingsFile TakeSettingsFileApart(std::span<const std::uint8_t> fileBytes);

}  // namespace vortaboot::operations
