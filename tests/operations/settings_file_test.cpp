#include "operations/settings_file.h"

#include <gtest/gtest.h>

#include "operations/scramble_table.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

std::vector<std::uint8_t> Sequence(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
  return bytes;
}

TEST(SettingsFileTest, ComposedFileHasThePlainVersionThenTheScrambledData) {
  const std::vector<std::uint8_t> data = Sequence(4064);

  const std::vector<std::uint8_t> file = ComposeSettingsFile(0x4321, data);

  ASSERT_EQ(file.size(), 4066u);
  EXPECT_EQ(file[0], 0x21);
  EXPECT_EQ(file[1], 0x43);
  EXPECT_EQ(file[2], data[0] ^ ScrambleTable[0]);
  // Settings-space offset 100 is data position 68 and file offset 70.
  EXPECT_EQ(file[70], data[68] ^ ScrambleTable[68]);
  EXPECT_EQ(file[4065], data[4063] ^ ScrambleTable[4063]);
}

TEST(SettingsFileTest, TakingAFileApartGivesBackWhatWasComposed) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4064}, std::size_t{5000}}) {
    const std::vector<std::uint8_t> data = Sequence(size);
    const SettingsFile parts = TakeSettingsFileApart(ComposeSettingsFile(0xBEEF, data));
    EXPECT_EQ(parts.deviceVersion, 0xBEEF) << size;
    EXPECT_EQ(parts.settingsData, data) << size;
  }
}

TEST(SettingsFileTest, FileWithoutAWholeVersionWordIsRefused) {
  for (const std::vector<std::uint8_t>& file : {std::vector<std::uint8_t>{},
                                                std::vector<std::uint8_t>{0x12}}) {
    try {
      TakeSettingsFileApart(file);
      ADD_FAILURE() << file.size() << " bytes accepted";
    } catch (const SettingsFileError& error) {
      EXPECT_EQ(std::string(error.what()), "Файл настроек повреждён: в нём меньше двух байт.");
    }
  }
}

}  // namespace
}  // namespace vortaboot::operations
