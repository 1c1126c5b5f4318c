#include "operations/range_writes.h"

#include <gtest/gtest.h>

#include <functional>

#include "operations/range_table.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

struct Entry {
  std::uint16_t offset;
  std::uint16_t length;
};

// A range table of `size` bytes with the given head and entries.
std::vector<std::uint8_t> Table(std::size_t size, std::uint8_t count, std::uint8_t version,
                                std::initializer_list<Entry> entries) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = count;
  bytes[1] = version;
  std::size_t position = 4;
  for (const Entry& e : entries) {
    bytes[position] = static_cast<std::uint8_t>(e.offset);
    bytes[position + 1] = static_cast<std::uint8_t>(e.offset >> 8);
    bytes[position + 2] = static_cast<std::uint8_t>(e.length);
    bytes[position + 3] = static_cast<std::uint8_t>(e.length >> 8);
    position += 4;
  }
  return bytes;
}

TEST(RangeTableTest, FieldsAreReadLittleEndianAtTheirPositions) {
  const auto table = Table(96, 2, 9, {{0x0164, 0x0028}, {0x1020, 0x0304}});
  EXPECT_EQ(EntryCount(table), 2);
  EXPECT_EQ(TableVersion(table), 9);
  EXPECT_EQ(RangeOffset(table, 1), 0x0164);
  EXPECT_EQ(RangeLength(table, 1), 0x0028);
  EXPECT_EQ(RangeOffset(table, 2), 0x1020);
  EXPECT_EQ(RangeLength(table, 2), 0x0304);
  EXPECT_THROW(RangeOffset(table, 0), std::out_of_range);
  EXPECT_THROW(TableVersion(std::vector<std::uint8_t>{1, 2, 3}), SettingsFileError);
  EXPECT_THROW(RangeLength(table, 24), SettingsFileError);
}

bool SameWrite(const RangeWrite& a, const RangeWrite& b) {
  return a.entry == b.entry && a.deviceOffset == b.deviceOffset &&
         a.deviceLength == b.deviceLength && a.dataPosition == b.dataPosition &&
         a.byteCount == b.byteCount;
}

TEST(PlanRangeWritesTest, FileRangeGoesToTheDeviceRangeWithTheShorterLength) {
  const auto file = Table(4064, 5, 1,
                          {{100, 40}, {300, 100}, {500, 4}, {200, 20}, {600, 10}});
  const auto device = Table(96, 7, 1,
                            {{100, 60}, {300, 68}, {520, 4}, {232, 20}, {600, 10}, {700, 8}, {800, 8}});

  const std::vector<RangeWrite> plan = PlanRangeWrites(file, device);

  const RangeWrite expected[] = {
      {.entry = 1, .deviceOffset = 100, .deviceLength = 56, .dataPosition = 68, .byteCount = 36},
      {.entry = 2, .deviceOffset = 300, .deviceLength = 64, .dataPosition = 268, .byteCount = 64},
      {.entry = 3, .deviceOffset = 520, .deviceLength = 0, .dataPosition = 468, .byteCount = 0},
      {.entry = 4, .deviceOffset = 232, .deviceLength = 16, .dataPosition = 168, .byteCount = 16},
      {.entry = 5, .deviceOffset = 600, .deviceLength = 6, .dataPosition = 568, .byteCount = 6},
  };
  ASSERT_EQ(plan.size(), std::size(expected));
  for (std::size_t i = 0; i < plan.size(); ++i) {
    EXPECT_TRUE(SameWrite(plan[i], expected[i])) << "entry " << i + 1;
  }
}

TEST(PlanRangeWritesTest, NoEntryInEitherTableMeansNothingToWrite) {
  EXPECT_TRUE(PlanRangeWrites(Table(4064, 0, 1, {}), Table(96, 3, 1, {})).empty());
  EXPECT_TRUE(PlanRangeWrites(Table(4064, 3, 1, {}), Table(96, 0, 1, {})).empty());
}

TEST(PlanRangeWritesTest, RangeMayEndExactlyAtTheEndOfTheFile) {
  // Offset 92 is position 60; 24 - 4 = 20 bytes end at position 80.
  const auto plan = PlanRangeWrites(Table(80, 1, 1, {{92, 24}}), Table(96, 1, 1, {{92, 24}}));
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].byteCount, 20);
}

TEST(PlanRangeWritesTest, EntriesBeyondTheSmallerCountAreNotLookedAt) {
  const auto file = Table(4064, 3, 1, {{100, 8}, {200, 8}, {3, 1}});
  const auto device = Table(96, 2, 1, {{100, 8}, {200, 8}, {300, 0}});
  EXPECT_EQ(PlanRangeWrites(file, device).size(), 2u);
}

TEST(PlanRangeWritesTest, EveryFaultIsReportedBeforeAnythingIsWritten) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> device;
    std::string message;
  } cases[] = {
      {"no table head", {2, 1, 0}, Table(96, 2, 1, {}),
       "Файл настроек повреждён: в нём нет заголовка таблицы диапазонов."},
      {"table cut short", Table(12, 3, 1, {{100, 8}, {200, 8}}), Table(96, 3, 1, {{100, 8}, {200, 8}, {300, 8}}),
       "Файл настроек повреждён: таблица диапазонов обрывается на записи 3."},
      {"more entries than the device table holds", Table(4064, 24, 1, {}), Table(96, 30, 1, {}),
       "Слишком много записей в таблице диапазонов: 24, а допустимо не больше 23."},
      {"range before the settings data", Table(4064, 2, 1, {{100, 8}, {31, 8}}),
       Table(96, 2, 1, {{100, 8}, {200, 8}}),
       "Файл настроек повреждён: запись 2 начинается раньше области настроек."},
      {"file range shorter than 4", Table(4064, 2, 1, {{100, 8}, {200, 3}}),
       Table(96, 2, 1, {{100, 8}, {200, 8}}), "Файл настроек повреждён: запись 2 короче 4 байт."},
      {"device range shorter than 4", Table(4064, 2, 1, {{100, 8}, {200, 8}}),
       Table(96, 2, 1, {{100, 2}, {200, 8}}),
       "Таблица диапазонов устройства повреждена: запись 1 короче 4 байт."},
      {"range past the end of the file", Table(80, 1, 1, {{92, 25}}), Table(96, 1, 1, {{92, 25}}),
       "Файл настроек повреждён: запись 1 выходит за пределы файла."},
      {"far offset", Table(4064, 1, 1, {{0xFFF0, 40}}), Table(96, 1, 1, {{100, 40}}),
       "Файл настроек повреждён: запись 1 выходит за пределы файла."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      PlanRangeWrites(c.file, c.device);
      ADD_FAILURE() << "accepted";
    } catch (const SettingsFileError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

TEST(PlanRangeWritesTest, DeviceTableMustBeTheThreeBlocksRead) {
  EXPECT_THROW(PlanRangeWrites(Table(4064, 0, 1, {}), Table(64, 0, 1, {})), std::invalid_argument);
}

}  // namespace
}  // namespace vortaboot::operations
