// The COM-port button: the port-number dialog over the ports found now, the
// choice kept in the link, and the port closed again afterwards.

#include <gtest/gtest.h>

#include <QPushButton>

#include "window_rig.h"

namespace vortaboot::testing {
namespace {

TEST(ComPortButton, KeepsTheChoiceOnOkAndTheCurrentPortOtherwiseAndLeavesThePortClosed) {
  const struct {
    const char* how;
    std::optional<int> answer;
    int port;
  } cases[] = {
      {"OK on COM12", 2, 12},
      {"OK on COM1", 0, 1},
      {"OK with nothing selected", -1, 3},
      {"Cancel", std::nullopt, 3},
  };
  for (const auto& c : cases) {
    WindowRig rig({1, 3, 12});
    WriteFileText(rig.configFile(), "[RS232]\r\nPort=3\r\n");
    auto form = rig.makeForm();
    form->show();
    rig.dialogs.portChoice = c.answer;
    form->findChild<QPushButton*>("bRS232")->click();

    EXPECT_EQ(rig.dialogs.portItems, (std::vector<std::string>{"COM1", "COM3", "COM12"})) << c.how;
    EXPECT_EQ(rig.dialogs.portSelected, 1) << c.how;
    EXPECT_EQ(form->Link()->PortNumber, c.port) << c.how;
    EXPECT_EQ(form->Link()->PortHandle, nullptr) << c.how;
    EXPECT_EQ(rig.ports.opens.back(), c.port) << c.how << ": the chosen port was opened, then closed";
  }
}

TEST(ComPortButton, WithoutAnyPortSaysSoAndShowsNoDialog) {
  WindowRig rig(std::set<int>{});
  auto form = rig.makeForm();
  form->show();
  EXPECT_EQ(rig.dialogs.errors, std::vector<std::string>{"Нет свободного COM-порта!"}) << "at start-up";

  form->findChild<QPushButton*>("bRS232")->click();
  EXPECT_EQ(rig.dialogs.errors.size(), 2u);
  EXPECT_EQ(rig.dialogs.errors.back(), "Нет свободного COM-порта!");
  EXPECT_EQ(rig.dialogs.portDialogs, 0);
  EXPECT_EQ(form->Link()->PortNumber, 0);
}

}  // namespace
}  // namespace vortaboot::testing
