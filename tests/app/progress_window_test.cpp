// The progress window as a job gets it from the window: over the main
// window, on top, without border icons, and cancelled only by its button.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include "app/progress_form.h"
#include "app/window_host.h"
#include "scripted_dialogs.h"

namespace vortaboot::app {
namespace {

struct HostRig {
  HostRig() {
    mainWindow.setFixedSize(810, 249);
    mainWindow.move(37, 90);
    mainWindow.show();
  }
  QWidget mainWindow;
  QFileDialog firmware;
  QFileDialog settings;
  testing::ScriptedDialogs dialogs;
  WindowHost host{mainWindow, dialogs, {firmware, settings}};
};

TEST(ProgressWindow, OpensWithoutBlockingCentredOverTheMainWindowAndStaysOnTop) {
  HostRig rig;
  auto window = rig.host.createProgressWindow();
  auto* form = dynamic_cast<TProgressForm*>(window.get());
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isModal());
  const QPoint offset = form->frameGeometry().center() - rig.mainWindow.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 1);
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(window->cancelRequested());

  window.reset();
  EXPECT_EQ(rig.mainWindow.findChild<TProgressForm*>(), nullptr) << "gone with the job's handle";
}

// What the user can do to the window, and whether the job then sees a cancel.
TEST(ProgressWindow, IsCancelledByItsButtonOrEscWhileTheButtonShowsAndByNothingElse) {
  const struct {
    const char* what;
    bool cancelShown;
    std::function<void(TProgressForm&)> act;
    bool cancelled;
  } cases[] = {
      {"click on Cancel", true, [](TProgressForm& f) { f.findChild<QPushButton*>("BitBtn1")->click(); }, true},
      {"Esc", true, [](TProgressForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }, true},
      {"Esc with the button hidden", false, [](TProgressForm& f) { QTest::keyClick(&f, Qt::Key_Escape); },
       false},
      {"closing the window", true, [](TProgressForm& f) { f.close(); }, false},
  };
  for (const auto& c : cases) {
    HostRig rig;
    auto window = rig.host.createProgressWindow();
    window->setCancelVisible(c.cancelShown);
    auto& form = dynamic_cast<TProgressForm&>(*window);
    c.act(form);
    EXPECT_EQ(window->cancelRequested(), c.cancelled) << c.what;
    EXPECT_TRUE(form.isVisible()) << c.what << ": the window stays until the job ends";
  }
}

}  // namespace
}  // namespace vortaboot::app
