// The desktop program: one main window, unless a copy of the program runs
// already.

#include <QApplication>

#include "app/application_title.h"
#include "app/config_file_location.h"
#include "app/main_form.h"
#include "app/modal_dialogs.h"
#include "operations/read_settings_job.h"
#include "platform/executable_path.h"
#include "platform/single_instance.h"

int main(int argc, char* argv[]) {
  using namespace vortaboot;
  QApplication application(argc, argv);
  const std::filesystem::path executable = platform::executablePath();
  // The application name, not the display name: the display name would be
  // appended to every window caption.
  QApplication::setApplicationName(app::ApplicationTitle(executable));

  app::ModalDialogs dialogs;
  const auto ports = platform::makeSystemPortProvider();
  app::TMainForm form({*ports, platform::systemClock(), platform::systemPriority(), dialogs, executable,
                       app::FallbackConfigFolder(), platform::InstanceLockFolder(),
                       operations::CurrentLocalTime});
  if (!form.ShowAsOnlyInstance()) return 0;
  return QApplication::exec();
}
