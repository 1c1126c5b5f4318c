#include "app/ini_fls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/config_file_location.h"
#include "platform/executable_path.h"
#include "temp_folder.h"

namespace vortaboot::app {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileText;
using testing::TempFolder;
using testing::WriteFileText;

struct TMIniFileTest : ::testing::Test {
  TMIniFileTest() { fs::create_directory(bin); }

  TempFolder folder;
  fs::path bin = folder / "bin";
  fs::path executable = bin / "loader.exe";
  fs::path fallback = folder / "home" / ".config" / "vortaboot";
};

TEST_F(TMIniFileTest, MissingFileIsCreatedBesideTheExecutableWithOneBlankLine) {
  const TMIniFile ini(executable, fallback);

  EXPECT_EQ(ini.fileName(), bin / "loader.ini");
  EXPECT_EQ(ReadFileText(bin / "loader.ini"), " \r\n");
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 5), 5);
  EXPECT_FALSE(fs::exists(fallback));
}

TEST_F(TMIniFileTest, EachExecutableNameHasItsOwnFile) {
  const struct {
    const char* executable;
    const char* configuration;
  } cases[] = {{"loader.exe", "loader.ini"}, {"loader", "loader.ini"},
               {"copy.of.loader", "copy.of.ini"}, {"other.bin", "other.ini"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TMIniFile(bin / c.executable, fallback).fileName(), bin / c.configuration);
  }
}

TEST_F(TMIniFileTest, ExistingFileIsNeverRewritten) {
  for (const std::string before : {"", "[RS232]\nPort=4"}) {
    WriteFileText(bin / "loader.ini", before);
    const TMIniFile ini(executable, fallback);
    EXPECT_EQ(ReadFileText(bin / "loader.ini"), before);
  }
}

TEST_F(TMIniFileTest, UserFolderServesWhenNoFileCanBeMadeBesideTheExecutable) {
  fs::remove(bin);
  WriteFileText(bin, "a file where the folder should be");

  {
    TMIniFile ini(executable, fallback);
    EXPECT_EQ(ini.fileName(), fallback / "loader.ini");
    EXPECT_EQ(ReadFileText(fallback / "loader.ini"), " \r\n");
    ini.WriteInteger("RS232", "Port", 6);
  }
  const TMIniFile again(executable, fallback);
  EXPECT_EQ(again.fileName(), fallback / "loader.ini");
  EXPECT_EQ(again.ReadInteger("RS232", "Port", 0), 6);
}

TEST_F(TMIniFileTest, FileBesideTheExecutableIsPreferredToTheUserFolder) {
  fs::create_directories(fallback);
  WriteFileText(fallback / "loader.ini", "[RS232]\r\nPort=6\r\n");
  WriteFileText(bin / "loader.ini", "[RS232]\r\nPort=2\r\n");

  EXPECT_EQ(TMIniFile(executable, fallback).ReadInteger("RS232", "Port", 0), 2);
}

TEST_F(TMIniFileTest, NoPlaceForTheFileIsReportedWithBothPlaces) {
  fs::remove(bin);
  WriteFileText(bin, "a file where the folder should be");
  WriteFileText(folder / "home", "a file where the home folder should be");

  for (const fs::path& userFolder : {fallback, fs::path{}}) {
    try {
      TMIniFile ini(executable, userFolder);
      ADD_FAILURE() << "no ConfigFileError, file " << ini.fileName();
    } catch (const ConfigFileError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find((bin / "loader.ini").string()), std::string::npos) << message;
      EXPECT_NE(message.find(userFolder.empty() ? "не задана" : userFolder.string()),
                std::string::npos)
          << message;
    }
  }
}

TEST_F(TMIniFileTest, UnknownExecutableIsReportedInsteadOfANamelessFile) {
  EXPECT_THROW(TMIniFile(fs::path{}, fallback), ConfigFileError);
  EXPECT_FALSE(fs::exists(fallback));
}

// Sets one environment variable, or removes it, for the life of the object.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    Apply(value);
  }
  ~EnvironmentVariable() { Apply(saved_ ? saved_->c_str() : nullptr); }

 private:
  void Apply(const char* value) {
    if (value) {
      setenv(name_, value, 1);
    } else {
      unsetenv(name_);
    }
  }

  const char* name_;
  std::optional<std::string> saved_;
};

