#include "platform/stop_signals.h"

#include <signal.h>

#include <initializer_list>

namespace vortaboot::platform {
namespace {

volatile sig_atomic_t stopSignal = 0;

void noteStop(int signal) { stopSignal = signal; }

// A signal ignored from the start stays ignored, as the shell wants for a
// program it runs in the background: Ctrl-C then reaches the foreground only.
bool ignored(int signal) {
  struct sigaction current {};
  return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = noteStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: the pending poll returns at once
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    if (!ignored(signal)) ::sigaction(signal, &action, nullptr);
  }
}

bool stopRequested() { return stopSignal != 0; }

}  // namespace vortaboot::platform
