// What the main window does with the link and the configuration file when it
// first shows and when it closes.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPushButton>
#include <QScreen>

#include "platform/ini_file.h"
#include "window_rig.h"

namespace vortaboot::testing {
namespace {

bool CentredOnScreen(const QWidget& window) {
  const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
  return offset.manhattanLength() <= 1;
}

std::int32_t IniValue(const std::filesystem::path& file, const char* section, const char* key) {
  return platform::IniFile(file).ReadInteger(section, key, -12345);
}

void ExpectLinkReadyForJobs(const link::TQV_RS& link) {
  EXPECT_EQ(link.BaudRate, 19200u);
  EXPECT_EQ(link.PortType, 2);
  EXPECT_EQ(link.ReplyTimeout, 100);
  EXPECT_EQ(link.PortHandle, nullptr) << "the port is left closed";
}

TEST(StartUp, WithoutConfigurationCreatesItAndOpensCentredOnTheLowestPort) {
  WindowRig rig({4, 9});
  auto form = rig.makeForm();
  form->show();

  EXPECT_EQ(ReadFileText(rig.configFile()), " \r\n");
  ASSERT_NE(form->Link(), nullptr);
  EXPECT_EQ(form->Link()->PortNumber, 4);
  ExpectLinkReadyForJobs(*form->Link());
  EXPECT_TRUE(CentredOnScreen(*form));
  EXPECT_EQ(form->windowState(), Qt::WindowNoState);
  EXPECT_EQ(std::filesystem::current_path(), rig.binFolder());
  EXPECT_EQ(form->findChild<QFileDialog*>("OpenDialog1")->directory().absolutePath().toStdString(),
            rig.binFolder().string());
  EXPECT_TRUE(rig.dialogs.errors.empty());
  EXPECT_TRUE(rig.dialogs.defaultErrors.empty());
}

TEST(StartUp, OpensThePortTheConfigurationNamesAndClosesItAgain) {
  WindowRig rig({1, 5});
  WriteFileText(rig.configFile(), "[RS232]\r\nPort=5\r\n");
  auto form = rig.makeForm();
  form->show();
  EXPECT_EQ(form->Link()->PortNumber, 5);
  EXPECT_EQ(rig.ports.opens, std::vector<int>{5});
  ExpectLinkReadyForJobs(*form->Link());
}

// The stored position never survives: the window opens centred. A stored
// minimized state does, a maximized one cannot apply to a fixed-size window.
TEST(StartUp, OpensCentredWhateverPositionTheConfigurationHolds) {
  const struct {
    const char* placement;
    Qt::WindowStates state;
  } cases[] = {
      {"State=0\r\nLeft=-20\r\nTop=-1\r\n", Qt::WindowNoState},
      {"State=0\r\nLeft=3000\r\nTop=17\r\n", Qt::WindowNoState},
      {"State=0\r\nLeft=abc\r\nTop=0x20\r\n", Qt::WindowNoState},
      {"State=1\r\nLeft=5\r\nTop=5\r\n", Qt::WindowMinimized},
      {"State=2\r\nLeft=5\r\nTop=5\r\n", Qt::WindowNoState},
  };
  for (const auto& c : cases) {
    WindowRig rig;
    WriteFileText(rig.configFile(), std::string("[MainWindow]\r\n") + c.placement);
    auto form = rig.makeForm();
    form->show();
    EXPECT_TRUE(CentredOnScreen(*form)) << c.placement;
    EXPECT_EQ(form->windowState(), c.state) << c.placement;
  }
}

TEST(Close, WritesThePortAutoOffAndThePlacementSectionBySection) {
  WindowRig rig({2, 6});
  WriteFileText(rig.configFile(), "[Common]\r\nAuto=1\r\n");  // whatever it held
  auto form = rig.makeForm();
  form->show();
  rig.dialogs.portChoice = 1;
  form->findChild<QPushButton*>("bRS232")->click();  // COM6 chosen, kept until the close
  ASSERT_TRUE(form->close());

  const auto file = rig.configFile();
  EXPECT_EQ(IniValue(file, "RS232", "Port"), 6);
  EXPECT_EQ(IniValue(file, "Common", "Auto"), 0);
  const QRect frame = form->frameGeometry();
  EXPECT_EQ(IniValue(file, "MainWindow", "State"), 0);
  EXPECT_EQ(IniValue(file, "MainWindow", "Left"), frame.left());
  EXPECT_EQ(IniValue(file, "MainWindow", "Top"), frame.top());
  EXPECT_EQ(IniValue(file, "MainWindow", "Width"), frame.width());
  EXPECT_EQ(IniValue(file, "MainWindow", "Height"), frame.height());
}

TEST(Close, OfAFreshConfigurationAddsRs232CommonAndMainWindowInThisOrder) {
  WindowRig rig;
  auto form = rig.makeForm();
  form->show();
  ASSERT_TRUE(form->close());
  const std::string text = ReadFileText(rig.configFile());
  const auto rs232 = text.find("[RS232]");
  const auto common = text.find("[Common]");
  const auto mainWindow = text.find("[MainWindow]");
  ASSERT_NE(mainWindow, std::string::npos);
  EXPECT_LT(rs232, common);
  EXPECT_LT(common, mainWindow);
  EXPECT_NE(text.find("Auto=0"), std::string::npos);
}

// An executable name too long for its ".ini" to be made anywhere.
TEST(StartUp, WithoutAnyConfigurationFileStillLeavesTheLinkReadyAndSaysSoOnce) {
  WindowRig rig({3}, "LOADER" + std::string(248, 'X'));
  auto form = rig.makeForm();
  form->show();

  ASSERT_EQ(rig.dialogs.defaultErrors.size(), 1u);
  const std::string expectedCaption = "Loader" + std::string(248, 'x') + "|";
  EXPECT_EQ(rig.dialogs.defaultErrors[0].rfind(expectedCaption, 0), 0u) << rig.dialogs.defaultErrors[0];
  EXPECT_NE(rig.dialogs.defaultErrors[0].find("Не удалось создать файл конфигурации"), std::string::npos);
  EXPECT_EQ(form->Link()->PortNumber, 3);
  ExpectLinkReadyForJobs(*form->Link());
  EXPECT_TRUE(CentredOnScreen(*form));
}

TEST(Close, ThatCannotWriteTheConfigurationSaysSoAndEndsAnyway) {
  WindowRig rig;
  std::filesystem::create_directory(rig.configFile());  // a folder where the file should be
  auto form = rig.makeForm();
  form->show();
  EXPECT_TRUE(rig.dialogs.defaultErrors.empty()) << "reading it gives the defaults";

  EXPECT_TRUE(form->close());
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(rig.dialogs.defaultErrors,
            std::vector<std::string>{"vortaboot|Unable to write to " + rig.configFile().string() + "."});
}

}  // namespace
}  // namespace vortaboot::testing
