#pragma once
// SIGINT, SIGTERM and SIGHUP ask the simulator to stop: they set a flag and
// cut short the wait in progress, so the memories are saved on the way out.
// Those that were ignored when the program started stay ignored.

namespace vortaboot::sim {

void catchStopSignals();
bool stopRequested();

}  // namespace vortaboot::sim
