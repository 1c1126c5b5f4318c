#include "platform/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace vortaboot::platform {
namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

void makeRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) fail("tcgetattr");
  ::cfmakeraw(&tio);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) fail("tcsetattr");
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    ::close(master_);
    fail("unlockpt");
  }
  slaveName_ = ::ptsname(master_);
  slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    ::close(master_);
    fail(slaveName_.c_str());
  }
  makeRaw(slave_);
}

PseudoTerminal::~PseudoTerminal() {
  ::close(slave_);
  ::close(master_);
}

Bytes PseudoTerminal::read(std::chrono::milliseconds timeout) {
  pollfd waiting{master_, POLLIN, 0};
  if (::poll(&waiting, 1, static_cast<int>(timeout.count())) <= 0) return {};
  Bytes chunk(4096);
  const ssize_t got = ::read(master_, chunk.data(), chunk.size());
  chunk.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return chunk;
}

void PseudoTerminal::write(const Bytes& bytes) {
  if (!bytes.empty()) (void)!::write(master_, bytes.data(), bytes.size());
}

}  // namespace vortaboot::platform
