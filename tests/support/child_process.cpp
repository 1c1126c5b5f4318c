#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace vortaboot::testing {

using Clock = std::chrono::steady_clock;

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environment) {
  int out[2];
  int err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork");
  if (pid_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    ::setpgid(0, 0);
    for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    ::kill(pid_, SIGKILL);
    wait(std::chrono::seconds(5));
  }
  if (outFd_ >= 0) ::close(outFd_);
  if (errFd_ >= 0) ::close(errFd_);
}

bool ChildProcess::pump(std::chrono::milliseconds limit) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  const int open = (outFd_ >= 0) + (errFd_ >= 0);
  if (open == 0) return false;
  if (::poll(fds, 2, static_cast<int>(limit.count())) <= 0) return true;
  int* descriptors[2] = {&outFd_, &errFd_};
  std::string* buffers[2] = {&out_, &err_};
  for (int i = 0; i < 2; ++i) {
    if (*descriptors[i] < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
    char chunk[4096];
    const ssize_t got = ::read(*descriptors[i], chunk, sizeof chunk);
    if (got > 0) {
      buffers[i]->append(chunk, static_cast<std::size_t>(got));
    } else {
      ::close(*descriptors[i]);
      *descriptors[i] = -1;
    }
  }
  return true;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  for (;;) {
    const auto newline = out_.find('\n', lineStart_);
    if (newline != std::string::npos) {
      std::string line = out_.substr(lineStart_, newline - lineStart_);
      lineStart_ = newline + 1;
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0 || !pump(std::min(left, std::chrono::milliseconds(50)))) return std::nullopt;
  }
}

bool ChildProcess::waitForError(const std::string& text, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (err_.find(text) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0 || !pump(std::min(left, std::chrono::milliseconds(50)))) return false;
  }
  return true;
}

void ChildProcess::signal(int number) { ::kill(pid_, number); }

std::optional<int> ChildProcess::wait(std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!status_) {
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      break;
    }
    if (Clock::now() >= end) return std::nullopt;
    if (!pump(std::chrono::milliseconds(10))) ::usleep(10000);
  }
  // Whatever the process wrote before it ended; a child it left behind may
  // hold the pipes open, so this is bounded.
  const auto drained = Clock::now() + std::chrono::seconds(1);
  while (Clock::now() < drained && pump(std::chrono::milliseconds(50))) {
    if (outFd_ < 0 && errFd_ < 0) break;
  }
  return status_;
}

Finished RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
                  const std::map<std::string, std::string>& environment, std::chrono::milliseconds limit) {
  ChildProcess child(program, arguments, environment);
  Finished finished;
  finished.status = child.wait(limit);
  finished.output = child.output();
  finished.errors = child.errors();
  return finished;
}

}  // namespace vortaboot::testing
