#include "operations/write_settings_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "job_rig.h"
#include "link/boot_commands.h"
#include "link/link_error.h"
#include "operations/read_settings_job.h"
#include "operations/settings_file.h"
#include "sim/default_settings.h"
#include "temp_folder.h"

namespace vortaboot::operations {
namespace {

using testing::JobRig;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kVersion = 0x0104;  // the simulated device's

struct Range {
  std::uint16_t offset;
  std::uint16_t length;
};

void putWord(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = value & 0xFF;
  bytes[at + 1] = value >> 8;
}

// A range table at `table`, EntryCount first, in settings-space bytes or in
// settings data (which starts at offset 32).
void putTable(std::span<std::uint8_t> bytes, std::size_t table, std::uint8_t count, std::uint8_t version,
              const std::vector<Range>& ranges) {
  bytes[table] = count;
  bytes[table + 1] = version;
  for (std::size_t i = 1; i <= ranges.size(); ++i) {
    putWord(bytes, table + 4 * i, ranges[i - 1].offset);
    putWord(bytes, table + 4 * i + 2, ranges[i - 1].length);
  }
}

// Settings data whose byte at position p is p's low byte plus 1 (never 0xFF
// like blank device memory), with a table.
Bytes settingsData(std::uint8_t count, std::uint8_t version, const std::vector<Range>& ranges,
                   std::size_t size = 4064) {
  Bytes data(size);
  for (std::size_t p = 0; p < size; ++p) data[p] = static_cast<std::uint8_t>(p + 1);
  if (size >= 4) putTable(data, 0, count, version, ranges);
  return data;
}

struct WriteRun {
  explicit WriteRun(sim::DeviceSetup setup = {}) : rig(std::move(setup)) {}

  JobOutcome run(const Bytes& fileBytes) {
    const auto file = folder / "saved.pset";
    testing::WriteFileBytes(file, fileBytes);
    rig.host.settingsFile = file;
    return RunWriteSettingsJob(rig.environment());
  }
  JobOutcome run(const Bytes& data, std::uint16_t version) { return run(ComposeSettingsFile(version, data)); }

  void deviceTable(std::uint8_t count, std::uint8_t version, const std::vector<Range>& ranges) {
    auto& space = rig.boot().settings.bytes;
    std::fill(space.begin() + 32, space.begin() + 128, 0);
    putTable(space, 32, count, version, ranges);
  }

  // The commands after the three table reads.
  std::vector<sim::Request> writes() const {
    auto requests = rig.requests();
    std::erase_if(requests, [](const auto& r) { return r.code == link::Identify || r.code == link::ReadBlock; });
    return requests;
  }
  long count(std::uint8_t code) const {
    const auto codes = rig.codes();
    return std::count(codes.begin(), codes.end(), code);
  }

  testing::TempFolder folder;
  JobRig rig;
};

struct WriteSettings : ::testing::Test, WriteRun {};

TEST_F(WriteSettings, FileReadFromTheDeviceWritesBackUnchangedAndRestoresWhatChanged) {
  ASSERT_EQ(RunReadSettingsJob(rig.environment(), {folder.path(), [] { return LocalDateTime{2025, 3, 5, 7, 0}; }}),
            JobOutcome::Completed);
  const auto original = rig.boot().settings.bytes;
  for (const auto& range : sim::defaultRanges()) {
    std::fill_n(rig.boot().settings.bytes.begin() + range.offset, range.length - 4, 0xEE);
  }
  rig.host.settingsFile = folder / "2025_03_05_07_00.pset";
  EXPECT_EQ(RunWriteSettingsJob(rig.environment()), JobOutcome::Completed);
  EXPECT_EQ(rig.host.informations.back(), "Настройки записаны в МК");
  EXPECT_TRUE(rig.boot().settings.bytes == original) << "every range rewritten with its own content";
  EXPECT_FALSE(rig.portOpen());
}

struct RangeCase {
  const char* name;
  Range file;
  Range device;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> pieces;  // index, byte count
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.name; }

class RangeCommands : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCommands, TheFileRangeGoesToTheDeviceRangeInPieces) {
  const auto& c = GetParam();
  WriteRun write;
  write.deviceTable(1, 1, {c.device});
  const Bytes data = settingsData(1, 1, {c.file});
  ASSERT_EQ(write.run(data, kVersion), JobOutcome::Completed);

