#include "operations/scramble_table.h"

#include <gtest/gtest.h>

namespace vortaboot::operations {
namespace {

// Settings files written by one build must be readable by every other, so
// the table is pinned: a change here breaks every file already saved.
TEST(ScrambleTableTest, NeverChanges) {
  std::uint32_t fnv1a = 0x811C9DC5u;
  std::uint32_t sum = 0;
  for (std::uint8_t byte : ScrambleTable) {
    fnv1a = (fnv1a ^ byte) * 0x01000193u;
    sum += byte;
  }
  EXPECT_EQ(fnv1a, 0x999D8CA9u);
  EXPECT_EQ(sum, 525980u);
  EXPECT_EQ(ScrambleTable[0], 0x45);
  EXPECT_EQ(ScrambleTable[1], 0xF8);
  EXPECT_EQ(ScrambleTable[2], 0xA1);
  EXPECT_EQ(ScrambleTable[1000], 0x02);
  EXPECT_EQ(ScrambleTable[4063], 0x20);
  EXPECT_EQ(ScrambleTable[4095], 0xBE);
}

TEST(ScrambleSettingsTest, ScramblingTwiceGivesTheBytesBack) {
  std::vector<std::uint8_t> bytes(5000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);

  const std::vector<std::uint8_t> scrambled = ScrambleSettings(bytes);

  EXPECT_NE(scrambled, bytes);
  EXPECT_EQ(ScrambleSettings(scrambled), bytes);
}

TEST(ScrambleSettingsTest, PositionPicksTheTableEntryModulo4096) {
  const std::vector<std::uint8_t> zeros(kScrambleTableSize + 2, 0);
  const std::vector<std::uint8_t> scrambled = ScrambleSettings(zeros);

  ASSERT_EQ(scrambled.size(), zeros.size());
  EXPECT_TRUE(std::equal(ScrambleTable.begin(), ScrambleTable.end(), scrambled.begin()));
  EXPECT_EQ(scrambled[4096], ScrambleTable[0]);
  EXPECT_EQ(scrambled[4097], ScrambleTable[1]);
  EXPECT_TRUE(ScrambleSettings({}).empty());
}

}  // namespace
}  // namespace vortaboot::operations
