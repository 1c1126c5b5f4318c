#pragma once
// SIGINT and SIGTERM: the first asks the job to stop where it safely can,
// the second stops it at once.

namespace vortaboot::cli {

void InstallInterruptHandlers();
int InterruptCount();

}  // namespace vortaboot::cli
