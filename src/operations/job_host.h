#pragma once
// What the device jobs ask of the user interface: the progress window, the
// message boxes, the file choice and keeping the interface alive. The window,
// the command line and the tests each provide one.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vortaboot::operations {

// One per job, shown when created and gone when destroyed.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void setLabel(const std::string& text) = 0;    // ProgressLabel
  virtual void setGaugeVisible(bool visible) = 0;        // ProgressGauge
  virtual void setGauge(int percent) = 0;                // 0 to 100
  virtual void setCancelVisible(bool visible) = 0;       // BitBtn1
  virtual bool cancelRequested() const = 0;              // CancelRequested
};

class JobHost {
 public:
  virtual ~JobHost() = default;
  virtual std::unique_ptr<ProgressWindow> createProgressWindow() = 0;
  virtual void showError(const std::string& text) = 0;        // "Error" box
  virtual void showInformation(const std::string& text) = 0;  // "Information" box
  // The open dialogs: OpenDialog1 for firmware images, OpenDialog2 for
  // settings files. nullopt when the user closes them without a file.
  virtual std::optional<std::filesystem::path> chooseFirmwareFile() = 0;
  virtual std::optional<std::filesystem::path> chooseSettingsFile() = 0;
  virtual void processMessages() = 0;
};

}  // namespace vortaboot::operations