  const auto sent = write.writes();
  ASSERT_EQ(sent.size(), c.pieces.size() + 2);
  const std::uint16_t announced = c.device.length - 4;
  EXPECT_EQ(sent.front().code, link::OpenRange);
  EXPECT_EQ(sent.front().payload, (Bytes{static_cast<std::uint8_t>(c.device.offset), static_cast<std::uint8_t>(c.device.offset >> 8),
                                         static_cast<std::uint8_t>(announced), static_cast<std::uint8_t>(announced >> 8)}));
  EXPECT_EQ(sent.back().code, link::StoreBuffer);
  EXPECT_EQ(sent.back().payload, sent.front().payload);
  const std::size_t from = c.file.offset - 32;
  for (std::size_t k = 0; k < c.pieces.size(); ++k) {
    const auto& piece = sent[k + 1];
    EXPECT_EQ(piece.code, link::WriteBuffer);
    EXPECT_EQ(sim::wordAt(piece.payload, 0), c.pieces[k].first);
    EXPECT_EQ(sim::wordAt(piece.payload, 2), c.pieces[k].second);
    const Bytes expected(data.begin() + from + 32 * k, data.begin() + from + 32 * k + c.pieces[k].second);
    EXPECT_EQ(Bytes(piece.payload.begin() + 4, piece.payload.end()), expected) << "piece " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, RangeCommands,
    ::testing::Values(RangeCase{"ShorterFileRange", {200, 40}, {232, 60}, {{0, 32}, {1, 4}}},
                      RangeCase{"ShorterDeviceRange", {300, 100}, {300, 68}, {{0, 32}, {1, 32}}},
                      RangeCase{"NothingToCarry", {64, 4}, {64, 4}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteSettings, EntriesUpToTheSmallerCountAreWritten) {
  std::vector<Range> ranges;
  for (std::uint16_t i = 0; i < 8; ++i) ranges.push_back({static_cast<std::uint16_t>(256 + 64 * i), 40});
  deviceTable(7, 1, ranges);
  const std::uint8_t sixth = rig.boot().settings.bytes[256 + 64 * 5];
  ASSERT_EQ(run(settingsData(5, 1, ranges), kVersion), JobOutcome::Completed);
  EXPECT_EQ(count(link::OpenRange), 5);
  EXPECT_EQ(rig.boot().settings.bytes[256 + 64 * 4], settingsData(0, 0, {})[256 + 64 * 4 - 32]);
  EXPECT_EQ(rig.boot().settings.bytes[256 + 64 * 5], sixth) << "entry 6 of the device untouched";

  WriteRun eight;
  eight.deviceTable(8, 1, ranges);
  ASSERT_EQ(eight.run(settingsData(8, 1, ranges), kVersion), JobOutcome::Completed);
  const auto gauges = eight.rig.host.gauges();
  EXPECT_EQ(std::vector<int>(gauges.begin(), gauges.begin() + 7), (std::vector<int>{0, 33, 67, 100, 0, 12, 25}));
  EXPECT_EQ(eight.rig.host.labels(),
            (std::vector<std::string>{"Переподключите питание МК", "Чтение FAT...", "Запись настроек..."}));
}

TEST_F(WriteSettings, EntryCountZeroWritesNothingButReportsSuccess) {
  deviceTable(6, 1, {{64, 68}});
  EXPECT_EQ(run(settingsData(0, 1, {}), kVersion), JobOutcome::Completed);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(rig.host.informations, std::vector<std::string>{"Настройки записаны в МК"});
}

TEST_F(WriteSettings, FileFromAnotherDeviceVersionIsRefusedBeforeAnyRead) {
  EXPECT_EQ(run(settingsData(1, 1, {{64, 68}}), kVersion + 1), JobOutcome::Failed);
  EXPECT_EQ(rig.host.errors, std::vector<std::string>{"Версия настроек не совпадает с версией устройства!"});
  EXPECT_EQ(rig.codes(), std::vector<std::uint8_t>{link::Identify});
  EXPECT_FALSE(rig.portOpen());
}

TEST_F(WriteSettings, FileForAnotherLayoutIsRefusedAfterReadingTheTable) {
  EXPECT_EQ(run(settingsData(1, 2, {{64, 68}}), kVersion), JobOutcome::Failed);
  EXPECT_EQ(rig.host.errors, std::vector<std::string>{"Версия настроек не совпадает с версией прошивки!"});
  EXPECT_EQ(count(link::ReadBlock), 3);
  EXPECT_TRUE(writes().empty());
}

TEST_F(WriteSettings, DialogClosedEndsSilently) {
  EXPECT_EQ(RunWriteSettingsJob(rig.environment()), JobOutcome::NoFile);
  EXPECT_TRUE(rig.host.errors.empty());
  EXPECT_EQ(rig.codes(), std::vector<std::uint8_t>{link::Identify});
  EXPECT_FALSE(rig.host.windowAlive);
  EXPECT_FALSE(rig.portOpen());
}

struct BadFile {
  const char* name;
  Bytes fileBytes;
  std::vector<Range> deviceRanges;
  std::uint8_t deviceCount;
  bool readsTable;  // whether the device's table was read before the refusal
};

void PrintTo(const BadFile& c, std::ostream* out) { *out << c.name; }

Bytes file(const Bytes& data) { return ComposeSettingsFile(kVersion, data); }

class RefusedFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(RefusedFile, IsReportedAndNothingIsWritten) {
  const auto& c = GetParam();
  WriteRun write;
  write.deviceTable(c.deviceCount, 1, c.deviceRanges);
  const auto before = write.rig.boot().settings.bytes;
  EXPECT_EQ(write.run(c.fileBytes), JobOutcome::Failed);
  ASSERT_EQ(write.rig.host.errors.size(), 1u);
  EXPECT_FALSE(write.rig.host.errors[0].empty());
  EXPECT_TRUE(write.writes().empty());
  EXPECT_EQ(write.count(link::ReadBlock), c.readsTable ? 3 : 0);
  EXPECT_TRUE(write.rig.boot().settings.bytes == before);
  EXPECT_FALSE(write.rig.portOpen());
}

std::vector<Range> manyRanges(std::size_t n) {
  std::vector<Range> ranges;
  for (std::size_t i = 0; i < n; ++i) ranges.push_back({static_cast<std::uint16_t>(128 + 8 * i), 8});
  return ranges;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFile,
    ::testing::Values(
        BadFile{"OneByte", {0x04}, {{64, 68}}, 1, false},
        BadFile{"NoTableHead", file(Bytes{1, 1}), {{64, 68}}, 1, false},
        BadFile{"TableCutShort", file(settingsData(3, 1, {{64, 8}}, 10)), manyRanges(3), 3, true},
        BadFile{"MoreEntriesThanTheDeviceTableHolds", file(settingsData(24, 1, manyRanges(24))), manyRanges(23), 24, true},
        BadFile{"RangeBeforeTheSettings", file(settingsData(1, 1, {{16, 20}})), {{64, 68}}, 1, true},
        BadFile{"RangePastTheFile", file(settingsData(1, 1, {{4000, 200}})), {{64, 200}}, 1, true},
        BadFile{"FileRangeShorterThanFour", file(settingsData(1, 1, {{64, 3}})), {{64, 68}}, 1, true},
        BadFile{"DeviceRangeShorterThanFour", file(settingsData(2, 1, {{64, 8}, {96, 8}})), {{64, 8}, {96, 2}}, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteSettings, LinkErrorLeavesEarlierRangesWritten) {
  sim::DeviceSetup setup;
  for (std::uint32_t attempt : {2u, 3u, 4u}) {
    setup.faults.push_back({sim::ReplyFault::NoReply, sim::CommandSelector::nthWithCode(link::OpenRange, attempt)});
  }
  WriteRun write(setup);
  write.deviceTable(2, 1, {{256, 40}, {512, 40}});
  const std::uint8_t second = write.rig.boot().settings.bytes[512];
  EXPECT_THROW(write.run(settingsData(2, 1, {{256, 40}, {512, 40}}), kVersion), link::LinkError);
  EXPECT_EQ(write.rig.boot().settings.bytes[256], settingsData(0, 0, {})[256 - 32]) << "range 1 stored";
  EXPECT_EQ(write.rig.boot().settings.bytes[512], second) << "range 2 not";
  ASSERT_NE(second, settingsData(0, 0, {})[512 - 32]);
  EXPECT_FALSE(write.rig.portOpen());
  EXPECT_TRUE(write.rig.host.informations.empty());
}

}  // namespace
}  // namespace vortaboot::operations
