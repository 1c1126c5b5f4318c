#include "sim_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

extern char** environ;

namespace vortaboot::sim::testing {

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  ::posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> words{VORTABOOT_SIM_PATH};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int failed = ::posix_spawn(&pid_, VORTABOOT_SIM_PATH, &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  output_ = pipeEnds[0];
  if (failed) throw std::runtime_error("cannot start " VORTABOOT_SIM_PATH);
}

SimProcess::~SimProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::close(output_);
}

std::string SimProcess::readLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string line;
  char c = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd waiting{output_, POLLIN, 0};
    if (::poll(&waiting, 1, 10) <= 0) continue;
    if (::read(output_, &c, 1) != 1) return "";
    if (c == '\n') return line;
    line += c;
  }
  return "";
}

std::optional<int> SimProcess::terminate(std::chrono::milliseconds limit) {
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

}  // namespace vortaboot::sim::testing
