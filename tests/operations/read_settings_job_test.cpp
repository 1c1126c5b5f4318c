#include "operations/read_settings_job.h"

#include <gtest/gtest.h>

#include "job_rig.h"
#include "link/boot_commands.h"
#include "link/link_error.h"
#include "operations/file_bytes.h"
#include "operations/settings_file.h"
#include "temp_folder.h"

namespace vortaboot::operations {
namespace {

using testing::JobRig;
using Bytes = std::vector<std::uint8_t>;

const LocalDateTime kMoment{2024, 12, 4, 9, 5};
const char* const kName = "2024_12_04_09_05.pset";

struct ReadRun {
  explicit ReadRun(sim::DeviceSetup setup = {}) : rig(std::move(setup)) {}
  JobOutcome run() { return RunReadSettingsJob(rig.environment(), {folder.path(), [] { return kMoment; }}); }
  std::filesystem::path file() const { return folder / kName; }

  testing::TempFolder folder;
  JobRig rig;
};

struct ReadSettings : ::testing::Test, ReadRun {};

TEST_F(ReadSettings, SavesBlocksOneToLastScrambledUnderTheDateAndTime) {
  rig.host.onMessageBox = [&] {
    EXPECT_TRUE(rig.host.windowAlive);
    EXPECT_TRUE(rig.portOpen());
  };
  EXPECT_EQ(run(), JobOutcome::Completed);
  EXPECT_EQ(rig.host.informations, std::vector<std::string>{std::string("Настройки сохранены в файл ") + kName});

  const auto bytes = ReadFileBytes(file());
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 4066u);
  EXPECT_EQ((*bytes)[0], 0x04) << "DeviceVersion, low byte first";
  EXPECT_EQ((*bytes)[1], 0x01);
  const auto settings = TakeSettingsFileApart(*bytes);
  const auto& space = rig.boot().settings.bytes;
  EXPECT_EQ(settings.settingsData, Bytes(space.begin() + 32, space.end()));
  EXPECT_NE(Bytes(bytes->begin() + 2, bytes->end()), settings.settingsData) << "stored scrambled";
  EXPECT_FALSE(rig.portOpen());
  EXPECT_FALSE(rig.host.windowAlive);
}

TEST_F(ReadSettings, AsksForEachBlockOnceInOrder) {
  ASSERT_EQ(run(), JobOutcome::Completed);
  std::vector<std::uint16_t> blocks;
  for (const auto& request : rig.requests()) {
    if (request.code == link::ReadBlock) blocks.push_back(sim::wordAt(request.payload, 0));
  }
  ASSERT_EQ(blocks.size(), 127u);
  for (std::size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(blocks[i], i + 1);
  EXPECT_EQ(rig.rs->ReplyTimeout, 500);
}

TEST_F(ReadSettings, ProgressRunsFromOneToHundredWithoutCancel) {
  ASSERT_EQ(run(), JobOutcome::Completed);
  const auto gauges = rig.host.gauges();
  ASSERT_EQ(gauges.size(), 128u);
  EXPECT_EQ(gauges[0], 0);
  EXPECT_EQ(gauges[1], 1);
  EXPECT_EQ(gauges[64], 50) << "64 of 127 is 50.39";
  EXPECT_EQ(gauges.back(), 100);
  const auto& events = rig.host.events;
  const auto work = std::find(events.begin(), events.end(), "label:Чтение настроек...");
  ASSERT_NE(work, events.end());
  EXPECT_EQ(std::vector<std::string>(work, work + 5),
            (std::vector<std::string>{"label:Чтение настроек...", "gauge:0", "gauge-shown", "pump", "cancel-hidden"}));
}

TEST_F(ReadSettings, SecondReadInTheSameMinuteReplacesTheFirst) {
  ASSERT_EQ(run(), JobOutcome::Completed);
  rig.boot().settings.bytes[40] = 0x5A;
  ASSERT_EQ(run(), JobOutcome::Completed);
  const auto settings = TakeSettingsFileApart(*ReadFileBytes(file()));
  EXPECT_EQ(settings.settingsData[8], 0x5A);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

struct ReadFailure {
  const char* name;
  sim::ReplyFault fault;
  const char* message;
};

void PrintTo(const ReadFailure& c, std::ostream* out) { *out << c.name; }

class FailedRead : public ::testing::TestWithParam<ReadFailure> {};

// Every attempt at block 50 fails the same way.
TEST_P(FailedRead, LeavesNoFileAndClosesEverything) {
  sim::DeviceSetup setup;
  for (std::uint32_t attempt : {50u, 51u, 52u}) {
    setup.faults.push_back({GetParam().fault, sim::CommandSelector::nthWithCode(link::ReadBlock, attempt)});
  }
  ReadRun read(setup);
  try {
    read.run();
    FAIL() << "the error must leave the job";
  } catch (const link::LinkError& error) {
    EXPECT_STREQ(error.what(), GetParam().message);
  }
  EXPECT_TRUE(std::filesystem::is_empty(read.folder.path()));
  EXPECT_FALSE(read.rig.portOpen());
  EXPECT_FALSE(read.rig.host.windowAlive);
  EXPECT_TRUE(read.rig.host.informations.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedRead,
    ::testing::Values(
        ReadFailure{"NoReply", sim::ReplyFault::NoReply,
                    "RS232. Нет связи. Проверьте правильность соединения PC и устройства."},
        ReadFailure{"Busy", sim::ReplyFault::Busy,
                    "Устройство занято. Возможно, оно находится в режиме местного управления."},
        ReadFailure{"ShortPayload", sim::ReplyFault::ShortPayload, "RS232. Ошибка обмена.(5)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadSettings, FailedSaveKeepsTheOlderFileOfThatName) {
  ASSERT_EQ(run(), JobOutcome::Completed);
  const auto older = ReadFileBytes(file());
  std::filesystem::create_directory(folder / (std::string(kName) + ".partial"));  // blocks the temporary file
  rig.boot().settings.bytes[40] = 0x5A;
  EXPECT_THROW(run(), std::runtime_error);
  EXPECT_EQ(ReadFileBytes(file()), older);
  EXPECT_FALSE(rig.portOpen());
}

}  // namespace
}  // namespace vortaboot::operations
