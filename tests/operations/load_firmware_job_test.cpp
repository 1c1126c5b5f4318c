#include "operations/load_firmware_job.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "job_rig.h"
#include "link/boot_commands.h"
#include "operations/firmware_image.h"
#include "temp_folder.h"

namespace vortaboot::operations {
namespace {

using testing::JobRig;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kType = 0x2A;
constexpr std::uint16_t kVersion = 0x0104;

// `pages` pages whose bytes tell page and offset apart, then `tail` bytes
// ending in the trailer.
Bytes makeImage(std::size_t pages, std::uint32_t base = 0x2000, std::size_t tail = 7,
                std::uint8_t type = kType, std::uint16_t version = kVersion) {
  Bytes image(pages * 2048 + tail);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i / 2048 * 31 + i * 7);
  const std::size_t t = image.size() - 7;
  image[t] = type;
  image[t + 1] = version & 0xFF;
  image[t + 2] = version >> 8;
  for (int b = 0; b < 4; ++b) image[t + 3 + b] = static_cast<std::uint8_t>(base >> (8 * b));
  return image;
}

// One firmware job's run with the image given, and what it sent.
struct FirmwareRun {
  explicit FirmwareRun(sim::DeviceSetup setup = {}) : rig(std::move(setup)) {}

  JobOutcome run(const Bytes& image) {
    const auto file = folder / "image.rom";
    testing::WriteFileBytes(file, image);
    rig.host.firmwareFile = file;
    return RunLoadFirmwareJob(rig.environment());
  }
  long count(std::uint8_t code) const {
    const auto codes = rig.codes();
    return std::count(codes.begin(), codes.end(), code);
  }

