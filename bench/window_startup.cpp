// How fast the desktop window comes up and how much memory it holds when
// idle: the same start-up as the program, then one idle second.
//
//   vortaboot-window-bench LAUNCH_NS   (LAUNCH_NS: the wall clock, in
//   nanoseconds since the epoch, just before this program was started)

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>

#include "app/desktop_program.h"

namespace {

long long nowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// The process's peak resident memory, as the kernel reports it.
long peakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace vortaboot;
  if (argc != 2) {
    std::cerr << "usage: vortaboot-window-bench LAUNCH_NS\n";
    return 2;
  }
  const long long launched = std::stoll(argv[1]);
  QApplication application(argc, argv);
  app::DesktopProgram program;
  if (!program.Show()) return 1;
  long long shown = 0;
  QTimer::singleShot(0, [&] { shown = nowNs(); });
  QTimer::singleShot(1000, [] { QApplication::quit(); });
  QApplication::exec();
  std::cout << "shown_ms " << (shown - launched) / 1000000.0 << "\npeak_rss_kib " << peakResidentKiB() << "\n";
  return 0;
}
