#include "app/desktop_program.h"

#include <QApplication>

#include "app/application_title.h"
#include "app/config_file_location.h"
#include "operations/read_settings_job.h"
#include "platform/executable_path.h"
#include "platform/single_instance.h"

namespace vortaboot::app {
namespace {

std::filesystem::path namedApplication() {
  const std::filesystem::path executable = platform::executablePath();
  // The application name, not the display name: the display name would be
  // appended to every window caption.
  QApplication::setApplicationName(ApplicationTitle(executable));
  return executable;
}

}  // namespace

DesktopProgram::DesktopProgram()
    : ports_(platform::makeSystemPortProvider()),
      form_({*ports_, platform::systemClock(), platform::systemPriority(), dialogs_, namedApplication(),
             FallbackConfigFolder(), platform::InstanceLockFolder(), operations::CurrentLocalTime}) {}

}  // namespace vortaboot::app
