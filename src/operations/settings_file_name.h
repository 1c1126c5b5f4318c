#pragma once
// Names of new settings files, made from the local date and time, so that a
// later read in the same minute replaces the earlier file.

#include <cstdint>
#include <string>

namespace vortaboot::operations {

struct LocalDateTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;   // 1 to 12
  std::uint16_t day = 0;     // 1 to 31
  std::uint16_t hour = 0;    // 0 to 23
  std::uint16_t minute = 0;  // 0 to 59
};

// The decimal text, with a "0" in front when it is a single digit.
std::string TwoDigitText(std::uint16_t value);
// "2024.12.04 09:05"; the year has as many digits as it needs.
std::string DateTimeText(const LocalDateTime& moment);
// "2024_12_04_09_05.pset", without a folder.
std::string SettingsFileName(const LocalDateTime& moment);

}  // namespace vortaboot::operations
