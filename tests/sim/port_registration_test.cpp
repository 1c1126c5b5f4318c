#include "sim/port_registration.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace vortaboot::sim {
namespace {

namespace fs = std::filesystem;
using vortaboot::testing::TempFolder;
using vortaboot::testing::WriteFileText;

TEST(PortRegistration, LinksComNToTheDeviceWhileItLives) {
  TempFolder folder;
  const fs::path ports = folder / "new" / "ports";
  {
    PortRegistration registration(ports, 5, "/dev/pts/77");
    EXPECT_EQ(fs::read_symlink(ports / "com5"), "/dev/pts/77");
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(ports / "com5")));
}

TEST(PortRegistration, ReplacesWhatAnEarlierSimulatorLeftBehind) {
  for (const fs::path leftOver : {"/dev/pts/0", "/nonexistent/device"}) {
    TempFolder folder;
    fs::create_symlink(leftOver, folder / "com1");
    PortRegistration registration(folder.path(), 1, "/dev/pts/42");
    EXPECT_EQ(fs::read_symlink(folder / "com1"), "/dev/pts/42") << leftOver;
  }
}

TEST(PortRegistration, LeavesSomebodyElsesPortAlone) {
  TempFolder folder;
  fs::create_symlink("/dev/null", folder / "com1");
  WriteFileText(folder / "com2", "");
  EXPECT_THROW(PortRegistration(folder.path(), 1, "/dev/pts/42"), RegistrationError);
  EXPECT_THROW(PortRegistration(folder.path(), 2, "/dev/pts/42"), RegistrationError);
  EXPECT_EQ(fs::read_symlink(folder / "com1"), "/dev/null");
  EXPECT_TRUE(fs::is_regular_file(folder / "com2"));
}

TEST(PortRegistration, DoesNotRemoveALinkThatWasRepointedMeanwhile) {
  TempFolder folder;
  {
    PortRegistration registration(folder.path(), 3, "/dev/pts/42");
    fs::remove(folder / "com3");
    fs::create_symlink("/dev/pts/43", folder / "com3");
  }
  EXPECT_EQ(fs::read_symlink(folder / "com3"), "/dev/pts/43");
}

}  // namespace
}  // namespace vortaboot::sim
