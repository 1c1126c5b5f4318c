#include "sim/posix/stop_signals.h"

#include <signal.h>

#include <initializer_list>

namespace vortaboot::sim {
namespace {

volatile sig_atomic_t stopSignal = 0;

void noteStop(int signal) { stopSignal = signal; }

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = noteStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: the pending poll returns at once
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool stopRequested() { return stopSignal != 0; }

}  // namespace vortaboot::sim
