#include "app/ini_fls.h"

#include "app/config_file_location.h"
#include "platform/executable_path.h"

namespace vortaboot::app {
namespace {

constexpr std::int32_t kSizeInPlaceOfNegative = 100;

// A number that names no window state is ignored like a missing key.
WindowState StateOr(std::int32_t value, WindowState current) {
  const bool known = value >= static_cast<std::int32_t>(WindowState::Normal) &&
                     value <= static_cast<std::int32_t>(WindowState::Maximized);
  return known ? static_cast<WindowState>(value) : current;
}

std::int32_t NegativeAs(std::int32_t value, std::int32_t replacement) {
  return value < 0 ? replacement : value;
}

}  // namespace

TMIniFile::TMIniFile() : TMIniFile(platform::executablePath(), FallbackConfigFolder()) {}

TMIniFile::TMIniFile(const std::filesystem::path& executablePath,
                     const std::filesystem::path& fallbackFolder)
    : IniFile(PrepareConfigFile(executablePath, fallbackFolder)) {}

void TMIniFile::LoadFormPlacement(const std::string& section,
                                  FormPlacement& placement) const {
  const auto current = static_cast<std::int32_t>(placement.state);
  placement.state = StateOr(ReadInteger(section, "State", current), placement.state);
  if (placement.state == WindowState::Maximized) return;
  placement.left = NegativeAs(ReadInteger(section, "Left", placement.left), 0);
  placement.top = NegativeAs(ReadInteger(section, "Top", placement.top), 0);
  if (!placement.sizeableBorder) return;
  placement.width = NegativeAs(ReadInteger(section, "Width", placement.width), kSizeInPlaceOfNegative);
  placement.height = NegativeAs(ReadInteger(section, "Height", placement.height), kSizeInPlaceOfNegative);
}

void TMIniFile::SaveFormPlacement(const std::string& section, const FormPlacement& placement) {
  WriteInteger(section, "State", static_cast<std::int32_t>(placement.state));
  WriteInteger(section, "Left", placement.left);
  WriteInteger(section, "Top", placement.top);
  WriteInteger(section, "Width", placement.width);
  WriteInteger(section, "Height", placement.height);
}

}  // namespace vortaboot::app
