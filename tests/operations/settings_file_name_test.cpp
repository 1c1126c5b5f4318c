#include "operations/settings_file_name.h"

#include <gtest/gtest.h>

namespace vortaboot::operations {
namespace {

TEST(SettingsFileNameTest, SingleDigitFieldsGetALeadingZero) {
  const struct {
    std::uint16_t value;
    const char* text;
  } cases[] = {{0, "00"}, {7, "07"}, {10, "10"}, {59, "59"}, {123, "123"}, {65535, "65535"}};
  for (const auto& c : cases) EXPECT_EQ(TwoDigitText(c.value), c.text);
}

TEST(SettingsFileNameTest, NameIsTheDateAndTimeToTheMinute) {
  const struct {
    LocalDateTime moment;
    const char* text;
    const char* name;
  } cases[] = {
      {{2024, 12, 4, 9, 5}, "2024.12.04 09:05", "2024_12_04_09_05.pset"},
      {{2025, 3, 5, 7, 0}, "2025.03.05 07:00", "2025_03_05_07_00.pset"},
      {{2031, 10, 31, 23, 59}, "2031.10.31 23:59", "2031_10_31_23_59.pset"},
      {{987, 1, 1, 0, 0}, "987.01.01 00:00", "987_01_01_00_00.pset"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeText(c.moment), c.text);
    EXPECT_EQ(SettingsFileName(c.moment), c.name);
  }
}

}  // namespace
}  // namespace vortaboot::operations