TEST(FallbackConfigFolderTest, FollowsTheUsersConfigurationHome) {
  const struct {
    const char* xdgConfigHome;
    const char* home;
    fs::path expected;
  } cases[] = {
      {"/x/config", "/home/u", "/x/config/vortaboot"},
      {nullptr, "/home/u", "/home/u/.config/vortaboot"},
      {"", "/home/u", "/home/u/.config/vortaboot"},
      {"relative/config", "/home/u", "/home/u/.config/vortaboot"},
      {nullptr, "relative", fs::path{}},
      {nullptr, nullptr, fs::path{}},
  };
  for (const auto& c : cases) {
    EnvironmentVariable xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
    EnvironmentVariable home("HOME", c.home);
    EXPECT_EQ(FallbackConfigFolder(), c.expected)
        << (c.xdgConfigHome ? c.xdgConfigHome : "(unset)") << ", "
        << (c.home ? c.home : "(unset)");
  }
}

// About the running executable itself, so its file is the real one beside
// this test program; one that was not there before is removed again.
TEST(TMIniFileDefaultTest, UsesTheFileBesideTheRunningExecutable) {
  const fs::path expected = fs::path(platform::executablePath()).replace_extension(".ini");
  const bool existed = fs::exists(expected);

  const TMIniFile ini;

  EXPECT_EQ(ini.fileName(), expected);
  if (!existed) fs::remove(expected);
}

struct PlacementCase {
  const char* name;
  const char* section;
  FormPlacement before;
  FormPlacement after;
};

void ExpectPlacement(const FormPlacement& actual, const FormPlacement& expected) {
  EXPECT_EQ(actual.state, expected.state);
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.width, expected.width);
  EXPECT_EQ(actual.height, expected.height);
  EXPECT_EQ(actual.sizeableBorder, expected.sizeableBorder);
}

TEST_F(TMIniFileTest, LoadFormPlacementReadsOnlyWhatTheWindowUses) {
  using enum WindowState;
  WriteFileText(bin / "loader.ini",
                "[Negative]\r\nState=0\r\nLeft=-20\r\nTop=-1\r\nWidth=-5\r\nHeight=-100\r\n"
                "[Maximized]\r\nState=2\r\nLeft=50\r\nTop=60\r\nWidth=500\r\nHeight=400\r\n"
                "[Minimized]\r\nState=1\r\nLeft=50\r\nTop=60\r\nWidth=500\r\nHeight=400\r\n"
                "[Unknown]\r\nState=7\r\nLeft=50\r\nTop=60\r\n"
                "[Empty]\r\n");
  const TMIniFile ini(executable, fallback);

  const PlacementCase cases[] = {
      {"negative values, fixed border", "Negative", {Normal, 10, 20, 300, 200, false},
       {Normal, 0, 0, 300, 200, false}},
      {"negative values, sizeable border", "Negative", {Normal, 10, 20, 300, 200, true},
       {Normal, 0, 0, 100, 100, true}},
      {"maximized stops the read", "Maximized", {Normal, 10, 20, 300, 200, true},
       {Maximized, 10, 20, 300, 200, true}},
      {"fixed border never reads the size", "Minimized", {Normal, 10, 20, 300, 200, false},
       {Minimized, 50, 60, 300, 200, false}},
      {"sizeable border reads the size", "Minimized", {Normal, 10, 20, 300, 200, true},
       {Minimized, 50, 60, 500, 400, true}},
      {"unknown state keeps the current one", "Unknown", {Minimized, 10, 20, 300, 200, false},
       {Minimized, 50, 60, 300, 200, false}},
      {"missing keys keep the current values", "Empty", {Minimized, 10, 20, 300, 200, true},
       {Minimized, 10, 20, 300, 200, true}},
      {"current values are corrected like read ones", "Nowhere", {Normal, -10, 20, -3, 200, true},
       {Normal, 0, 20, 100, 200, true}},
      {"current maximized state stops the read", "Nowhere", {Maximized, -10, -20, -3, -4, true},
       {Maximized, -10, -20, -3, -4, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormPlacement placement = c.before;
    ini.LoadFormPlacement(c.section, placement);
    ExpectPlacement(placement, c.after);
  }
}

TEST_F(TMIniFileTest, SaveFormPlacementWritesAllFiveInOrderWhateverTheBorder) {
  TMIniFile ini(executable, fallback);
  const FormPlacement saved{WindowState::Minimized, -3, 4, 500, 400, false};

  ini.SaveFormPlacement("MainWindow", saved);

  EXPECT_EQ(ReadFileText(ini.fileName()),
            " \r\n[MainWindow]\r\nState=1\r\nLeft=-3\r\nTop=4\r\nWidth=500\r\nHeight=400\r\n");
  FormPlacement restored{WindowState::Normal, 0, 0, 0, 0, true};
  ini.LoadFormPlacement("MainWindow", restored);
  ExpectPlacement(restored, {WindowState::Minimized, 0, 4, 500, 400, true});
}

}  // namespace
}  // namespace vortaboot::app
