#include "operations/settings_file_name.h"

#include <algorithm>

namespace vortaboot::operations {

std::string TwoDigitText(std::uint16_t value) {
  const std::string text = std::to_string(value);
  return text.size() == 1 ? "0" + text : text;
}

std::string DateTimeText(const LocalDateTime& moment) {
  return std::to_string(moment.year) + "." + TwoDigitText(moment.month) + "." +
         TwoDigitText(moment.day) + " " + TwoDigitText(moment.hour) + ":" +
         TwoDigitText(moment.minute);
}

std::string SettingsFileName(const LocalDateTime& moment) {
  std::string name = DateTimeText(moment);
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == '.' || c == ':' || c == ' '; }, '_');
  return name + ".pset";
}

}  // namespace vortaboot::operations
