#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/ini_integer.h"
#include "temp_folder.h"

namespace vortaboot::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileText;
using testing::TempFolder;
using testing::WriteFileText;

struct IniFileTest : ::testing::Test {
  TempFolder folder;
  fs::path file = folder / "config.ini";
  IniFile ini{file};
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsAsDefault) {
  EXPECT_EQ(ini.ReadString("RS232", "Port", "none"), "none");
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 7), 7);

  WriteFileText(file, "[RS232]\r\nPort=3\r\nEmpty=\r\n");
  EXPECT_EQ(ini.ReadInteger("Common", "Port", 7), 7);
  EXPECT_EQ(ini.ReadInteger("RS232", "Speed", 7), 7);
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 7), 3);
  EXPECT_EQ(ini.ReadString("RS232", "Empty", "none"), "");
  EXPECT_EQ(ini.ReadInteger("RS232", "Empty", 7), 7);
}

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCase) {
  WriteFileText(file, "[MainWindow]\r\nLeft=5\r\n");
  EXPECT_EQ(ini.ReadInteger("MAINWINDOW", "left", 0), 5);

  ini.WriteInteger("mainwindow", "LEFT", 7);
  EXPECT_EQ(ReadFileText(file), "[MainWindow]\r\nLEFT=7\r\n");
}

TEST_F(IniFileTest, OnlyTheFirstSectionAndKeyOfANameCount) {
  WriteFileText(file, "[A]\nx=1\nx=2\n[B]\nx=3\n[a]\nx=4\ny=5\n");
  EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
  EXPECT_EQ(ini.ReadInteger("A", "y", 0), 0);
  EXPECT_EQ(ini.ReadInteger("B", "x", 0), 3);
}

TEST_F(IniFileTest, IntegerValuesConvertAsAWholeOrGiveTheDefault) {
  WriteFileText(file,
                "[Values]\r\nLower=0x20\r\nUpper=0X20\r\nDollar=$20\r\nBlank= -5\r\n"
                "Letters=abc\r\nTrailing=12abc\r\nOverflow=2147483648\r\n");
  EXPECT_EQ(ini.ReadInteger("Values", "Lower", -1), 32);
  EXPECT_EQ(ini.ReadInteger("Values", "Upper", -1), 32);
  EXPECT_EQ(ini.ReadInteger("Values", "Dollar", -1), 32);
  EXPECT_EQ(ini.ReadInteger("Values", "Blank", -1), -5);
  EXPECT_EQ(ini.ReadInteger("Values", "Letters", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Values", "Trailing", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Values", "Overflow", -1), -1);
}

TEST(ParseIniIntegerTest, AcceptsOnlyWhole32BitNumbers) {
  const struct {
    const char* text;
    std::optional<std::int32_t> expected;
  } cases[] = {
      {"0", 0},
      {"  -5", -5},
      {"\t+17", 17},
      {"0x20", 32},
      {"0X1f", 31},
      {"$20", 32},
      {"-$10", -16},
      {" $Ff", 255},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0x7FFFFFFF", 2147483647},
      {"0xFFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999", std::nullopt},
      {"0x100000000", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"-", std::nullopt},
      {"--5", std::nullopt},
      {"+-5", std::nullopt},
      {"- 5", std::nullopt},
      {"5 ", std::nullopt},
      {"1.5", std::nullopt},
      {"0x-5", std::nullopt},
      {" 0x20", std::nullopt},  // the prefix counts only at the very start
      {"$-5", std::nullopt},
      {"20h", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseIniInteger(c.text), c.expected) << '"' << c.text << '"';
  }
}

struct Write {
  std::string section, key, value;
};

