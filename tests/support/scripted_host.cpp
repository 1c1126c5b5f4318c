#include "scripted_host.h"

namespace vortaboot::testing {
namespace {

class RecordedProgress : public operations::ProgressWindow {
 public:
  explicit RecordedProgress(ScriptedHost& host) : host_(host) {
    host_.windowAlive = true;
    host_.events.push_back("window-created");
  }
  ~RecordedProgress() override {
    host_.windowAlive = false;
    host_.events.push_back("window-destroyed");
  }
  void setLabel(const std::string& text) override { host_.events.push_back("label:" + text); }
  void setGaugeVisible(bool visible) override {
    host_.events.push_back(visible ? "gauge-shown" : "gauge-hidden");
  }
  void setGauge(int percent) override { host_.events.push_back("gauge:" + std::to_string(percent)); }
  void setCancelVisible(bool visible) override {
    host_.events.push_back(visible ? "cancel-shown" : "cancel-hidden");
  }
  bool cancelRequested() const override { return host_.cancelClicked; }

 private:
  ScriptedHost& host_;
};

}  // namespace

std::unique_ptr<operations::ProgressWindow> ScriptedHost::createProgressWindow() {
  return std::make_unique<RecordedProgress>(*this);
}

void ScriptedHost::showError(const std::string& text) {
  errors.push_back(text);
  if (onMessageBox) onMessageBox();
}

void ScriptedHost::showInformation(const std::string& text) {
  informations.push_back(text);
  if (onMessageBox) onMessageBox();
}

std::optional<std::filesystem::path> ScriptedHost::chooseFirmwareFile() {
  events.push_back("dialog-firmware");
  return firmwareFile;
}

std::optional<std::filesystem::path> ScriptedHost::chooseSettingsFile() {
  events.push_back("dialog-settings");
  return settingsFile;
}

void ScriptedHost::processMessages() {
  events.push_back("pump");
  if (onPump) onPump();
}

std::vector<int> ScriptedHost::gauges() const {
  std::vector<int> values;
  for (const auto& event : events) {
    if (event.rfind("gauge:", 0) == 0) values.push_back(std::stoi(event.substr(6)));
  }
  return values;
}

std::vector<std::string> ScriptedHost::labels() const {
  std::vector<std::string> values;
  for (const auto& event : events) {
    if (event.rfind("label:", 0) == 0) values.push_back(event.substr(6));
  }
  return values;
}

}  // namespace vortaboot::testing
