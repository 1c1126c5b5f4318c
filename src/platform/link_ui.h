#pragma once
// What the serial link asks of the user interface: the window toolkit in the
// desktop program, the terminal on the command line, a script in tests.

#include <optional>
#include <string>
#include <vector>

namespace vortaboot::platform {

class LinkUi {
 public:
  virtual ~LinkUi() = default;

  // Modal error box with the text unchanged.
  virtual void showError(const std::string& text) = 0;
  // Runs the handlers of pending window messages, then returns.
  virtual void processMessages() = 0;
  // The port-number dialog. `items` are listed in order, `selected` is the
  // preselected index or -1. Returns nullopt when cancelled; otherwise the
  // chosen index, or -1 when confirmed with nothing selected.
  virtual std::optional<int> choosePort(const std::vector<std::string>& items,
                                        int selected) = 0;
};

}  // namespace vortaboot::platform
