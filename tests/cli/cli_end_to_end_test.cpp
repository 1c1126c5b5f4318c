// vortaboot-cli against vortaboot-sim over a real pseudo-terminal.

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>

#include "child_process.h"
#include "operations/file_bytes.h"
#include "sim/default_settings.h"
#include "temp_folder.h"

namespace vortaboot::cli {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::Finished;
using testing::RunToEnd;
using Bytes = std::vector<std::uint8_t>;

const std::string kSim = VORTABOOT_SIM_PATH;
const std::string kCli = VORTABOOT_CLI_PATH;

struct CliAgainstSim : ::testing::Test {
  CliAgainstSim() {
    std::filesystem::create_directory(folder / "ports");
    std::filesystem::create_directory(folder / "out");
  }
  ~CliAgainstSim() override { stopSim(); }

  std::map<std::string, std::string> environment() const { return {{"VORTABOOT_PORTS", (folder / "ports").string()}}; }

  void startSim(std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--settings", (folder / "settings.bin").string(), "--program",
                                   (folder / "program.bin").string()});
    sim = std::make_unique<ChildProcess>(kSim, options, environment());
    const auto ready = sim->readLine(5s);
    ASSERT_TRUE(ready) << sim->errors();
    ASSERT_NE(ready->find("COM1"), std::string::npos) << *ready;
  }
  void stopSim() {
    if (!sim) return;
    sim->signal(SIGTERM);
    EXPECT_EQ(sim->wait(5s), 0) << sim->errors();
    sim.reset();
  }
  Finished cli(const std::vector<std::string>& arguments, std::chrono::milliseconds limit = 60s) {
    return RunToEnd(kCli, arguments, environment(), limit);
  }
  std::string makeRom(int pages, const std::string& version = "0x0104") {
    const auto rom = (folder / "image.rom").string();
    EXPECT_EQ(RunToEnd(kSim, {"--make-rom", rom, "--pages", std::to_string(pages), "--version", version}).status, 0);
    return rom;
  }
  std::vector<std::filesystem::path> settingsFiles() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "out")) files.push_back(entry.path());
    return files;
  }

  testing::TempFolder folder;
  std::unique_ptr<ChildProcess> sim;
};

TEST_F(CliAgainstSim, SettingsReadAndWrittenBackLeaveTheDeviceUnchanged) {
  startSim({"--answer-after", "4"});
  const auto read = cli({"read-settings", "--dir", (folder / "out").string(), "--wait", "20"});
  ASSERT_EQ(read.status, 0) << read.errors;
  const auto files = settingsFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(read.output, "Настройки сохранены в файл " + files[0].filename().string() + "\n");
  EXPECT_NE(read.errors.find("Переподключите питание МК"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(files[0]), 4066u);

  const auto written = cli({"write-settings", files[0].string(), "--wait", "20"});
  EXPECT_EQ(written.status, 0) << written.errors;
  EXPECT_EQ(written.output, "Настройки записаны в МК\n");
  stopSim();

  const auto device = operations::ReadFileBytes(folder / "settings.bin");
  ASSERT_TRUE(device);
  const auto original = sim::defaultSettings().bytes;
  EXPECT_EQ(*device, Bytes(original.begin(), original.end()));
}

TEST_F(CliAgainstSim, FirmwareIsProgrammedAndBlockZeroMarked) {
  const auto rom = makeRom(3);
  startSim();
  const auto load = cli({"load-firmware", rom, "--wait", "20", "--trace"});
  ASSERT_EQ(load.status, 0) << load.errors;
  EXPECT_EQ(load.output,
            "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера.\n");
  EXPECT_NE(load.errors.find("-> 06 F4 01 00 01 04"), std::string::npos) << "traced Identify";
  stopSim();

  const auto program = operations::ReadFileBytes(folder / "program.bin");
  ASSERT_TRUE(program);
  EXPECT_EQ(program->size(), 3u * (4 + 2048));
  const auto image = operations::ReadFileBytes(rom);
  EXPECT_TRUE(std::equal(image->begin(), image->begin() + 2048, program->begin() + 4));
  const auto device = operations::ReadFileBytes(folder / "settings.bin");
  EXPECT_EQ(Bytes(device->begin() + 16, device->begin() + 20), (Bytes{0x00, 0x55, 0xFF, 0xAA}));
}

TEST_F(CliAgainstSim, FilesForAnotherDeviceVersionAreRefused) {
  const auto rom = makeRom(1, "0x0200");
  startSim();
  const auto load = cli({"load-firmware", rom, "--wait", "20"});
  EXPECT_EQ(load.status, 1);
  EXPECT_NE(load.errors.find("Тип МК не совпадает с версией ПО."), std::string::npos) << load.errors;
  EXPECT_EQ(load.output, "");

  Bytes foreign(4066, 0);
  foreign[0] = 0x00;
  foreign[1] = 0x02;
  const auto pset = folder / "foreign.pset";
  testing::WriteFileBytes(pset, foreign);
  const auto write = cli({"write-settings", pset.string(), "--wait", "20"});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.errors.find("Версия настроек не совпадает с версией устройства!"), std::string::npos);
}