TEST_F(IniFileTest, WritingAKeyKeepsEveryOtherLineAndTheLineEnds) {
  const struct {
    const char* name;
    std::optional<std::string> before;
    std::vector<Write> writes;
    std::string after;
  } cases[] = {
      {"new file uses CR LF", std::nullopt, {{"RS232", "Port", "3"}}, "[RS232]\r\nPort=3\r\n"},
      {"file made by the program", " \r\n", {{"RS232", "Port", "3"}, {"Common", "Auto", "0"}},
       " \r\n[RS232]\r\nPort=3\r\n\r\n[Common]\r\nAuto=0\r\n"},
      {"LF file with comments and blank lines",
       "; top comment\n[A]\nx=1\n\n[B]\n; about y\ny = 2\nz=9\n",
       {{"B", "y", "3"}, {"A", "w", "new"}, {"C", "flag", "1"}},
       "; top comment\n[A]\nx=1\nw=new\n\n[B]\n; about y\ny=3\nz=9\n\n[C]\nflag=1\n"},
      {"last line without a line end", "[A]\r\nx=1", {{"A", "y", "2"}}, "[A]\r\nx=1\r\ny=2\r\n"},
      {"mixed line ends stay mixed", "[A]\nx=1\r\n[B]\r\ny=2\n", {{"B", "y", "5"}},
       "[A]\nx=1\r\n[B]\r\ny=5\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[A]\r\nx=1\r\n", {{"A", "x", "4"}},
       "\xEF\xBB\xBF[A]\r\nx=4\r\n"},
      {"same value rewritten", "[A]\r\nx=1\r\n", {{"A", "x", "1"}, {"A", "x", "1"}},
       "[A]\r\nx=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(file);
    if (c.before) WriteFileText(file, *c.before);
    for (const auto& w : c.writes) ini.WriteString(w.section, w.key, w.value);
    EXPECT_EQ(ReadFileText(file), c.after);
  }
}

TEST_F(IniFileTest, ByteOrderMarkDoesNotHideTheFirstSection) {
  WriteFileText(file, "\xEF\xBB\xBF[A]\r\nx=1\r\n");
  EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
}

TEST_F(IniFileTest, IntegersAndBooleansAreWrittenAsTheyReadBack) {
  ini.WriteInteger("MainWindow", "Left", -20);
  ini.WriteInteger("MainWindow", "Big", INT32_MIN);
  ini.WriteBool("Common", "Auto", false);
  ini.WriteBool("Common", "On", true);
  EXPECT_EQ(ReadFileText(file),
            "[MainWindow]\r\nLeft=-20\r\nBig=-2147483648\r\n\r\n[Common]\r\nAuto=0\r\nOn=1\r\n");
  EXPECT_EQ(ini.ReadInteger("MainWindow", "Big", 0), INT32_MIN);
}

// Runs the test in another current folder and goes back afterwards.
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : saved_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~InFolder() { fs::current_path(saved_); }

 private:
  fs::path saved_;
};

TEST_F(IniFileTest, FailedWriteNamesTheFullFileName) {
  WriteFileText(folder / "plain", "not a folder");
  InFolder inTempFolder(folder.path());
  IniFile relative{"plain/config.ini"};
  try {
    relative.WriteInteger("RS232", "Port", 1);
    ADD_FAILURE() << "no IniWriteError";
  } catch (const IniWriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Unable to write to " + (fs::canonical(folder.path()) / "plain/config.ini").string());
  }
}

TEST_F(IniFileTest, FolderInPlaceOfTheFileIsNotWrittenOver) {
  fs::create_directory(file);
  WriteFileText(file / "inside", "kept");
  EXPECT_THROW(ini.WriteInteger("RS232", "Port", 1), IniWriteError);
  EXPECT_EQ(ReadFileText(file / "inside"), "kept");
  EXPECT_EQ(ini.ReadInteger("RS232", "Port", 7), 7);
}

TEST_F(IniFileTest, EntryThatCannotBeReadIsNotReplaced) {
  fs::create_symlink("config.ini", file);  // a link to itself: there, but unreadable
  EXPECT_THROW(ini.WriteInteger("A", "x", 1), IniWriteError);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(ini.ReadInteger("A", "x", 7), 7);
}

TEST_F(IniFileTest, WriteLeavesNoTemporaryFileBehind) {
  WriteFileText(file, "[A]\r\nx=1\r\n");
  ini.WriteInteger("A", "x", 2);
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(folder.path())) entries.push_back(entry.path());
  EXPECT_EQ(entries, std::vector<fs::path>{file});
}

TEST_F(IniFileTest, FileIsRewrittenInPlaceWhenNoTemporaryFileCanBeMade) {
  WriteFileText(file, "[A]\r\nx=1\r\n");
  fs::create_directory(fs::path(file) += ".tmp");  // blocks the temporary file
  ini.WriteInteger("A", "x", 2);
  EXPECT_EQ(ReadFileText(file), "[A]\r\nx=2\r\n");
}

TEST_F(IniFileTest, WriteKeepsTheFilePermissionsAndALinkStaysALink) {
  const fs::path target = folder / "real.ini";
  WriteFileText(target, "[A]\r\nx=1\r\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(target, file);

  ini.WriteInteger("A", "x", 2);

  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(ReadFileText(target), "[A]\r\nx=2\r\n");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniFileTest, NamesAndValuesThatWouldNotReadBackAreRefused) {
  WriteFileText(file, "[A]\r\nx=1\r\n");
  const Write refused[] = {
      {"A", "x", "1\r\n[RS232]"}, {"A", "x", "1\nPort=9"}, {"A", "a=b", "1"},
      {"A", "", "1"},             {"A", " x", "1"},        {"A", ";x", "1"},
      {"A]", "x", "1"},           {"", "x", "1"},          {"A\nB", "x", "1"},
  };
  for (const auto& w : refused) {
    EXPECT_THROW(ini.WriteString(w.section, w.key, w.value), std::invalid_argument)
        << w.section << "/" << w.key << "/" << w.value;
  }
  EXPECT_EQ(ReadFileText(file), "[A]\r\nx=1\r\n");
}

}  // namespace
}  // namespace vortaboot::platform
