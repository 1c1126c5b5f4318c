#pragma once
// Link user interface and priority doubles that record what was asked of them.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/link_ui.h"
#include "platform/priority.h"

namespace vortaboot::testing {

class RecordingUi : public platform::LinkUi {
 public:
  void showError(const std::string& text) override { errors.push_back(text); }
  void processMessages() override {
    ++messagePumps;
    if (onPump) onPump();
  }
  std::optional<int> choosePort(const std::vector<std::string>& items, int selected) override {
    dialogItems = items;
    dialogSelected = selected;
    ++dialogs;
    return portChoice;
  }

  std::vector<std::string> errors;
  int messagePumps = 0;
  std::function<void()> onPump;  // runs at every message pump, as a handler would

  std::optional<int> portChoice;  // what the port dialog answers
  std::vector<std::string> dialogItems;
  int dialogSelected = -2;
  int dialogs = 0;
};

class RecordingPriority : public platform::Priority {
 public:
  Saved current() override { return level; }
  void raiseToRealtime() override {
    level = {-20, 1, 99};
    events.push_back("raise");
  }
  void restore(const Saved& saved) override {
    level = saved;
    events.push_back("restore");
  }

  Saved level;
  std::vector<std::string> events;
};

}  // namespace vortaboot::testing
