#include "platform/posix/port_map.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vortaboot::platform {
namespace {

namespace fs = std::filesystem;

struct PortMapTest : ::testing::Test {
  PortMapTest() {
    root = fs::temp_directory_path() / ("vortaboot-portmap-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    where.portsFolder = root / "ports";
    where.devFolder = root / "dev";
    where.sysTtyFolder = root / "sys";
    fs::create_directories(where.portsFolder);
    fs::create_directories(where.devFolder);
  }
  ~PortMapTest() override { fs::remove_all(root); }

  void device(const std::string& name) { std::ofstream(where.devFolder / name).put('x'); }
  void uart(const std::string& name, int type) {
    device(name);
    fs::create_directories(where.sysTtyFolder / name);
    std::ofstream(where.sysTtyFolder / name / "type") << type << "\n";
  }

  fs::path root;
  PortLocations where;
};

TEST_F(PortMapTest, FolderEntriesNameTheirComNumbers) {
  for (const char* name : {"com1", "com12", "com32", "com33", "com0", "com07", "COM2", "comx", "com"}) {
    fs::create_symlink("/dev/null", where.portsFolder / name);
  }
  device("ttyUSB0");  // ignored: the folder has entries
  const auto ports = mapComPorts(where);
  std::vector<int> numbers;
  for (auto& [number, path] : ports) numbers.push_back(number);
  EXPECT_EQ(numbers, (std::vector<int>{1, 12, 32}));
  EXPECT_EQ(ports.at(12), where.portsFolder / "com12");
}

TEST_F(PortMapTest, DevicesAreNumberedUsbThenAcmThenUartsWithHardware) {
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "tty0", "ttyUSBx"}) device(name);
  uart("ttyS1", 0);  // a node without hardware behind it
  uart("ttyS4", 4);
  uart("ttyS0", 4);
  const auto ports = mapComPorts(where);
  std::vector<std::string> devices;
  for (auto& [number, path] : ports) devices.push_back(path.filename().string());
  EXPECT_EQ(devices, (std::vector<std::string>{"ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS4"}));
  EXPECT_EQ(ports.begin()->first, 1);
}

TEST_F(PortMapTest, ChosenFolderIsTheOnlySource) {
  device("ttyUSB0");
  where.folderOnly = true;
  EXPECT_TRUE(mapComPorts(where).empty());
}

TEST_F(PortMapTest, EnvironmentChoosesTheFolder) {
  ::setenv("VORTABOOT_PORTS", "/somewhere/ports", 1);
  auto chosen = portLocationsFromEnvironment();
  EXPECT_EQ(chosen.portsFolder, "/somewhere/ports");
  EXPECT_TRUE(chosen.folderOnly);

  ::unsetenv("VORTABOOT_PORTS");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  chosen = portLocationsFromEnvironment();
  EXPECT_EQ(chosen.portsFolder, "/cfg/vortaboot/ports");
  EXPECT_FALSE(chosen.folderOnly);

  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/user", 1);
  EXPECT_EQ(portLocationsFromEnvironment().portsFolder, "/home/user/.config/vortaboot/ports");
}

}  // namespace
}  // namespace vortaboot::platform