TEST_F(CliAgainstSim, WaitRunsOutWhenTheDeviceStaysSilent) {
  startSim({"--answer-after", "1000000"});
  const auto started = std::chrono::steady_clock::now();
  const auto read = cli({"read-settings", "--dir", (folder / "out").string(), "--wait", "1"}, 10s);
  EXPECT_EQ(read.status, 3) << read.errors;
  EXPECT_LT(std::chrono::steady_clock::now() - started, 4s);
  EXPECT_TRUE(settingsFiles().empty());
}

TEST_F(CliAgainstSim, InterruptDuringTheWaitEndsWithoutAFileAndFreesThePort) {
  startSim({"--answer-after", "1000000"});
  ChildProcess read(kCli, {"read-settings", "--dir", (folder / "out").string()}, environment());
  ASSERT_TRUE(read.waitForError("Переподключите питание МК", 5s)) << read.errors();
  std::this_thread::sleep_for(300ms);
  read.signal(SIGINT);
  EXPECT_EQ(read.wait(5s), 130) << read.errors();
  EXPECT_TRUE(settingsFiles().empty());
  const auto ports = cli({"ports"});
  EXPECT_EQ(ports.status, 0);
  EXPECT_EQ(ports.output.find("занят"), std::string::npos) << ports.output;
}

TEST_F(CliAgainstSim, SecondInterruptStopsTheWorkAtOnceWithoutAFile) {
  startSim({"--pace", "19200"});
  ChildProcess read(kCli, {"read-settings", "--dir", (folder / "out").string()}, environment());
  ASSERT_TRUE(read.waitForError("Чтение настроек...", 5s)) << read.errors();
  read.signal(SIGINT);
  ASSERT_TRUE(read.waitForError("повторное прерывание", 2s)) << "the first is noted, the work goes on";
  const auto second = std::chrono::steady_clock::now();
  read.signal(SIGINT);
  EXPECT_EQ(read.wait(5s), 130) << read.errors();
  EXPECT_LT(std::chrono::steady_clock::now() - second, 500ms) << "well before the read would end";
  EXPECT_TRUE(settingsFiles().empty());
  const auto ports = cli({"ports"});
  EXPECT_EQ(ports.output.find("занят"), std::string::npos) << "the port was closed: " << ports.output;
}

TEST_F(CliAgainstSim, BadRequestsAreRefusedBeforeThePortIsOpened) {
  startSim({"--log", (folder / "sim.log").string()});
  std::ofstream(folder / "short.rom", std::ios::binary) << "12345";
  std::ofstream(folder / "short.pset", std::ios::binary) << "1";
  struct Case { std::vector<std::string> arguments; const char* says; };
  const Case cases[] = {
      {{}, "не указана команда"},
      {{"read-settings", "--port", "7"}, "доступные порты: COM1"},
      {{"load-firmware", (folder / "missing.rom").string()}, "не удалось прочитать"},
      {{"load-firmware", (folder / "short.rom").string()}, "слишком короткий"},
      {{"write-settings", (folder / "short.pset").string()}, "меньше двух байт"},
      {{"info", (folder / "notes.txt").string()}, ".rom или .pset"},
  };
  for (const auto& c : cases) {
    const auto run = cli(c.arguments);
    EXPECT_EQ(run.status, 2) << c.says;
    EXPECT_NE(run.errors.find(c.says), std::string::npos) << run.errors;
  }
  stopSim();
  std::ifstream log(folder / "sim.log");
  std::string line;
  EXPECT_FALSE(std::getline(log, line)) << "the device heard nothing: " << line;
}

TEST(CliInfo, DescribesBothKindsOfFile) {
  testing::TempFolder folder;
  const auto rom = (folder / "x.rom").string();
  ASSERT_EQ(RunToEnd(kSim, {"--make-rom", rom, "--pages", "2", "--base", "0x1000"}).status, 0);
  const auto info = RunToEnd(kCli, {"info", rom});
  EXPECT_EQ(info.status, 0);
  for (const char* text : {"Страниц по 2048 байт: 2", "ImageVersion: 0x0104", "ImageBase: 0x00001000",
                           "Страница 1: адрес 0x00001800"}) {
    EXPECT_NE(info.output.find(text), std::string::npos) << text << "\n" << info.output;
  }
}

}  // namespace
}  // namespace vortaboot::cli
