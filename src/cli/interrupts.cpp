#include "cli/interrupts.h"

#include <csignal>

namespace vortaboot::cli {
namespace {

volatile std::sig_atomic_t interrupts = 0;

extern "C" void countInterrupt(int) {
  if (interrupts < 2) interrupts = interrupts + 1;
}

}  // namespace

void InstallInterruptHandlers() {
  std::signal(SIGINT, countInterrupt);
  std::signal(SIGTERM, countInterrupt);
}

int InterruptCount() { return interrupts; }

}  // namespace vortaboot::cli
