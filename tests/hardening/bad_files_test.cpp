// Firmware images and settings files of every awkward size and content,
// given to vortaboot-cli with a simulated device on the line: each gets a
// clear message, nothing crashes, and the device holds nothing the file could
// not justify.

#include <gtest/gtest.h>

#include <functional>

#include "operations/settings_file.h"
#include "sim/default_settings.h"
#include "sim/firmware_rom.h"
#include "sim_bench.h"

namespace vortaboot::testing {
namespace {

using namespace std::chrono_literals;
using Space = sim::SettingsSpace;

constexpr std::uint16_t kDeviceVersion = 0x0104;
constexpr std::uint8_t kFileMark = 0xA5;

enum class Kind { Firmware, Settings };
enum class Device { Unchanged, RangesCarried, BlockZeroMarked };

struct Entry {
  std::uint16_t offset;
  std::uint16_t length;
};

void PutEntry(std::span<std::uint8_t> table, unsigned i, Entry entry) {
  table[4 * i] = entry.offset & 0xFF;
  table[4 * i + 1] = entry.offset >> 8;
  table[4 * i + 2] = entry.length & 0xFF;
  table[4 * i + 3] = entry.length >> 8;
}

// `count` entries of 20 bytes each, 32 bytes apart from offset 1056 on.
void PutSmallRanges(std::span<std::uint8_t> table, unsigned count) {
  table[0] = static_cast<std::uint8_t>(count);
  for (unsigned i = 1; i <= std::min(count, 23u); ++i) PutEntry(table, i, {static_cast<std::uint16_t>(1024 + 32 * i), 20});
}

// The device's own settings data, each range's carried bytes changed, with
// `edit` applied, as a settings file of `version`.
Bytes SettingsFile(const std::function<void(Bytes&)>& edit = {}, std::uint16_t version = kDeviceVersion) {
  const auto device = sim::defaultSettings().bytes;
  Bytes data(device.begin() + 32, device.end());
  for (const auto& range : sim::defaultRanges()) {
    for (std::size_t p = 0; p + 4 < range.length; ++p) data[range.offset - 32 + p] ^= kFileMark;
  }
  if (edit) edit(data);
  return operations::ComposeSettingsFile(version, data);
}

Bytes Firmware(std::uint32_t pages, std::uint8_t type = 0x2A, std::uint16_t version = kDeviceVersion) {
  return sim::makeFirmwareImage(pages, {type, version}, 0x08004000);
}

Bytes Prefix(const Bytes& bytes, std::size_t size) { return Bytes(bytes.begin(), bytes.begin() + size); }

struct BadFile {
  const char* name;
  Kind kind;
  std::function<Bytes()> file;
  int exitStatus;
  std::string says;  // a line of standard error, part of one for exit status 2
  Device device = Device::Unchanged;
  std::function<void(Space&)> deviceSetup = {};
  std::vector<std::string> simOptions = {};
};

void PrintTo(const BadFile& c, std::ostream* out) { *out << c.name; }

const char* const kTooShortImage = "Файл прошивки слишком короткий";
const char* const kNoVersionWord = "Файл настроек повреждён: в нём меньше двух байт.";
const char* const kNoTableHead = "Файл настроек повреждён: в нём нет заголовка таблицы диапазонов.";
const char* const kTypeMismatch = "Тип МК не совпадает с версией ПО.";

std::vector<BadFile> Cases() {
  const Kind F = Kind::Firmware, S = Kind::Settings;
  return {
      {"EmptyImage", F, [] { return Bytes{}; }, 2, kTooShortImage},
      {"OneByteImage", F, [] { return Bytes{0x2A}; }, 2, kTooShortImage},
      {"SixByteImage", F, [] { return Prefix(Firmware(0), 6); }, 2, kTooShortImage},
      {"SevenByteImageForThisDevice", F, [] { return Firmware(0); }, 0,
       "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера.",
       Device::BlockZeroMarked},
      {"SevenByteImageForAnotherType", F, [] { return Firmware(0, 0x2B); }, 1, kTypeMismatch},
      {"TruncatedImage", F, [] { return Prefix(Firmware(2), 3000); }, 1, kTypeMismatch},
      {"ForeignFile", F, [] { return Bytes(4096, '#'); }, 1, kTypeMismatch},
      {"RefusedVersion", F, [] { return Firmware(1, 0x2A, 0x4100); }, 1,
       "Программа не предназначена для данного устойства.", Device::Unchanged, {}, {"--version", "0x4100"}},

      {"EmptySettings", S, [] { return Bytes{}; }, 2, kNoVersionWord},
      {"OneByteSettings", S, [] { return Bytes{0x04}; }, 2, kNoVersionWord},
      {"VersionWordOnly", S, [] { return Bytes{0x04, 0x01}; }, 2, kNoTableHead},
      {"HalfATableHead", S, [] { return Prefix(SettingsFile(), 5); }, 2, kNoTableHead},
      {"AnotherDeviceVersion", S, [] { return SettingsFile({}, 0x0105); }, 1,
       "Версия настроек не совпадает с версией устройства!"},
      {"AnotherTableVersion", S, [] { return SettingsFile([](Bytes& d) { d[1] = 2; }); }, 1,
       "Версия настроек не совпадает с версией прошивки!"},
      {"TruncatedSettings", S, [] { return Prefix(SettingsFile(), 200); }, 1,
       "Файл настроек повреждён: запись 3 выходит за пределы файла."},
      {"RangeBeyondTheFile", S, [] { return SettingsFile([](Bytes& d) { PutEntry(d, 6, {4000, 200}); }); }, 1,
       "Файл настроек повреждён: запись 6 выходит за пределы файла."},
      {"RangeBeforeTheSettings", S, [] { return SettingsFile([](Bytes& d) { PutEntry(d, 3, {16, 20}); }); }, 1,
       "Файл настроек повреждён: запись 3 начинается раньше области настроек."},
      {"FileRangeShorterThan4", S, [] { return SettingsFile([](Bytes& d) { PutEntry(d, 5, {576, 3}); }); }, 1,
       "Файл настроек повреждён: запись 5 короче 4 байт."},
      {"DeviceRangeShorterThan4", S, [] { return SettingsFile(); }, 1,
       "Таблица диапазонов устройства повреждена: запись 2 короче 4 байт.", Device::Unchanged,
       [](Space& s) { PutEntry(std::span(s.bytes).subspan(32), 2, {160, 0}); }},
      {"EntryCountZero", S, [] { return SettingsFile([](Bytes& d) { d[0] = 0; }); }, 0, "Настройки записаны в МК"},
      {"EntryCount23", S, [] { return SettingsFile([](Bytes& d) { PutSmallRanges(d, 23); }); }, 0,
       "Настройки записаны в МК", Device::RangesCarried, [](Space& s) { PutSmallRanges(std::span(s.bytes).subspan(32), 23); }},
      {"EntryCount24", S, [] { return SettingsFile([](Bytes& d) { PutSmallRanges(d, 24); }); }, 1,
       "Слишком много записей в таблице диапазонов: 24, а допустимо не больше 23.", Device::Unchanged,
       [](Space& s) { PutSmallRanges(std::span(s.bytes).subspan(32), 24); }},
      {"EntryCount255AgainstSix", S, [] { return SettingsFile([](Bytes& d) { d[0] = 255; }); }, 0,
       "Настройки записаны в МК", Device::RangesCarried},
      {"EntryCount255OnBothSides", S, [] { return SettingsFile([](Bytes& d) { PutSmallRanges(d, 255); }); }, 1,
       "Слишком много записей в таблице диапазонов: 255, а допустимо не больше 23.", Device::Unchanged,
       [](Space& s) { PutSmallRanges(std::span(s.bytes).subspan(32), 255); }},
      {"OverlappingFileRanges", S, [] { return SettingsFile([](Bytes& d) { PutEntry(d, 4, {192, 260}); }); }, 0,
       "Настройки записаны в МК", Device::RangesCarried},
      {"OversizedSettings", S, [] { auto f = SettingsFile(); f.resize(65536, 0x5A); return f; }, 0,
       "Настройки записаны в МК", Device::RangesCarried},
  };
}

Bytes InitialSettings(const BadFile& c) {
  Space space = sim::defaultSettings();
  if (c.deviceSetup) c.deviceSetup(space);
  return Bytes(space.bytes.begin(), space.bytes.end());
}

// The device's settings after the file's ranges, as far as both tables
// name them, went from the start of the file's range to the start of the device's.
Bytes Carried(Bytes device, const Bytes& file) {
  const Bytes settingsData = operations::TakeSettingsFileApart(file).settingsData;
  const unsigned count = std::min(settingsData[0], device[32]);
  const auto word = [](const Bytes& b, std::size_t at) { return static_cast<unsigned>(b[at] | b[at + 1] << 8); };
  const Bytes table(device.begin() + 32, device.begin() + 128);
  for (unsigned i = 1; i <= count; ++i) {
    const unsigned from = word(settingsData, 4 * i) - 32, to = word(table, 4 * i);
    const unsigned n = std::min(word(settingsData, 4 * i + 2), word(table, 4 * i + 2)) - 4;
    for (unsigned p = 0; p < n && to + p < device.size(); ++p) device[to + p] = settingsData[from + p];
  }
  return device;
}

class BadFiles : public ::testing::TestWithParam<BadFile> {
 protected:
  SimBench bench;
};

TEST_P(BadFiles, AreRefusedClearlyAndLeaveTheDeviceAsTheFileJustifies) {
  const BadFile& c = GetParam();
  const Bytes initial = InitialSettings(c);
  bench.writeFile("settings.bin", initial);
  bench.startSim(c.simOptions);
  const Bytes file = c.file();
  const auto path = bench.writeFile(c.kind == Kind::Firmware ? "bad.rom" : "bad.pset", file);
  const CliRun run =
      bench.cli({c.kind == Kind::Firmware ? "load-firmware" : "write-settings", path.string(), "--wait", "10"});

  ASSERT_TRUE(run.status) << run.errors;
  EXPECT_EQ(*run.status, c.exitStatus) << run.errors;
  if (c.exitStatus == 0) {
    EXPECT_TRUE(run.saysOnOutput(c.says)) << run.output;
  } else if (c.exitStatus == 2) {
    EXPECT_NE(run.errors.find(c.says), std::string::npos) << run.errors;
  } else {
    EXPECT_TRUE(run.saysOnErrors(c.says)) << run.errors;
  }
  EXPECT_LT(run.took, 10s);
  bench.stopSim();
  if (c.exitStatus == 2) {
    EXPECT_TRUE(bench.simLog().empty()) << "the device was asked something";
  }

  EXPECT_TRUE(bench.devicePages().empty()) << "no file here holds a whole page for this device";
  Bytes expected = initial;
  if (c.device == Device::RangesCarried) expected = Carried(initial, file);
  if (c.device == Device::BlockZeroMarked) std::copy_n(Bytes{0x00, 0x55, 0xFF, 0xAA}.begin(), 4, expected.begin() + 16);
  EXPECT_TRUE(bench.deviceSettings() == expected);
}

INSTANTIATE_TEST_SUITE_P(Files, BadFiles, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vortaboot::testing
