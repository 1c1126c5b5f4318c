#include "sim/firmware_rom.h"

#include <gtest/gtest.h>

#include <string>

namespace vortaboot::sim {
namespace {

TEST(FirmwareRom, PagesOfLabelsFollowedByTheTrailer) {
  const Bytes image = makeFirmwareImage(3, {0x2A, 0x0104}, 0x08004000);
  ASSERT_EQ(image.size(), 3 * 2048 + 7u);
  const std::string text(image.begin(), image.end());
  for (int page = 0; page < 3; ++page) {
    const std::string label = "page 000" + std::to_string(page) + " ";
    std::string expected;
    while (expected.size() < 2048) expected += label;
    expected.resize(2048);
    EXPECT_EQ(text.substr(page * 2048, 2048), expected) << "page " << page;
  }
  EXPECT_EQ(Bytes(image.end() - 7, image.end()), (Bytes{0x2A, 0x04, 0x01, 0x00, 0x40, 0x00, 0x08}));
}

TEST(FirmwareRom, WithoutPagesOnlyTheTrailerIsLeft) {
  EXPECT_EQ(makeFirmwareImage(0, {0x07, 0xBEEF}, 0x2000), (Bytes{0x07, 0xEF, 0xBE, 0x00, 0x20, 0x00, 0x00}));
}

}  // namespace
}  // namespace vortaboot::sim
