#pragma once
// The jobs' user interface on a terminal: messages on the standard streams,
// progress on standard error, the file from the command line in place of the
// open dialogs, and interrupts in place of the cancel button.

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "operations/job_host.h"
#include "platform/clock.h"
#include "platform/link_ui.h"

namespace vortaboot::cli {

// Raised at the next message pump after a second interrupt.
class Interrupted : public std::runtime_error {
 public:
  Interrupted() : std::runtime_error("interrupted") {}
};

struct TerminalOptions {
  bool redrawProgress = false;             // standard error is a terminal
  std::filesystem::path file;              // the file the dialogs would ask for
  std::optional<double> waitSeconds;       // how long to wait for the boot loader
};

class TerminalHost : public operations::JobHost, public platform::LinkUi {
 public:
  TerminalHost(std::ostream& out, std::ostream& err, TerminalOptions options, platform::Clock& clock);

  std::unique_ptr<operations::ProgressWindow> createProgressWindow() override;
  void showError(const std::string& text) override;
  void showInformation(const std::string& text) override;
  std::optional<std::filesystem::path> chooseFirmwareFile() override { return options_.file; }
  std::optional<std::filesystem::path> chooseSettingsFile() override { return options_.file; }
  void processMessages() override;
  std::optional<int> choosePort(const std::vector<std::string>&, int) override { return std::nullopt; }

  // True once the wait for the boot loader outlasted --wait.
  bool waitExpired() const { return waitExpired_; }

 private:
  friend class TerminalProgress;
  bool cancelRequested();

  std::ostream& out_;
  std::ostream& err_;
  TerminalOptions options_;
  platform::Clock& clock_;
  std::optional<std::uint32_t> waitStart_;  // set while the cancel button would be shown
  bool waitExpired_ = false;
  bool interruptNoticed_ = false;
};

}  // namespace vortaboot::cli
