#pragma once
// Everything the main window takes from outside: the system's ports, clock
// and priority in the program, scripted ones in tests.

#include <filesystem>
#include <functional>

#include "app/dialogs.h"
#include "operations/settings_file_name.h"
#include "platform/clock.h"
#include "platform/priority.h"
#include "platform/serial_port.h"

namespace vortaboot::app {

struct MainFormEnvironment {
  platform::PortProvider& ports;
  platform::Clock& clock;
  platform::Priority& priority;
  Dialogs& dialogs;
  std::filesystem::path executablePath;
  std::filesystem::path configFallbackFolder;  // where the configuration goes when not beside the executable
  std::filesystem::path instanceLockFolder;
  std::function<operations::LocalDateTime()> localTime;  // names new settings files
};

}  // namespace vortaboot::app
