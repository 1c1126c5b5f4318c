// Every fault the simulator can show, at the first, a middle and the last
// command of each job, through vortaboot-cli over a real pseudo-terminal:
// the message and exit status, a bounded run, a device that still answers,
// and what the device holds afterwards.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "operations/file_bytes.h"
#include "operations/settings_file.h"
#include "sim/default_settings.h"
#include "sim_bench.h"

namespace vortaboot::testing {
namespace {

using namespace std::chrono_literals;

enum class Job { ReadSettings, LoadFirmware, WriteSettings };

constexpr int kImagePages = 2;
constexpr std::uint8_t kFileMark = 0xA5;  // the settings file's ranges differ from the device's by this
constexpr auto kLongestRun = 12s;

const char* const kNoConnection = "RS232. Нет связи. Проверьте правильность соединения PC и устройства.";
const char* const kByteDelay = "RS232. Ошибка задержки приема внутри блока.";
const char* const kBadChecksum = "RS232. Ошибка обмена.(0)";
const char* const kEmptyHeader = "RS232. Ошибка обмена.(4)";
const char* const kShortReply = "RS232. Ошибка обмена.(5)";
const char* const kBusy = "Устройство занято. Возможно, оно находится в режиме местного управления.";
const char* const kSettingsSaved = "Настройки сохранены в файл ";
const char* const kFirmwareLoaded =
    "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера.";
const char* const kSettingsWritten = "Настройки записаны в МК";

// Command codes, as the simulator's fault selectors name them.
enum Code { Identify = 1, WriteBuffer = 4, ReadBlock = 5, Finish = 6, StoreBuffer = 7, PageData = 10,
            OpenRange = 12, ProgramPage = 20 };

using Options = std::vector<std::string>;

// The fault on the n-th command with `code`; the link's retries are later
// commands of that code, so `attempts` consecutive ones fail.
Options Fault(const std::string& kind, int code, int n, int attempts = 3) {
  Options options;
  for (int i = 0; i < attempts; ++i) {
    options.insert(options.end(), {"--fault", kind + "@code=" + std::to_string(code) + ":" + std::to_string(n + i)});
  }
  return options;
}

// ProgramPage answers `flags`,`result` to its n-th to (n + count - 1)-th request.
Options ProgramStatus(int flags, int result, int n, int count = 3) {
  const std::string status = std::to_string(flags) + "," + std::to_string(result);
  Options options;
  for (int i = 0; i < count; ++i) {
    const std::string which = std::to_string(ProgramPage) + ":" + std::to_string(n + i);
    options.insert(options.end(), {"--program-status", status + "@code=" + which});
  }
  return options;
}

Options operator+(Options a, const Options& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct FaultCase {
  const char* name;
  Job job;
  Options simOptions;
  int exitStatus;
  std::string message;  // a line of standard error, or the start of standard output on success
  int pagesProgrammed = 0;
  bool blockZeroMarked = false;
  int rangesStored = 0;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

// The default device has 6 ranges; the settings file holds 2, 0, 2, 8, 3
// and 32 WriteBuffer pieces for them.
std::vector<FaultCase> Cases() {
  const Job R = Job::ReadSettings, F = Job::LoadFirmware, W = Job::WriteSettings;
  return {
      {"IdentifyFaultsAreWaitedOut", R, Fault("silent", Identify, 1) + Fault("busy", Identify, 4, 1), 0, kSettingsSaved},
      {"FirstBlockSilent", R, Fault("silent", ReadBlock, 1), 1, kNoConnection},
      {"FirstBlockShortLength", R, Fault("length", ReadBlock, 1), 1, kNoConnection},
      {"MiddleBlockChecksum", R, Fault("checksum", ReadBlock, 64), 1, kBadChecksum},
      {"MiddleBlockBusy", R, Fault("busy", ReadBlock, 64), 1, kBusy},
      {"MiddleBlockShortPayload", R, Fault("short", ReadBlock, 64, 1), 1, kShortReply},
      {"MiddleBlockOneBadAttempt", R, Fault("checksum", ReadBlock, 64, 1), 0, kSettingsSaved},
      {"LastBlockHeader", R, Fault("header", ReadBlock, 127), 1, kEmptyHeader},
      {"LastBlockTruncated", R, Fault("truncated", ReadBlock, 127), 1, kByteDelay},

      {"IdentifyChecksumWaitedOut", F, Fault("checksum", Identify, 1), 0, kFirmwareLoaded, 2, true},
      {"IdentifyShortPayload", F, Fault("short", Identify, 1, 1), 1, kShortReply},
      {"FirstPieceSilent", F, Fault("silent", PageData, 1), 1, kNoConnection},
      {"SecondPageFirstPieceChecksum", F, Fault("checksum", PageData, 65), 1, kBadChecksum, 1},
      {"SecondPageLastPieceTruncated", F, Fault("truncated", PageData, 128), 1, kByteDelay, 1},
      {"ProgramPageAlwaysBusy", F, {"--fault", "busy@code=" + std::to_string(ProgramPage)}, 1, kBusy},
      {"FirstPageLowPower", F, ProgramStatus(1, 0, 1), 1, "Низкое питание устройства(1)."},
      {"LastPageEraseFailed", F, ProgramStatus(2, 0, 2), 1, "Ошибка стирания памяти программ.", 1},
      {"LastPageFlagsBeforeCode", F, ProgramStatus(3, 3, 2), 1, "Низкое питание устройства(1).", 1},
      {"LastPageAddressError1", F, ProgramStatus(0, 1, 2), 1, "Ошибка адресации (1).", 1},
      {"LastPageAddressError2", F, ProgramStatus(0, 2, 2), 1, "Ошибка адресации (2).", 1},
      {"LastPageWriteFailed", F, ProgramStatus(0, 3, 2), 1, "Сбой при записи.", 1},
      {"LastPageWriteFailed2", F, ProgramStatus(0, 4, 2), 1, "Сбой при записи(2).", 1},
      {"ProgramPageSucceedsAtThirdAttempt", F, ProgramStatus(0, 3, 1, 2), 0, kFirmwareLoaded, 2, true},
      {"OtherFlagsAndCodesAreSuccess", F, ProgramStatus(0xFC, 5, 1, 2), 0, kFirmwareLoaded, 2, true},
      {"BlockZeroShortPayload", F, Fault("short", ReadBlock, 1, 1), 1, kShortReply, 2},
      {"MarkerWriteHeader", F, Fault("header", WriteBuffer, 1), 1, kEmptyHeader, 2},
      {"MarkerStoreReplyLost", F, Fault("truncated", StoreBuffer, 1), 1, kByteDelay, 2, true},
      {"FinishSilentIsNoFailure", F, Fault("silent", Finish, 1), 0, kFirmwareLoaded, 2, true},
      {"FinishBusyIsNoFailure", F, Fault("busy", Finish, 1), 0, kFirmwareLoaded, 2, true},

      {"FirstTableBlockSilent", W, Fault("silent", ReadBlock, 1), 1, kNoConnection},
      {"LastTableBlockShortPayload", W, Fault("short", ReadBlock, 3, 1), 1, kShortReply},
      {"MiddleOpenRangeBusy", W, Fault("busy", OpenRange, 4), 1, kBusy, 0, false, 3},
      {"MiddlePieceChecksum", W, Fault("checksum", WriteBuffer, 10), 1, kBadChecksum, 0, false, 3},
      {"MiddleStoreReplyShortLength", W, Fault("length", StoreBuffer, 3), 1, kNoConnection, 0, false, 3},
      {"LastPieceTruncated", W, Fault("truncated", WriteBuffer, 47), 1, kByteDelay, 0, false, 5},
      {"LastStoreBusy", W, Fault("busy", StoreBuffer, 6), 1, kBusy, 0, false, 5},
      {"LastStoreReplyHeader", W, Fault("header", StoreBuffer, 6), 1, kEmptyHeader, 0, false, 6},
      {"OneSilentOpenRangeIsRetried", W, Fault("silent", OpenRange, 1, 1), 0, kSettingsWritten, 0, false, 6},
  };
}

// The device's settings with every range's carried bytes changed, as a file.
Bytes SettingsFileForDevice() {
  const auto device = sim::defaultSettings().bytes;
  Bytes data(device.begin() + 32, device.end());
  for (const auto& range : sim::defaultRanges()) {
    for (std::size_t p = 0; p + 4 < range.length; ++p) data[range.offset - 32 + p] ^= kFileMark;
  }
  return operations::ComposeSettingsFile(0x0104, data);
}

// A simulator and the files the jobs take.
class JobBench : public ::testing::Test {
 protected:
  Options jobArguments(Job job) {
    switch (job) {
      case Job::ReadSettings: return {"read-settings", "--dir", bench.outFolder().string()};
      case Job::LoadFirmware: return {"load-firmware", rom.string()};
      case Job::WriteSettings: return {"write-settings", bench.writeFile("saved.pset", SettingsFileForDevice()).string()};
    }
    return {};
  }

  SimBench bench;
  std::filesystem::path rom = bench.makeRom(kImagePages);
};

class FaultMatrix : public JobBench, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void checkReadSettings(const FaultCase& c, const Bytes& settings) {
    EXPECT_EQ(bench.outputFiles().size(), c.exitStatus == 0 ? 1u : 0u) << "a settings file only on success";
    EXPECT_TRUE(std::equal(settings.begin(), settings.end(), sim::defaultSettings().bytes.begin()))
        << "reading changed the device";
  }

  void checkFirmware(const FaultCase& c, const Bytes& settings) {
    const auto pages = bench.devicePages();
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(c.pagesProgrammed));
    const Bytes image = operations::ReadFileBytes(rom).value();
    for (std::size_t k = 0; k < pages.size(); ++k) {
      EXPECT_EQ(pages[k].address, 0x08004000u + 2048 * k);
      EXPECT_TRUE(std::equal(pages[k].bytes.begin(), pages[k].bytes.end(), image.begin() + 2048 * k)) << k;
    }
    const Bytes marker{0x00, 0x55, 0xFF, 0xAA};
    EXPECT_EQ(Bytes(settings.begin() + 16, settings.begin() + 20) == marker, c.blockZeroMarked);
    EXPECT_TRUE(std::equal(settings.begin() + 32, settings.end(), sim::defaultSettings().bytes.begin() + 32));
  }

  void checkRanges(const FaultCase& c, const Bytes& settings) {
    const auto original = sim::defaultSettings().bytes;
    Bytes expected(original.begin(), original.end());
    for (int i = 0; i < c.rangesStored; ++i) {
      const auto& range = sim::defaultRanges()[i];
      for (std::size_t p = 0; p + 4 < range.length; ++p) expected[range.offset + p] ^= kFileMark;
    }
    EXPECT_TRUE(settings == expected) << "the device should hold exactly the first " << c.rangesStored << " ranges";
  }
};

TEST_P(FaultMatrix, JobEndsAsTheFaultDemandsAndTheDeviceHoldsOnlyWhatWasFinished) {
  const FaultCase& c = GetParam();
  bench.startSim(c.simOptions);
  const CliRun run = bench.cli(jobArguments(c.job) + Options{"--wait", "10"});

  ASSERT_TRUE(run.status) << "no end within a minute\n" << run.errors;
  EXPECT_EQ(*run.status, c.exitStatus) << run.errors;
  if (c.exitStatus == 0) {
    EXPECT_EQ(run.output.rfind(c.message, 0), 0u) << run.output;
  } else {
    EXPECT_TRUE(run.saysOnErrors(c.message)) << run.errors;
    EXPECT_EQ(run.output, "");
  }
  EXPECT_LT(run.took, kLongestRun);
  EXPECT_TRUE(bench.deviceAnswers()) << "the port was left unusable";
  bench.stopSim();

  const Bytes settings = bench.deviceSettings();
  ASSERT_EQ(settings.size(), 4096u);
  switch (c.job) {
    case Job::ReadSettings: return checkReadSettings(c, settings);
    case Job::LoadFirmware: return checkFirmware(c, settings);
    case Job::WriteSettings: return checkRanges(c, settings);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The device disappears in the middle of a job: stopped (it saves its
// memories first) or killed outright, its terminal gone either way.
struct VanishCase {
  const char* name;
  Job job;
  Options simOptions;        // a pause that keeps the job from ending first
  const char* progressSeen;  // the job is past this line when the device goes
  int signal;
};

void PrintTo(const VanishCase& c, std::ostream* out) { *out << c.name; }

class DeviceVanishes : public JobBench, public ::testing::WithParamInterface<VanishCase> {};

TEST_P(DeviceVanishes, JobFailsInBoundedTimeAndANewDeviceAnswersAtOnce) {
  const VanishCase& c = GetParam();
  rom = bench.makeRom(8);
  bench.startSim(c.simOptions);
  const auto job = bench.startCli(jobArguments(c.job) + Options{"--wait", "10"});
  ASSERT_TRUE(job->waitForError(c.progressSeen, 10s)) << job->errors();
  const auto vanished = std::chrono::steady_clock::now();
  if (c.signal == SIGKILL) {
    bench.killSim();
  } else {
    bench.stopSim();
  }
  const auto status = job->wait(kLongestRun);
  ASSERT_TRUE(status) << "still running " << kLongestRun.count() << " s after the device went\n" << job->errors();
  EXPECT_LT(std::chrono::steady_clock::now() - vanished, kLongestRun);
  EXPECT_EQ(*status, 1) << job->errors();
  EXPECT_NE(job->errors().find(kNoConnection), std::string::npos) << job->errors();
  EXPECT_EQ(job->output(), "");
  EXPECT_TRUE(bench.outputFiles().empty()) << "no settings file, not even a partial one";

  if (c.signal == SIGTERM && c.job == Job::LoadFirmware) {
    const auto pages = bench.devicePages();
    EXPECT_GE(pages.size(), 2u);
    EXPECT_LT(pages.size(), 8u);
    const Bytes settings = bench.deviceSettings();
    ASSERT_EQ(settings.size(), 4096u);
    EXPECT_NE(Bytes(settings.begin() + 16, settings.begin() + 20), (Bytes{0x00, 0x55, 0xFF, 0xAA}));
  }
  bench.startSim();
  EXPECT_TRUE(bench.deviceAnswers());
}

INSTANTIATE_TEST_SUITE_P(
    Vanish, DeviceVanishes,
    ::testing::Values(
        VanishCase{"FirmwareDeviceKilled", Job::LoadFirmware, Fault("silent", PageData, 300, 1),
                   "Загрузка прошивки... 25%", SIGKILL},
        VanishCase{"FirmwareDeviceStopped", Job::LoadFirmware, Fault("silent", PageData, 300, 1),
                   "Загрузка прошивки... 25%", SIGTERM},
        VanishCase{"ReadSettingsDeviceKilled", Job::ReadSettings, Fault("silent", ReadBlock, 60, 1),
                   "Чтение настроек... 40%", SIGKILL}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vortaboot::testing
