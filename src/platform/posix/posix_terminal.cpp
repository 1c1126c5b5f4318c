#include <unistd.h>

#include "platform/terminal.h"

namespace vortaboot::platform {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace vortaboot::platform