  testing::TempFolder folder;
  JobRig rig;
};

struct FirmwareJob : ::testing::Test, FirmwareRun {};

TEST_F(FirmwareJob, ProgramsEveryPageThenMarksBlockZero) {
  const Bytes image = makeImage(8);
  rig.host.onMessageBox = [&] {
    EXPECT_TRUE(rig.host.windowAlive) << "the box stands over the progress window";
    EXPECT_TRUE(rig.portOpen());
  };
  EXPECT_EQ(run(image), JobOutcome::Completed);

  EXPECT_EQ(rig.host.informations, std::vector<std::string>{
      "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера."});
  EXPECT_TRUE(rig.host.errors.empty());
  EXPECT_EQ(rig.host.gauges(), (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
  EXPECT_EQ(rig.host.labels(), (std::vector<std::string>{"Переподключите питание МК", "",
                                                         "Определение версии МК...", "Загрузка прошивки..."}));
  for (std::size_t page = 0; page < 8; ++page) {
    const auto& programmed = rig.boot().program.at(0x2000 + 2048 * static_cast<std::uint32_t>(page));
    EXPECT_TRUE(std::equal(programmed.begin(), programmed.end(), image.begin() + 2048 * page)) << page;
  }
  const auto& settings = rig.boot().settings.bytes;
  EXPECT_EQ(std::string(settings.begin(), settings.begin() + 16), "SIMULATED DEVICE");
  EXPECT_EQ(Bytes(settings.begin() + 16, settings.begin() + 20), (Bytes{0x00, 0x55, 0xFF, 0xAA}));

  const auto codes = rig.codes();
  const std::vector<std::uint8_t> closing(codes.end() - 4, codes.end());
  EXPECT_EQ(closing, (std::vector<std::uint8_t>{link::ReadBlock, link::WriteBuffer, link::StoreBuffer, link::Finish}));
  EXPECT_EQ(count(link::PageData), 8 * 64);
  EXPECT_EQ(count(link::ProgramPage), 8);
  EXPECT_FALSE(rig.portOpen());
  EXPECT_FALSE(rig.host.windowAlive);
}

TEST_F(FirmwareJob, CommandsCarryTheirArgumentsAndTimeouts) {
  const Bytes image = makeImage(3, 0x2000, 100);
  EXPECT_EQ(run(image), JobOutcome::Completed);
  const auto requests = rig.requests();
  std::vector<std::uint32_t> addresses;
  for (const auto& request : requests) {
    if (request.code == link::ProgramPage) addresses.push_back(sim::longAt(request.payload, 0));
  }
  EXPECT_EQ(addresses, (std::vector<std::uint32_t>{0x2000, 0x2800, 0x3000}));
  const auto firstPiece = std::find_if(requests.begin(), requests.end(),
                                       [](const auto& r) { return r.code == link::PageData; });
  ASSERT_NE(firstPiece, requests.end());
  EXPECT_EQ(firstPiece->payload.size(), 33u);
  EXPECT_EQ(firstPiece->payload[0], 0);
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 32, firstPiece->payload.begin() + 1));
  const auto& write = requests[requests.size() - 3];
  EXPECT_EQ(sim::wordAt(write.payload, 0), 0);
  EXPECT_EQ(sim::wordAt(write.payload, 2), 20);
  EXPECT_EQ(requests[requests.size() - 2].payload, (Bytes{0, 0, 20, 0}));
  EXPECT_EQ(rig.rs->ReplyTimeout, 500) << "the closing commands wait 500 ms";
}

TEST_F(FirmwareJob, DialogClosedOpensNothing) {
  EXPECT_EQ(RunLoadFirmwareJob(rig.environment()), JobOutcome::NoFile);
  EXPECT_TRUE(rig.link.ports.opens.empty());
  EXPECT_EQ(rig.host.events, std::vector<std::string>{"dialog-firmware"});
}

TEST_F(FirmwareJob, ImageWithoutWholePagesStillRunsTheClosingSequence) {
  for (std::size_t size : {7u, 2047u}) {
    JobRig fresh;
    testing::TempFolder here;
    Bytes image = makeImage(0, 0x2000, size);
    testing::WriteFileBytes(here / "small.rom", image);
    fresh.host.firmwareFile = here / "small.rom";
    EXPECT_EQ(RunLoadFirmwareJob(fresh.environment()), JobOutcome::Completed) << size;
    EXPECT_TRUE(fresh.boot().program.empty());
    EXPECT_EQ(fresh.codes(), (std::vector<std::uint8_t>{link::Identify, link::ReadBlock, link::WriteBuffer,
                                                        link::StoreBuffer, link::Finish}));
  }
}

TEST_F(FirmwareJob, ImageTooShortForItsTrailerIsRefusedBeforeThePortOpens) {
  EXPECT_EQ(run(Bytes{1, 2, 3, 4, 5, 6}), JobOutcome::Failed);
  ASSERT_EQ(rig.host.errors.size(), 1u);
  EXPECT_NE(rig.host.errors[0].find("слишком короткий"), std::string::npos) << rig.host.errors[0];
  EXPECT_TRUE(rig.link.ports.opens.empty());
  EXPECT_TRUE(rig.link.line.writes.empty());
}

TEST_F(FirmwareJob, ImageForAnotherDeviceIsRefusedBeforeAnyPage) {
  struct Case { std::uint8_t type; std::uint16_t imageVersion; std::uint16_t deviceVersion; const char* message; };
  const Case cases[] = {
      {kType + 1, kVersion, kVersion, "Тип МК не совпадает с версией ПО."},
      {kType, kVersion + 1, kVersion, "Тип МК не совпадает с версией ПО."},
      {kType, 0x4000, 0x4000, "Программа не предназначена для данного устойства."},
      {kType, 0x4100, 0x4100, "Программа не предназначена для данного устойства."},
      {kType, 0x5000, 0x5000, "Программа не предназначена для данного устойства."},
  };
  for (const auto& c : cases) {
    sim::DeviceSetup setup;
    setup.identity.deviceVersion = c.deviceVersion;
    JobRig fresh(setup);
    testing::TempFolder here;
    const Bytes image = makeImage(2, 0x2000, 7, c.type, c.imageVersion);
    testing::WriteFileBytes(here / "x.rom", image);
    fresh.host.firmwareFile = here / "x.rom";
    EXPECT_EQ(RunLoadFirmwareJob(fresh.environment()), JobOutcome::Failed);
    EXPECT_EQ(fresh.host.errors, std::vector<std::string>{c.message});
    EXPECT_EQ(fresh.codes(), std::vector<std::uint8_t>{link::Identify});
    EXPECT_FALSE(fresh.portOpen());
  }
}

struct StatusCase {
  const char* name;
  std::uint8_t flags;
  std::uint8_t code;
  const char* message;  // nullptr: the page counts as programmed
};

void PrintTo(const StatusCase& c, std::ostream* out) { *out << c.name; }

class ProgramPageStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ProgramPageStatus, FlagsCountBeforeTheResultCode) {
  const auto& c = GetParam();
  sim::DeviceSetup setup;
  setup.programStatus.push_back({{c.flags, c.code}, sim::CommandSelector::everyWithCode(link::ProgramPage)});
  FirmwareRun job(setup);
  const auto outcome = job.run(makeImage(2));
  if (c.message) {
    EXPECT_EQ(outcome, JobOutcome::Failed);
    EXPECT_EQ(job.rig.host.errors, std::vector<std::string>{c.message});
    EXPECT_EQ(job.count(link::ProgramPage), 3) << "three attempts, then the last one's message";
    EXPECT_EQ(job.count(link::PageData), 64) << "the page's data is not sent again";
    EXPECT_EQ(job.count(link::ReadBlock), 0) << "no closing sequence";
  } else {
    EXPECT_EQ(outcome, JobOutcome::Completed);
    EXPECT_TRUE(job.rig.host.errors.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ProgramPageStatus,
    ::testing::Values(StatusCase{"LowPowerWinsOverEverything", 0x03, 3, "Низкое питание устройства(1)."},
                      StatusCase{"EraseFailure", 0x02, 1, "Ошибка стирания памяти программ."},
                      StatusCase{"Address1", 0x00, 1, "Ошибка адресации (1)."},
                      StatusCase{"Address2", 0x00, 2, "Ошибка адресации (2)."},
                      StatusCase{"Write1", 0x00, 3, "Сбой при записи."},
                      StatusCase{"Write2", 0xF0, 4, "Сбой при записи(2)."},
                      StatusCase{"OtherFlagsAndCodesSucceed", 0xFC, 5, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirmwareJobRetry, TwoFailedProgramAttemptsThenSuccess) {
  sim::DeviceSetup setup;
  for (std::uint32_t n : {1u, 2u}) {
    setup.programStatus.push_back({{0, 3}, sim::CommandSelector::nthWithCode(link::ProgramPage, n)});
  }
  FirmwareRun job(setup);
  EXPECT_EQ(job.run(makeImage(1)), JobOutcome::Completed);
  EXPECT_TRUE(job.rig.host.errors.empty());
  EXPECT_EQ(job.count(link::ProgramPage), 3);
  EXPECT_EQ(job.count(link::PageData), 64);
  const auto& sleeps = job.rig.link.clock.sleeps;
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 50u), 2);
  EXPECT_EQ(job.rig.boot().program.count(0x2000), 1u);
}

TEST_F(FirmwareJob, LinkErrorOnAPieceEndsTheJobInTheErrorBox) {
  sim::DeviceSetup setup;
  setup.faults.push_back({sim::ReplyFault::NoReply, sim::CommandSelector::everyWithCode(link::PageData)});
  FirmwareRun job(setup);
  EXPECT_EQ(job.run(makeImage(2)), JobOutcome::Failed);
  EXPECT_EQ(job.rig.host.errors,
            std::vector<std::string>{"RS232. Нет связи. Проверьте правильность соединения PC и устройства."});
  EXPECT_EQ(job.count(link::PageData), 3);
  EXPECT_FALSE(job.rig.portOpen());
}

TEST_F(FirmwareJob, ShortBlockZeroReplyWritesNothingBack) {
  sim::DeviceSetup setup;
  setup.faults.push_back({sim::ReplyFault::ShortPayload, sim::CommandSelector::everyWithCode(link::ReadBlock)});
  FirmwareRun job(setup);
  EXPECT_EQ(job.run(makeImage(1)), JobOutcome::Failed);
  EXPECT_EQ(job.rig.host.errors, std::vector<std::string>{"RS232. Ошибка обмена.(5)"});
  EXPECT_EQ(job.count(link::WriteBuffer), 0);
  EXPECT_EQ(job.rig.boot().settings.bytes[16], 0xFF) << "block 0 untouched";
}

TEST_F(FirmwareJob, UnansweredFinishStillEndsWithTheClosingMessage) {
  sim::DeviceSetup setup;
  setup.faults.push_back({sim::ReplyFault::NoReply, sim::CommandSelector::everyWithCode(link::Finish)});
  FirmwareRun job(setup);
  EXPECT_EQ(job.run(makeImage(1)), JobOutcome::Completed);
  EXPECT_EQ(job.count(link::Finish), 3);
  EXPECT_EQ(job.rig.host.informations.size(), 1u);
}

TEST_F(FirmwareJob, CancelIsSeenAtThePageBoundary) {
  rig.host.onPump = [&] {
    if (rig.boot().program.size() == 2) rig.host.cancelClicked = true;
  };
  rig.link.ui.onPump = rig.host.onPump;
  EXPECT_EQ(run(makeImage(5)), JobOutcome::Cancelled);
  EXPECT_EQ(rig.boot().program.size(), 2u);
  EXPECT_EQ(count(link::ReadBlock), 0) << "no closing sequence after a cancel";
  EXPECT_TRUE(rig.host.errors.empty());
  EXPECT_TRUE(rig.host.informations.empty());
  EXPECT_FALSE(rig.portOpen());
}

TEST_F(FirmwareJob, CancelDuringTheAnsweredPollStopsBeforeTheFirstPage) {
  rig.link.ui.onPump = [&] { rig.host.cancelClicked = true; };
  EXPECT_EQ(run(makeImage(2)), JobOutcome::Cancelled);
  EXPECT_EQ(rig.codes(), std::vector<std::uint8_t>{link::Identify});
  EXPECT_EQ(rig.host.labels().back(), "Загрузка прошивки...") << "the image was checked first";
}

TEST_F(FirmwareJob, ImageGoneOnceTheDeviceAnswersLeavesAsAnErrorAfterCleanUp) {
  rig.link.ui.onPump = [&] { std::filesystem::remove(folder / "image.rom"); };
  EXPECT_THROW(run(makeImage(1)), FirmwareImageError);
  EXPECT_FALSE(rig.portOpen());
  EXPECT_FALSE(rig.host.windowAlive);
}

}  // namespace
}  // namespace vortaboot::operations
