#pragma once
// What the link and the device jobs ask of the desktop window: message boxes,
// the port-number and file dialogs, the progress window centred over the
// main window, and processing the window messages that wait.

#include "app/dialogs.h"
#include "operations/job_host.h"
#include "platform/link_ui.h"

class QFileDialog;
class QWidget;

namespace vortaboot::app {

struct FileDialogs {
  QFileDialog& firmware;  // OpenDialog1
  QFileDialog& settings;  // OpenDialog2
};

class WindowHost : public operations::JobHost, public platform::LinkUi {
 public:
  WindowHost(QWidget& mainWindow, Dialogs& dialogs, FileDialogs files);

  std::unique_ptr<operations::ProgressWindow> createProgressWindow() override;
  void showError(const std::string& text) override;
  void showInformation(const std::string& text) override;
  std::optional<std::filesystem::path> chooseFirmwareFile() override;
  std::optional<std::filesystem::path> chooseSettingsFile() override;
  void processMessages() override;
  std::optional<int> choosePort(const std::vector<std::string>& items, int selected) override;

 private:
  std::optional<std::filesystem::path> chooseFile(QFileDialog& dialog);

  QWidget& mainWindow_;
  Dialogs& dialogs_;
  FileDialogs files_;
};

}  // namespace vortaboot::app
