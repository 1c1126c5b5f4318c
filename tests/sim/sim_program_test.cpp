// The vortaboot-sim executable over its pseudo-terminal, reached the way the
// program reaches a device: through the ports folder and the real link.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link/qv_rs232.h"
#include "recording_ui.h"
#include "sim/default_settings.h"
#include "sim_process.h"
#include "temp_folder.h"

namespace vortaboot {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using sim::testing::SimProcess;

struct SimProgram : ::testing::Test {
  SimProgram() { ::setenv("VORTABOOT_PORTS", (folder / "ports").c_str(), 1); }

  // Starts the simulator as COM3 and returns the terminal it stands for.
  std::string start(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--com", "3"});
    sim.emplace(arguments);
    const std::string ready = sim->readLine(5s);
    std::smatch found;
    if (!std::regex_match(ready, found, std::regex("vortaboot-sim: COM3 -> (/dev/pts/[0-9]+)"))) {
      ADD_FAILURE() << "ready line: \"" << ready << "\"";
      return "";
    }
    return found[1];
  }

  std::unique_ptr<link::TQV_RS> openLink(std::uint8_t portType) {
    auto rs = std::make_unique<link::TQV_RS>(
        link::LinkEnvironment{*ports, platform::systemClock(), platform::systemPriority(), ui});
    rs->PortNumber = 3;
    rs->SetBaudRate(19200);
    rs->SetPortType(portType);
    rs->ReplyTimeout = 100;
    rs->SetPortOpen(true);
    return rs;
  }

  testing::TempFolder folder;
  std::optional<SimProcess> sim;
  std::unique_ptr<platform::PortProvider> ports = platform::makeSystemPortProvider();
  testing::RecordingUi ui;
};

Bytes readBlock(link::TQV_RS& rs, std::uint16_t block) {
  rs.BeginCommand(link::BootAddress, link::ReadBlock);
  rs.AddWord(block);
  rs.Transact();
  Bytes bytes;
  for (int i = 0; i < 32; ++i) bytes.push_back(rs.ReadByte());
  return bytes;
}

void rewriteBlockZeroHead(link::TQV_RS& rs, const Bytes& head) {
  rs.BeginCommand(link::BootAddress, link::WriteBuffer);
  rs.AddWord(0);
  rs.AddWord(static_cast<std::uint16_t>(head.size()));
  for (std::uint8_t byte : head) rs.AddByte(byte);
  rs.Transact();
  rs.BeginCommand(link::BootAddress, link::StoreBuffer);
  rs.AddWord(0);
  rs.AddWord(static_cast<std::uint16_t>(head.size()));
  rs.Transact();
}

TEST_F(SimProgram, AnswersOverItsTerminalWithEchoAndSavesTheSettingsWhenStopped) {
  const fs::path settingsFile = folder / "settings.bin";
  const std::string terminal = start({"--settings", settingsFile, "--log", folder / "line.log"});
  ASSERT_FALSE(terminal.empty());
  EXPECT_EQ(fs::read_symlink(folder / "ports" / "com3"), terminal);

  auto rs = openLink(2);
  ASSERT_TRUE(rs->PortHandle);
  rs->Command(link::BootAddress, link::Identify);
  EXPECT_EQ(rs->ReadByte(), 0x2A);
  EXPECT_EQ(rs->ReadWord(), 0x0104);
  rs->ReplyTimeout = 500;
  EXPECT_EQ(readBlock(*rs, 1), *sim::defaultSettings().block(1));

  for (int reopen = 0; reopen < 3; ++reopen) rs->SetPortOpen(true);  // as the job's wait does
  ASSERT_TRUE(rs->PortHandle) << "the line survives the port being closed and reopened";
  const Bytes head{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x00, 0x55, 0xFF, 0xAA};
  rewriteBlockZeroHead(*rs, head);
  rs.reset();

  EXPECT_EQ(sim->terminate(5s), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "ports" / "com3"))) << "the port is gone with it";
  const std::string saved = testing::ReadFileText(settingsFile);
  ASSERT_EQ(saved.size(), 4096u);
  const auto defaults = sim::defaultSettings().bytes;
  std::string expected(defaults.begin(), defaults.end());
  std::copy(head.begin(), head.end(), expected.begin());
  EXPECT_EQ(saved, expected);
  const std::string log = testing::ReadFileText(folder / "line.log");
  EXPECT_NE(log.find(" rx 06 F4 01 00 01 04\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" echo 06 F4 01 00 01 04\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" tx 09 F4 01 00 00 2A 04 01 D3\n"), std::string::npos) << log;
}

TEST_F(SimProgram, SettingsSavedByOneRunAreLoadedByTheNext) {
  const fs::path settingsFile = folder / "settings.bin";
  std::string stored(4096, '\x3C');
  testing::WriteFileText(settingsFile, stored);
  ASSERT_FALSE(start({"--settings", settingsFile}).empty());
  auto rs = openLink(2);
  rs->ReplyTimeout = 500;
  EXPECT_EQ(readBlock(*rs, 127), Bytes(32, 0x3C));
}

TEST_F(SimProgram, OptionsShapeTheDeviceOnTheLine) {
  ASSERT_FALSE(start({"--type", "0x33", "--version", "0x0505", "--fault", "busy@code=5"}).empty());
  auto rs = openLink(2);
  rs->Command(link::BootAddress, link::Identify);
  EXPECT_EQ(rs->ReadByte(), 0x33);
  EXPECT_EQ(rs->ReadWord(), 0x0505);
  try {
    readBlock(*rs, 1);
    ADD_FAILURE() << "ReadBlock succeeded";
  } catch (const link::LinkError& error) {
    EXPECT_STREQ(error.what(), "Устройство занято. Возможно, оно находится в режиме местного управления.");
  }
}

TEST_F(SimProgram, PacedRepliesTakeTheirTimeOnTheWireAndNoEchoMeansNone) {
  ASSERT_FALSE(start({"--no-echo", "--pace", "1100"}).empty());  // 10 ms a byte
  auto rs = openLink(1);
  const auto before = std::chrono::steady_clock::now();
  rs->Command(link::BootAddress, link::Identify);
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_EQ(rs->ReadByte(), 0x2A) << "the reply, not an echo, was read";
  EXPECT_GE(took, 88ms) << "nine reply bytes at 10 ms each";
}

}  // namespace
}  // namespace vortaboot
