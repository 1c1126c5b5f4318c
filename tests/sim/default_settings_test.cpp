#include "sim/default_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vortaboot::sim {
namespace {

std::uint16_t wordIn(const SettingsSpace& space, std::size_t offset) {
  return static_cast<std::uint16_t>(space.bytes[offset] | space.bytes[offset + 1] << 8);
}

struct Entry {
  std::size_t offset;
  std::size_t length;
};

// The table as a settings job reads it: from the bytes, not from our list.
std::vector<Entry> tableOf(const SettingsSpace& space) {
  std::vector<Entry> entries;
  for (std::size_t i = 1; i <= space.bytes[32]; ++i) {
    entries.push_back({wordIn(space, 32 + 4 * i), wordIn(space, 32 + 4 * i + 2)});
  }
  return entries;
}

TEST(DefaultSettings, HoldATableOfVariedRangesThatAJobCanReadAndWriteBack) {
  const SettingsSpace space = defaultSettings();
  EXPECT_EQ(space.bytes[33], 1) << "TableVersion";
  const auto entries = tableOf(space);
  ASSERT_GE(entries.size(), 5u);
  ASSERT_LE(entries.size(), 23u) << "a job reads entries 1 to 23 only";
  const std::size_t tableEnd = 32 + 4 * (entries.size() + 1);
  for (const auto& [offset, length] : entries) {
    EXPECT_GE(offset, tableEnd) << "range at " << offset << " overlaps the table";
    EXPECT_LE(offset + length, SettingsSpace::kSize) << "range at " << offset;
    EXPECT_GE(length, 4u) << "range at " << offset;
  }
  auto sorted = entries;
  std::sort(sorted.begin(), sorted.end(), [](Entry a, Entry b) { return a.offset < b.offset; });
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    EXPECT_LE(sorted[i - 1].offset + sorted[i - 1].length, sorted[i].offset) << "ranges overlap";
  }
  auto lengthIs = [&](auto test) { return std::any_of(entries.begin(), entries.end(), test); };
  EXPECT_TRUE(lengthIs([](Entry e) { return e.length == 4; })) << "a range with nothing to carry";
  EXPECT_TRUE(lengthIs([](Entry e) { return (e.length - 4) % 32 != 0; })) << "a partial last piece";
  EXPECT_TRUE(lengthIs([](Entry e) { return e.length - 4 > 64; })) << "a range of several pieces";
}

TEST(DefaultSettings, RangesHoldTheirNumberedPattern) {
  const SettingsSpace space = defaultSettings();
  const auto entries = tableOf(space);
  for (std::size_t i = 1; i <= entries.size(); ++i) {
    const auto [offset, length] = entries[i - 1];
    for (std::size_t p = 0; p < length; ++p) {
      ASSERT_EQ(space.bytes[offset + p], 16 * i + p % 16) << "range " << i << ", byte " << p;
    }
  }
}

}  // namespace
}  // namespace vortaboot::sim
