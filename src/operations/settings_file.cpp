#include "operations/settings_file.h"

#include "operations/little_endian.h"
#include "operations/scramble_table.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

constexpr std::size_t kVersionWordSize = 2;

}  // namespace

std::vector<std::uint8_t> ComposeSettingsFile(std::uint16_t deviceVersion,
                                              std::span<const std::uint8_t> settingsData) {
  std::vector<std::uint8_t> file;
  file.reserve(kVersionWordSize + settingsData.size());
  AppendWord(file, deviceVersion);
  const std::vector<std::uint8_t> scrambled = ScrambleSettings(settingsData);
  file.insert(file.end(), scrambled.begin(), scrambled.end());
  return file;
}

SettingsFile TakeSettingsFileApart(std::span<const std::uint8_t> fileBytes) {
  if (fileBytes.size() < kVersionWordSize) {
    throw SettingsFileError("Файл настроек повреждён: в нём меньше двух байт.");
  }
  return {WordAt(fileBytes, 0), ScrambleSettings(fileBytes.subspan(kVersionWordSize))};
}

}  // namespace vortaboot::operations
