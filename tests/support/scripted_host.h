#pragma once
// The jobs' user interface in tests: records every change to the progress
// window and every message, and answers the file dialogs from a script.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "operations/job_host.h"

namespace vortaboot::testing {

class ScriptedHost : public operations::JobHost {
 public:
  std::unique_ptr<operations::ProgressWindow> createProgressWindow() override;
  void showError(const std::string& text) override;
  void showInformation(const std::string& text) override;
  std::optional<std::filesystem::path> chooseFirmwareFile() override;
  std::optional<std::filesystem::path> chooseSettingsFile() override;
  void processMessages() override;

  // What the dialogs answer.
  std::optional<std::filesystem::path> firmwareFile;
  std::optional<std::filesystem::path> settingsFile;
  // Runs at each box, while the job waits for the user to close it.
  std::function<void()> onMessageBox;
  std::function<void()> onPump;
  // The cancel button, as if clicked.
  bool cancelClicked = false;

  // "label:...", "gauge:12", "gauge-shown", "gauge-hidden", "cancel-shown",
  // "cancel-hidden", "window-created", "window-destroyed", "pump",
  // "dialog-firmware", "dialog-settings".
  std::vector<std::string> events;
  std::vector<std::string> errors;
  std::vector<std::string> informations;
  bool windowAlive = false;

  std::vector<int> gauges() const;
  std::vector<std::string> labels() const;
};

}  // namespace vortaboot::testing
