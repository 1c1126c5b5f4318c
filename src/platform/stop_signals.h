#pragma once
// SIGINT, SIGTERM and SIGHUP ask a long-running program to stop: they set a
// flag and cut short the wait in progress, so it can save its state on the
// way out. Those that were ignored when the program started stay ignored.

namespace vortaboot::platform {

void catchStopSignals();
bool stopRequested();

}  // namespace vortaboot::platform
