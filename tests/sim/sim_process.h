#pragma once
// The vortaboot-sim executable run as a child process, its standard output
// read through a pipe.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vortaboot::sim::testing {

class SimProcess {
 public:
  // Starts the executable with `arguments`; the environment is ours.
  explicit SimProcess(const std::vector<std::string>& arguments);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The first line it prints, without its line break; empty when none comes
  // within `limit`.
  std::string readLine(std::chrono::milliseconds limit);
  // Sends SIGTERM and waits up to `limit` for the end: the exit status, or
  // nullopt when it did not end normally in time (it is then killed).
  std::optional<int> terminate(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

}  // namespace vortaboot::sim::testing
