#pragma once

namespace vortaboot::cli {

enum ExitCode : int {
  kSuccess = 0,
  kJobFailed = 1,      // what the window shows in an error box
  kUsage = 2,          // bad arguments, or a file refused before the port was opened
  kWaitExpired = 3,    // --wait ran out before the boot loader answered
  kInterrupted = 130,  // SIGINT or SIGTERM
};

}  // namespace vortaboot::cli
