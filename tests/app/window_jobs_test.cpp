// The three device jobs started from their buttons against the simulated
// device: what the user sees, what reaches the device and the disk, and
// that the window is locked while a job runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/progress_form.h"
#include "operations/settings_file.h"
#include "sim/default_settings.h"
#include "simulated_device.h"
#include "window_rig.h"

namespace vortaboot::testing {
namespace {

namespace fs = std::filesystem;

app::TProgressForm* ShownProgressWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* form = qobject_cast<app::TProgressForm*>(window);
    if (form && form->isVisible()) return form;
  }
  return nullptr;
}

std::vector<std::uint8_t> FileBytes(const fs::path& file) {
  const std::string text = ReadFileText(file);
  return {text.begin(), text.end()};
}

struct WindowJob : ::testing::Test {
  WindowJob() {
    form->show();
    rig.dialogs.onBox = [this] { whileBoxOpen(); };
  }

  void click(const char* button) { form->findChild<QPushButton*>(button)->click(); }

  // A box of a job that ends normally stands over the progress window; the
  // window is locked until the job has cleaned up.
  void whileBoxOpen() {
    progressShownAtBox = ShownProgressWindow() != nullptr;
    portOpenAtBox = form->Link()->PortHandle != nullptr;
    for (const char* name : {"bRS232", "bGetParams", "bLoadProg", "bSetParams"}) {
      EXPECT_FALSE(form->findChild<QPushButton*>(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(form->close()) << "a running job keeps the window open";
  }

  void expectIdleAfterJob() {
    EXPECT_EQ(ShownProgressWindow(), nullptr);
    EXPECT_EQ(form->findChild<app::TProgressForm*>(), nullptr);
    EXPECT_EQ(form->Link()->PortHandle, nullptr);
    EXPECT_TRUE(form->isVisible());
    for (const char* name : {"bRS232", "bGetParams", "bLoadProg", "bSetParams"}) {
      EXPECT_TRUE(form->findChild<QPushButton*>(name)->isEnabled()) << name;
    }
  }

  WindowRig rig;
  SimulatedDevice device{rig.line};
  std::unique_ptr<app::TMainForm> form = rig.makeForm();
  bool progressShownAtBox = false;
  bool portOpenAtBox = false;
};

TEST_F(WindowJob, ReadSettingsSavesTheDeviceSettingsBesideTheProgram) {
  click("bGetParams");

  EXPECT_EQ(rig.dialogs.informations,
            std::vector<std::string>{"Настройки сохранены в файл 2024_12_04_09_05.pset"});
  EXPECT_TRUE(progressShownAtBox);
  EXPECT_TRUE(portOpenAtBox);
  expectIdleAfterJob();
  const auto saved = operations::TakeSettingsFileApart(FileBytes(rig.binFolder() / "2024_12_04_09_05.pset"));
  EXPECT_EQ(saved.deviceVersion, device.device.setup.identity.deviceVersion);
  const auto& space = device.device.settings.bytes;
  EXPECT_EQ(saved.settingsData, std::vector<std::uint8_t>(space.begin() + 32, space.end()));
}

TEST_F(WindowJob, LoadFirmwareProgramsTheImageChosenInOpenDialog1) {
  WriteFirmwareImage(rig.folder / "new.rom", 3);
  rig.dialogs.firmwareFile = rig.folder / "new.rom";
  click("bLoadProg");

  EXPECT_EQ(rig.dialogs.fileDialogs,
            std::vector<std::string>{"OpenDialog1|" + rig.binFolder().string() + "|Файлы прошивок (*.rom)"});
  EXPECT_EQ(rig.dialogs.informations,
            std::vector<std::string>{
                "Загрузка окончена. Производится сброс настроек. Через 10 секуд отключите МК от компьютера."});
  EXPECT_TRUE(rig.dialogs.errors.empty());
  EXPECT_TRUE(progressShownAtBox);
  expectIdleAfterJob();
  const auto image = FileBytes(rig.folder / "new.rom");
  ASSERT_EQ(device.device.program.size(), 3u);
  for (std::uint32_t page = 0; page < 3; ++page) {
    const auto& programmed = device.device.program.at(0x8000 + 2048 * page);
    EXPECT_TRUE(std::equal(programmed.begin(), programmed.end(), image.begin() + 2048 * page)) << page;
  }
}

TEST_F(WindowJob, LoadFirmwareWithoutAChosenFileOpensNothing) {
  const auto opensBefore = rig.ports.opens.size();
  click("bLoadProg");
  EXPECT_EQ(rig.ports.opens.size(), opensBefore);
  EXPECT_TRUE(rig.dialogs.informations.empty());
  EXPECT_TRUE(rig.dialogs.errors.empty());
  expectIdleAfterJob();
}

TEST_F(WindowJob, WriteSettingsPutsASavedFileBackIntoTheDevice) {
  click("bGetParams");
  const auto original = device.device.settings.bytes;
  const sim::SettingsRange range = sim::defaultRanges().at(1);
  // A range's content, without the four bytes at its end that a write leaves.
  std::fill_n(device.device.settings.bytes.begin() + range.offset, range.length - 4, 0x5A);

  rig.dialogs.settingsFile = rig.binFolder() / "2024_12_04_09_05.pset";
  click("bSetParams");

  EXPECT_EQ(rig.dialogs.informations.back(), "Настройки записаны в МК");
  EXPECT_TRUE(rig.dialogs.errors.empty());
  EXPECT_EQ(rig.dialogs.fileDialogs.back().rfind("OpenDialog2|", 0), 0u);
  EXPECT_NE(rig.dialogs.fileDialogs.back().find("|Файлы настроек (*.pset)"), std::string::npos);
  expectIdleAfterJob();
  EXPECT_TRUE(device.device.settings.bytes == original);
}

// An error the job lets out is shown once the job has closed the port and
// taken its window down, with the period the default display adds.
TEST_F(WindowJob, AnErrorTheJobLetsOutGoesToTheDefaultDisplayAfterItsCleanUp) {
  fs::create_directory(rig.binFolder() / "2024_12_04_09_05.pset");  // the settings file cannot be made
  click("bGetParams");

  ASSERT_EQ(rig.dialogs.defaultErrors.size(), 1u);
  const std::string& shown = rig.dialogs.defaultErrors[0];
  EXPECT_EQ(shown.rfind("vortaboot|Не удалось записать файл настроек", 0), 0u) << shown;
  EXPECT_EQ(shown.back(), '.');
  EXPECT_FALSE(progressShownAtBox);
  EXPECT_FALSE(portOpenAtBox);
  EXPECT_TRUE(rig.dialogs.informations.empty());
  expectIdleAfterJob();
}

// A device that never answers keeps the job waiting until the user cancels.
TEST(WindowJobCancel, EndsTheWaitSilentlyOnTheCancelButtonOrEsc) {
  const struct {
    const char* how;
    std::function<void(app::TProgressForm&)> cancel;
  } cases[] = {
      {"Cancel clicked", [](app::TProgressForm& f) { f.findChild<QPushButton*>("BitBtn1")->click(); }},
      {"Esc pressed", [](app::TProgressForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
  };
  for (const auto& c : cases) {
    WindowRig rig;
    auto form = rig.makeForm();
    form->show();
    std::string labelAtCancel;
    QTimer::singleShot(0, [&] {
      app::TProgressForm* progress = ShownProgressWindow();
      ASSERT_NE(progress, nullptr) << c.how;
      labelAtCancel = progress->findChild<QLabel*>("ProgressLabel")->text().toStdString();
      c.cancel(*progress);
    });
    form->findChild<QPushButton*>("bGetParams")->click();

    EXPECT_EQ(labelAtCancel, "Переподключите питание МК") << c.how;
    EXPECT_TRUE(rig.dialogs.informations.empty()) << c.how;
    EXPECT_TRUE(rig.dialogs.errors.empty()) << c.how;
    EXPECT_TRUE(rig.dialogs.defaultErrors.empty()) << c.how;
    EXPECT_EQ(ShownProgressWindow(), nullptr) << c.how;
    EXPECT_EQ(form->Link()->PortHandle, nullptr) << c.how;
    EXPECT_FALSE(rig.line.writes.empty()) << c.how << ": the device was polled";
  }
}

}  // namespace
}  // namespace vortaboot::testing
