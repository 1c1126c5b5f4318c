#pragma once
// The desktop program's main window with the system's ports, clock,
// priority, dialogs and files. Made once a QApplication exists.

#include <memory>

#include "app/main_form.h"
#include "app/modal_dialogs.h"
#include "platform/serial_port.h"

namespace vortaboot::app {

class DesktopProgram {
 public:
  DesktopProgram();

  // Shows the window unless another copy of the program runs; false then.
  bool Show() { return form_.ShowAsOnlyInstance(); }

 private:
  ModalDialogs dialogs_;
  std::unique_ptr<platform::PortProvider> ports_;
  TMainForm form_;
};

}  // namespace vortaboot::app
