// Configuration files the program did not write itself: empty, binary,
// huge, with sections or keys given twice, or read-only. Reads give the
// defaults or the first entry, writes keep every other byte, and a file the
// user protected is reported, never replaced.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "app/ini_fls.h"
#include "platform/ini_file.h"
#include "temp_folder.h"

namespace vortaboot::testing {
namespace {

namespace fs = std::filesystem;
using app::FormPlacement;
using app::WindowState;
using namespace std::chrono_literals;

// Bytes of every value except "[", so no section can appear by chance.
std::string BinaryText(std::size_t size) {
  std::mt19937 random(7);
  std::string text(size, '\0');
  for (char& c : text) {
    c = static_cast<char>(random() % 256);
    if (c == '[') c = ']';
  }
  return text;
}

// Many entries of a section the program does not use, then its own.
std::string HugeText() {
  std::string text = "[Filler]\r\n";
  for (int i = 0; i < 200000; ++i) text += "Key" + std::to_string(i) + "=some value of the filler section\r\n";
  return text + "[RS232]\r\nPort=7\r\n";
}

struct ConfigFiles : ::testing::Test {
  TempFolder folder;
  fs::path file = folder / "vortaboot.ini";

  app::TMIniFile config() { return app::TMIniFile(folder / "vortaboot", {}); }
};

TEST_F(ConfigFiles, EmptyAndBinaryFilesReadAsDefaultsAndKeepTheirBytesOnWrite) {
  for (const std::string& before : {std::string(), BinaryText(4096)}) {
    WriteFileText(file, before);
    auto ini = config();
    EXPECT_EQ(ini.ReadInteger("RS232", "Port", 5), 5);
    FormPlacement placement{WindowState::Normal, 10, 20, 300, 200, true};
    ini.LoadFormPlacement("MainWindow", placement);
    EXPECT_EQ(placement.left, 10);
    EXPECT_EQ(placement.width, 300);

    ini.WriteInteger("RS232", "Port", 3);
    const std::string after = ReadFileText(file);
    EXPECT_EQ(after.substr(0, before.size()), before) << "the bytes before were changed";
    EXPECT_EQ(ini.ReadInteger("RS232", "Port", 5), 3);
  }
}

TEST_F(ConfigFiles, HugeFileIsReadAndWrittenInReasonableTime) {
  const std::string before = HugeText();
  WriteFileText(file, before);
  auto ini = config();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 0), 7);
  ini.WriteInteger("RS232", "Port", 8);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  std::string expected = before;
  expected.replace(expected.size() - 3, 1, "8");
  EXPECT_TRUE(ReadFileText(file) == expected) << "only the port's digit may change";
}

TEST_F(ConfigFiles, OnlyTheFirstOfDuplicateSectionsAndKeysIsReadAndWritten) {
  WriteFileText(file,
                "[MainWindow]\r\nLeft=5\r\nLeft=6\r\n[RS232]\r\nPort=3\r\n[mainwindow]\r\nLeft=7\r\nTop=9\r\n");
  auto ini = config();
  FormPlacement placement{WindowState::Normal, 100, 100, 300, 200, false};
  ini.LoadFormPlacement("MainWindow", placement);
  EXPECT_EQ(placement.left, 5);
  EXPECT_EQ(placement.top, 100) << "Top of the second section is not read";

  ini.WriteInteger("MainWindow", "Left", 1);
  ini.WriteInteger("MainWindow", "Top", 2);
  EXPECT_EQ(ReadFileText(file),
            "[MainWindow]\r\nLeft=1\r\nLeft=6\r\nTop=2\r\n[RS232]\r\nPort=3\r\n[mainwindow]\r\nLeft=7\r\nTop=9\r\n");
}

// Found by fuzzing: a last line ending in a lone carriage return lost it
// when a line was added after it, which changed that line's value.
TEST_F(ConfigFiles, AddingALineKeepsTheValueOfAnUnterminatedLastLine) {
  WriteFileText(file, "[A]\nx=1\r");
  auto ini = config();
  ASSERT_EQ(ini.ReadString("A", "x", ""), "1\r");
  ini.WriteInteger("A", "y", 2);
  EXPECT_EQ(ini.ReadString("A", "x", ""), "1\r");
  EXPECT_EQ(ReadFileText(file), "[A]\nx=1\r\r\ny=2\n");
}

TEST_F(ConfigFiles, ReadOnlyFileIsReportedAndLeftAsItWas) {
  const std::string before = "[RS232]\r\nPort=3\r\n";
  WriteFileText(file, before);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  auto ini = config();
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 0), 3) << "a read-only file is still read";
  try {
    ini.SaveFormPlacement("MainWindow", FormPlacement{});
    ADD_FAILURE() << "a read-only file was written";
  } catch (const platform::IniWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
  }
  EXPECT_EQ(ReadFileText(file), before);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(ConfigFiles, AnExistingFileIsNeverRewrittenByOpeningIt) {
  for (const std::string& before : {std::string(), BinaryText(100)}) {
    WriteFileText(file, before);
    config();
    EXPECT_EQ(ReadFileText(file), before);
  }
}

}  // namespace
}  // namespace vortaboot::testing
