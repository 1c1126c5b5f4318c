#include "operations/firmware_image.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "temp_folder.h"

namespace vortaboot::operations {
namespace {

constexpr std::size_t kPage = FirmwareImage::kPageSize;

// An image of `size` bytes whose byte i is i * 7 mod 251, so every page
// differs, with the trailer written over its last 7 bytes.
std::vector<std::uint8_t> MakeImage(std::size_t size, std::uint8_t type, std::uint16_t version,
                                    std::uint32_t base) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 % 251);
  const std::uint8_t trailer[] = {type,
                                  static_cast<std::uint8_t>(version),
                                  static_cast<std::uint8_t>(version >> 8),
                                  static_cast<std::uint8_t>(base),
                                  static_cast<std::uint8_t>(base >> 8),
                                  static_cast<std::uint8_t>(base >> 16),
                                  static_cast<std::uint8_t>(base >> 24)};
  std::copy(std::begin(trailer), std::end(trailer), bytes.end() - 7);
  return bytes;
}

TEST(FirmwareImageTest, TrailerAndPagesWhateverTheSize) {
  const struct {
    const char* name;
    std::size_t size;
    std::size_t pages;
  } cases[] = {
      {"three pages and a trailer", 3 * kPage + 7, 3},
      {"whole pages, trailer inside the last", 2 * kPage, 2},
      {"trailer across the last page and the tail", kPage + 3, 1},
      {"long tail", kPage + 2000, 1},
      {"trailer only", 7, 0},
      {"no whole page", kPage - 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> bytes = MakeImage(c.size, 0xA5, 0x1234, 0x08004000);
    const FirmwareImage image(bytes);

    EXPECT_EQ(image.ImageType(), 0xA5);
    EXPECT_EQ(image.ImageVersion(), 0x1234);
    EXPECT_EQ(image.ImageBase(), 0x08004000u);
    ASSERT_EQ(image.PageCount(), c.pages);
    for (std::size_t k = 0; k < c.pages; ++k) {
      EXPECT_EQ(image.PageAddress(k), 0x08004000u + kPage * k);
      const auto page = image.PageBytes(k);
      EXPECT_TRUE(std::equal(page.begin(), page.end(), bytes.begin() + kPage * k,
                             bytes.begin() + kPage * (k + 1)));
    }
    EXPECT_THROW(image.PageBytes(c.pages), std::out_of_range);
  }
}

TEST(FirmwareImageTest, PageAddressesWrapAroundAt4GiB) {
  const FirmwareImage image(MakeImage(3 * kPage + 7, 1, 1, 0xFFFFF000u));
  EXPECT_EQ(image.PageAddress(0), 0xFFFFF000u);
  EXPECT_EQ(image.PageAddress(1), 0xFFFFF800u);
  EXPECT_EQ(image.PageAddress(2), 0x00000000u);
}

TEST(FirmwareImageTest, ImageWithoutAWholeTrailerIsRefused) {
  for (std::size_t size = 0; size < FirmwareImage::kTrailerSize; ++size) {
    try {
      FirmwareImage image(std::vector<std::uint8_t>(size, 0xFF));
      ADD_FAILURE() << size << " bytes accepted, type " << int{image.ImageType()};
    } catch (const FirmwareImageError& error) {
      EXPECT_EQ(std::string(error.what()), "Файл прошивки слишком короткий: длина " +
                                               std::to_string(size) +
                                               ", а нужно не меньше 7 байт.");
    }
  }
}

TEST(FirmwareImageTest, LoadsFromAFile) {
  testing::TempFolder folder;
  const auto bytes = MakeImage(kPage + 7, 0x42, 0x0301, 0x2000);
  testing::WriteFileText(folder / "new.rom", std::string(bytes.begin(), bytes.end()));

  const FirmwareImage image = FirmwareImage::LoadFromFile(folder / "new.rom");

  EXPECT_EQ(image.ImageType(), 0x42);
  EXPECT_EQ(image.ImageVersion(), 0x0301);
  EXPECT_EQ(image.PageCount(), 1u);
  EXPECT_EQ(image.PageBytes(0)[kPage - 1], bytes[kPage - 1]);
}

TEST(FirmwareImageTest, FileThatCannotBeUsedIsReportedInRussian) {
  testing::TempFolder folder;
  testing::WriteFileText(folder / "short.rom", "abc");
  const struct {
    std::filesystem::path file;
    std::string message;
  } cases[] = {
      {folder / "missing.rom",
       "Не удалось прочитать файл прошивки " + (folder / "missing.rom").string() + "."},
      {folder.path(), "Не удалось прочитать файл прошивки " + folder.path().string() + "."},
      {folder / "short.rom", "Файл прошивки слишком короткий: длина 3, а нужно не меньше 7 байт."},
  };
  for (const auto& c : cases) {
    try {
      FirmwareImage::LoadFromFile(c.file);
      ADD_FAILURE() << c.file << " loaded";
    } catch (const FirmwareImageError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

}  // namespace
}  // namespace vortaboot::operations
