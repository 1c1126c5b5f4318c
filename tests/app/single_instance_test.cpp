// Only one copy of the program runs per executable file name: a second copy
// tells the user and ends without touching the configuration file.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>

#include "app/just_one.h"
#include "temp_folder.h"
#include "window_rig.h"

namespace vortaboot::testing {
namespace {

namespace fs = std::filesystem;

TEST(SecondInstance, TellsTheUserAndEndsWithoutWritingTheConfiguration) {
  WindowRig rig;
  auto first = rig.makeForm();  // holds the name from its creation on
  auto second = rig.makeForm();

  EXPECT_FALSE(second->ShowAsOnlyInstance());
  EXPECT_EQ(rig.dialogs.informations, std::vector<std::string>{"Программа уже запущена."});
  EXPECT_FALSE(second->isVisible());
  EXPECT_EQ(second->Link(), nullptr);
  second->close();
  second.reset();
  EXPECT_FALSE(fs::exists(rig.configFile()));

  EXPECT_TRUE(first->ShowAsOnlyInstance()) << "the first goes on undisturbed";
  EXPECT_TRUE(first->isVisible());
}

TEST(SecondInstance, ThatCannotCheckForAnotherCopySaysWhyAndEnds) {
  WindowRig rig;
  WriteFileText(rig.folder / "not-a-folder", "");
  auto environment = rig.environment();
  environment.instanceLockFolder = rig.folder / "not-a-folder";
  app::TMainForm form(environment);

  EXPECT_FALSE(form.ShowAsOnlyInstance());
  ASSERT_EQ(rig.dialogs.errors.size(), 1u);
  EXPECT_EQ(rig.dialogs.errors[0].rfind("Не удалось проверить, не запущена ли программа уже: ", 0), 0u);
  EXPECT_NE(rig.dialogs.errors[0].find("not-a-folder"), std::string::npos);
  EXPECT_TRUE(rig.dialogs.informations.empty());
  EXPECT_FALSE(fs::exists(rig.configFile()));
}

// The name is the executable's file name, wherever the file lies.
TEST(SecondInstance, IsAnotherCopyOnlyWhenTheExecutableFileNameIsTheSame) {
  const struct {
    const char* other;
    bool runs;
  } cases[] = {
      {"bin/vortaboot", false},
      {"elsewhere/vortaboot", false},
      {"bin/vortaboot-copy", true},
  };
  for (const auto& c : cases) {
    WindowRig rig;
    auto first = rig.makeForm();
    auto environment = rig.environment();
    environment.executablePath = rig.folder / c.other;
    fs::create_directories(environment.executablePath.parent_path());
    app::TMainForm second(environment);
    EXPECT_EQ(second.ShowAsOnlyInstance(), c.runs) << c.other;
    second.close();
  }
}

TEST(JustOne, LetsTheNameGoWhenItEnds) {
  TempFolder folder;
  auto first = std::make_unique<app::TJustOne>("/x/vortaboot", folder.path(), nullptr);
  ASSERT_TRUE(first->Owned());
  EXPECT_FALSE(app::TJustOne("/y/vortaboot", folder.path(), nullptr).Owned());
  first.reset();
  EXPECT_TRUE(app::TJustOne("/y/vortaboot", folder.path(), nullptr).Owned());
}

TEST(JustOne, MakesAMissingLockFolderForTheUserAlone) {
  TempFolder folder;
  const fs::path locks = folder / "runtime";
  app::TJustOne guard("/x/vortaboot", locks, nullptr);
  EXPECT_TRUE(guard.Owned());
  EXPECT_EQ(fs::status(locks).permissions(), fs::perms::owner_all);
}

TEST(JustOne, RefusesALockFolderOfAnotherUser) {
  TempFolder folder;
  const fs::path locks = folder / "foreign";
  fs::create_directory(locks);
  QProcess chown;
  chown.start("chown", {"65534", QString::fromStdString(locks.string())});
  if (!chown.waitForFinished() || chown.exitCode() != 0) GTEST_SKIP() << "cannot give a folder away here";
  app::TJustOne guard("/x/vortaboot", locks, nullptr);
  EXPECT_FALSE(guard.Owned());
  EXPECT_FALSE(guard.Failure().empty());
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QThread::msleep(20);
  }
  return true;
}

// The real program, copied to a folder of its own, on a display of its own,
// with a plain file for its one COM port so that no box holds its start-up.
TEST(JustOne, IsReleasedByTheSystemWhenTheHoldingProgramDies) {
  TempFolder folder;
  const fs::path program = folder / "vortaboot";
  fs::copy_file(VORTABOOT_PROGRAM, program);
  fs::create_directory(folder / "ports");
  WriteFileText(folder / "ports" / "com1", "");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((folder / "runtime").string()));
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString((folder / "config").string()));
  environment.insert("VORTABOOT_PORTS", QString::fromStdString((folder / "ports").string()));
  QProcess running;
  running.setProcessEnvironment(environment);
  running.start(QString::fromStdString(program.string()), {});
  ASSERT_TRUE(running.waitForStarted());
  // Its configuration file appears once the window shows, after the lock.
  ASSERT_TRUE(WaitFor([&] { return fs::exists(folder / "vortaboot.ini"); }));

  EXPECT_FALSE(app::TJustOne("/elsewhere/vortaboot", folder / "runtime", nullptr).Owned());
  running.kill();
  running.waitForFinished();
  EXPECT_TRUE(app::TJustOne("/elsewhere/vortaboot", folder / "runtime", nullptr).Owned());
}

}  // namespace
}  // namespace vortaboot::testing
