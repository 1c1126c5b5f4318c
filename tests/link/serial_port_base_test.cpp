#include <gtest/gtest.h>

#include "link_fixture.h"
#include "platform/ini_file.h"
#include "temp_folder.h"

namespace vortaboot::link {
namespace {

using testing::LinkRig;

TEST(SerialPortBase, NoPortAtAllIsReportedOnceAtCreationAndAgainWhenAPortIsAsked) {
  LinkRig rig(std::set<int>{});
  TQV_RS rs(rig.environment());
  EXPECT_EQ(rs.PortNumber, 0);
  EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Нет свободного COM-порта!"});
  EXPECT_EQ(rs.SectionName, "RS232");

  rs.OpenPort(5);
  EXPECT_EQ(rs.PortNumber, 0);
  EXPECT_EQ(rig.ui.errors.size(), 2u);
  EXPECT_TRUE(rig.ports.opens.empty());

  rs.OpenPort(0);  // no current port: nothing happens, nothing is shown
  rs.SetPortOpen(true);
  EXPECT_EQ(rig.ui.errors.size(), 2u);
  EXPECT_TRUE(rig.ports.opens.empty());
}

TEST(SerialPortBase, ScanMarksExactlyThePortsFound) {
  LinkRig rig({1, 3});
  TQV_RS rs(rig.environment());
  EXPECT_EQ(rs.ScanPorts(), 2);
  for (int n = 1; n <= 32; ++n) EXPECT_EQ(rs.PortAvailable[n], n == 1 || n == 3) << n;
  EXPECT_EQ(rs.PortNumber, 1);
}

TEST(SerialPortBase, UnavailablePortFallsBackToTheLowestAvailable) {
  LinkRig rig({3, 7});
  TQV_RS rs(rig.environment());
  for (int asked : {5, 33, 7}) {
    rs.OpenPort(asked);
    EXPECT_EQ(rs.PortNumber, asked == 7 ? 7 : 3) << asked;
    EXPECT_EQ(rig.ports.opens.back(), rs.PortNumber);
    EXPECT_TRUE(rs.PortHandle);
  }
  EXPECT_TRUE(rig.ui.errors.empty());
}

TEST(SerialPortBase, OpenAppliesLineSettingsThenDtrThenPurges) {
  LinkRig rig;
  TQV_RS rs(rig.environment());
  rig.line.lineState = {9600, 7, 2, 0};
  rs.SetPortOpen(true);
  EXPECT_EQ(rig.line.lineState.baudRate, 115200u);
  EXPECT_EQ(rig.line.lineState.byteSize, 8);
  EXPECT_EQ(rig.line.lineState.parity, 0);
  EXPECT_EQ(rig.line.lineState.stopBits, 2);
  EXPECT_EQ(rig.line.events, (std::vector<std::string>{"open", "dtr+", "purge-rx"}));
}

TEST(SerialPortBase, BaudRateSetWhileClosedIsAppliedAtTheNextOpen) {
  LinkRig rig;
  TQV_RS rs(rig.environment());
  rs.SetBaudRate(19200);
  EXPECT_EQ(rs.BaudRate, 19200u);
  EXPECT_TRUE(rig.ports.opens.empty());
  rs.SetPortOpen(true);
  EXPECT_EQ(rig.line.lineState.baudRate, 19200u);
}

TEST(SerialPortBase, BaudRateHoldsWhatTheDriverAccepted) {
  LinkRig rig;
  TQV_RS rs(rig.environment());
  rs.SetPortOpen(true);
  rs.SetBaudRate(12345);  // refused: the driver keeps 115200
  EXPECT_EQ(rs.BaudRate, 115200u);
}

TEST(SerialPortBase, ReopeningAnOpenPortDiscardsWaitingBytes) {
  LinkRig rig;
  TQV_RS rs(rig.environment());
  rs.SetPortOpen(true);
  rig.line.deliverIn({1, 2, 3}, 0);
  rs.SetPortOpen(true);
  EXPECT_EQ(rig.line.pending(), 0u);
  EXPECT_EQ(rig.line.events, (std::vector<std::string>{"open", "dtr+", "purge-rx", "close", "open",
                                                       "dtr+", "purge-rx"}));
  rs.SetPortOpen(false);
  EXPECT_FALSE(rs.PortHandle);
  EXPECT_EQ(rig.line.events.back(), "close");
}

TEST(SerialPortBase, PortHeldByAnotherProgramStaysClosedWithoutAMessage) {
  LinkRig rig;
  rig.ports.present.insert(2);  // listed, but opening it fails
  TQV_RS rs(rig.environment());
  rs.OpenPort(2);
  EXPECT_EQ(rs.PortNumber, 2);
  EXPECT_FALSE(rs.PortHandle);
  EXPECT_TRUE(rig.ui.errors.empty());
}

struct SelectCase {
  const char* name;
  std::optional<int> answer;
  int expectedPort;
};

void PrintTo(const SelectCase& c, std::ostream* out) { *out << c.name; }

class SelectPortTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectPortTest, ListsAvailablePortsAndReopensTheResultingPort) {
  LinkRig rig({1, 3, 12});
  TQV_RS rs(rig.environment());
  rs.OpenPort(3);
  rig.ui.portChoice = GetParam().answer;
  rs.SelectPort();
  EXPECT_EQ(rig.ui.dialogItems, (std::vector<std::string>{"COM1", "COM3", "COM12"}));
  EXPECT_EQ(rig.ui.dialogSelected, 1);
  EXPECT_EQ(rs.PortNumber, GetParam().expectedPort);
  EXPECT_TRUE(rs.PortHandle);
  EXPECT_EQ(rig.ports.opens.back(), GetParam().expectedPort);
}

INSTANTIATE_TEST_SUITE_P(Answers, SelectPortTest,
                         ::testing::Values(SelectCase{"OkOnCom12", 2, 12},
                                           SelectCase{"Cancel", std::nullopt, 3},
                                           SelectCase{"OkWithNothingSelected", -1, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SerialPortBase, SelectPortWithCurrentPortGoneSelectsNothing) {
  LinkRig rig({1, 3});
  TQV_RS rs(rig.environment());
  rs.OpenPort(3);
  rig.ports.present.erase(3);
  rig.ui.portChoice = -1;
  rs.SelectPort();
  EXPECT_EQ(rig.ui.dialogSelected, -1);
  EXPECT_EQ(rs.PortNumber, 1) << "the port kept must be one that exists";
}

TEST(SerialPortBase, SelectPortWithNoPortsShowsErrorAndNoDialog) {
  LinkRig rig({4});
  TQV_RS rs(rig.environment());
  rig.ports.present.clear();
  rs.SelectPort();
  EXPECT_EQ(rig.ui.dialogs, 0);
  EXPECT_EQ(rig.ui.errors, std::vector<std::string>{"Нет свободного COM-порта!"});
  EXPECT_EQ(rs.PortNumber, 4);
  EXPECT_FALSE(rs.PortHandle);
}

}  // namespace
}  // namespace vortaboot::link

namespace vortaboot::link {
namespace {

// The port number kept in the configuration file, through a real INI file.
struct ConfiguredPort : ::testing::Test {
  ConfiguredPort() { testing::WriteFileText(file, "[RS232]\r\nPort=5\r\n"); }
  testing::TempFolder folder;
  std::filesystem::path file = folder / "vortaboot.ini";
};

TEST_F(ConfiguredPort, UnavailablePortFallsBackToTheLowestAndIsSavedAsSuch) {
  LinkRig rig({3, 7});
  TQV_RS rs(rig.environment());
  platform::IniFile ini(file);
  rs.LoadFromIni(ini);
  EXPECT_EQ(rs.PortNumber, 3);
  EXPECT_TRUE(rs.PortHandle) << "loading opens the port";
  rs.SaveToIni(ini);
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", -1), 3);
}

TEST_F(ConfiguredPort, NoPortAtAllIsReportedAgainAndSavedAsZero) {
  LinkRig rig(std::set<int>{});
  TQV_RS rs(rig.environment());
  platform::IniFile ini(file);
  rs.LoadFromIni(ini);
  EXPECT_EQ(rig.ui.errors, std::vector<std::string>(2, "Нет свободного COM-порта!"));
  rs.SaveToIni(ini);
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", -1), 0);
}

}  // namespace
}  // namespace vortaboot::link
