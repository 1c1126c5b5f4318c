#pragma once
// A main window on scripted ports, a virtual clock and scripted dialogs, with
// its executable, configuration and lock folders in a temporary folder of its
// own. The current folder, which the window changes, is put back afterwards.

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "app/main_form.h"
#include "recording_ui.h"
#include "scripted_dialogs.h"
#include "scripted_line.h"
#include "temp_folder.h"
#include "virtual_clock.h"

namespace vortaboot::testing {

class WindowRig {
 public:
  explicit WindowRig(std::set<int> presentPorts = {1}, std::string executableName = "vortaboot");
  ~WindowRig();
  WindowRig(const WindowRig&) = delete;
  WindowRig& operator=(const WindowRig&) = delete;

  app::MainFormEnvironment environment();
  std::unique_ptr<app::TMainForm> makeForm() { return std::make_unique<app::TMainForm>(environment()); }

  std::filesystem::path binFolder() const { return folder / "bin"; }
  std::filesystem::path executable() const { return binFolder() / executableName_; }
  std::filesystem::path configFile() const;
  std::filesystem::path fallbackFolder() const { return folder / "fallback"; }
  std::filesystem::path lockFolder() const { return folder / "locks"; }

  TempFolder folder;
  VirtualClock clock{1000};
  ScriptedLine line{clock};
  ScriptedPorts ports;
  RecordingPriority priority;
  ScriptedDialogs dialogs;

 private:
  std::string executableName_;
  std::filesystem::path savedCurrentFolder_;
};

// A firmware image for the simulated device: `pages` pages of 2048 bytes,
// then its 7-byte trailer.
void WriteFirmwareImage(const std::filesystem::path& file, std::size_t pages);

}  // namespace vortaboot::testing
