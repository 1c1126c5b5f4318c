#include "platform/posix/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace vortaboot::platform {
namespace {

constexpr std::pair<uint32_t, speed_t> kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool speedCode(uint32_t rate, speed_t& code) {
  for (auto [bits, value] : kSpeeds) {
    if (bits == rate) {
      code = value;
      return true;
    }
  }
  return false;
}

uint32_t speedRate(speed_t code) {
  for (auto [bits, value] : kSpeeds) {
    if (value == code) return bits;
  }
  return 0;
}

int openFlags() { return O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC; }

// An advisory lock keeps out programs that honour it, TIOCEXCL the rest
// (except the superuser, who is only kept out by the lock).
bool lockExclusively(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

void makeRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return;
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::tcsetattr(fd, TCSANOW, &tio);
}

// USB adapters otherwise hold received bytes back for their latency timer,
// which on echo-then-reply exchanges would double every transaction.
void askForLowLatency(int fd) {
#ifdef __linux__
  serial_struct serial{};
  if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
  serial.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &serial);
#else
  (void)fd;
#endif
}

tcflag_t sizeFlag(uint8_t byteSize) {
  switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

uint8_t byteSizeOf(tcflag_t cflag) {
  switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
  }
}

void applyParity(termios& tio, uint8_t parity) {
  tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
  switch (parity) {
    case 1: tio.c_cflag |= PARENB | PARODD; break;            // odd
    case 2: tio.c_cflag |= PARENB; break;                     // even
    case 3: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;   // mark
    case 4: tio.c_cflag |= PARENB | CMSPAR; break;            // space
    default: break;                                           // none
  }
}

uint8_t parityOf(tcflag_t cflag) {
  if (!(cflag & PARENB)) return 0;
  const bool odd = cflag & PARODD;
  if (cflag & CMSPAR) return odd ? 3 : 4;
  return odd ? 1 : 2;
}

void pauseBriefly() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

}  // namespace

std::unique_ptr<PosixSerialPort> PosixSerialPort::open(const std::filesystem::path& device) {
  const int fd = ::open(device.c_str(), openFlags());
  if (fd < 0) return nullptr;
  if (!lockExclusively(fd)) {
    ::close(fd);
    return nullptr;
  }
  ::ioctl(fd, TIOCEXCL);
  makeRaw(fd);
  askForLowLatency(fd);
  return std::unique_ptr<PosixSerialPort>(new PosixSerialPort(fd));
}

PosixSerialPort::~PosixSerialPort() {
  // On a pseudo-terminal the exclusive flag outlives the close and would
  // lock us out of our own next open.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
}

bool PosixSerialPort::setQueueSizes(std::size_t, std::size_t) {
  return true;  // the kernel sizes tty queues itself
}

bool PosixSerialPort::getLineState(LineState& state) {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  state.baudRate = speedRate(::cfgetospeed(&tio));
  baudRate_ = state.baudRate;
  state.byteSize = byteSizeOf(tio.c_cflag);
  state.parity = parityOf(tio.c_cflag);
  state.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 0;
  return true;
}

bool PosixSerialPort::setLineState(const LineState& state) {
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  speed_t code{};
  if (speedCode(state.baudRate, code)) {
    ::cfsetispeed(&tio, code);
    ::cfsetospeed(&tio, code);
  }
  tio.c_cflag = (tio.c_cflag & ~CSIZE) | sizeFlag(state.byteSize);
  applyParity(tio, state.parity);
  if (state.stopBits == 0) {
    tio.c_cflag &= ~CSTOPB;
  } else {
    tio.c_cflag |= CSTOPB;
  }
  return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool PosixSerialPort::setTimeouts(const Timeouts&) {
  // The descriptor is non-blocking: reads return at once with what has
  // arrived, which is the only mode the link asks for.
  return true;
}

bool PosixSerialPort::setModemLine(ModemLine line, bool on) {
  int bits = line == ModemLine::DTR ? TIOCM_DTR : TIOCM_RTS;
  return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

bool PosixSerialPort::purgeReceive() {
  receivedCount_ = receivedNext_ = expected_ = 0;
  return ::tcflush(fd_, TCIFLUSH) == 0;
}

bool PosixSerialPort::purgeTransmit() { return ::tcflush(fd_, TCOFLUSH) == 0; }

bool PosixSerialPort::takeAvailable() {
  const ssize_t got = ::read(fd_, received_.data(), received_.size());
  if (got <= 0) return false;
  receivedCount_ = static_cast<std::size_t>(got);
  receivedNext_ = 0;
  return true;
}

// True when the bytes still expected take at least a millisecond on the
// wire (10 bits a byte at the least), so that the last of them cannot
// arrive during a millisecond's pause.
bool PosixSerialPort::expectedOutlastsAPause() const {
  return baudRate_ != 0 && expected_ * 10 * 1000 >= baudRate_ + 10 * 1000;
}

// Waits up to a millisecond for bytes and takes all that have arrived. While
// the rest of a frame outlasts a millisecond, sleeping it through costs no
// time and wakes the process once for several bytes instead of once each.
bool PosixSerialPort::fillReceived() {
  if (expectedOutlastsAPause()) {
    pauseBriefly();
    return takeAvailable();
  }
  pollfd waiting{fd_, POLLIN, 0};
  const int ready = ::poll(&waiting, 1, 1);
  if (ready > 0 && (waiting.revents & POLLIN) && takeAvailable()) return true;
  // A hung-up line makes poll return at once; wait out the millisecond
  // anyway so a caller's loop never spins.
  if (ready != 0) pauseBriefly();
  return false;
}

std::size_t PosixSerialPort::readByte(std::uint8_t& byte) {
  if (receivedNext_ == receivedCount_ && !fillReceived()) return 0;
  byte = received_[receivedNext_++];
  if (expected_ > 0) --expected_;
  return 1;
}

bool PosixSerialPort::write(const std::uint8_t* data, std::size_t size) {
  constexpr int kStallLimitMs = 1000;  // a line that takes nothing for this long is gone
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written > 0) {
      data += written;
      size -= static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd waiting{fd_, POLLOUT, 0};
    if (::poll(&waiting, 1, kStallLimitMs) <= 0) return false;
  }
  return true;
}

bool deviceIsFree(const std::filesystem::path& device) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool free = lockExclusively(fd);
  ::close(fd);
  return free;
}

}  // namespace vortaboot::platform
