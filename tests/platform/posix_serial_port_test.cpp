// The termios port on a pseudo-terminal pair.

#include "platform/posix/posix_serial_port.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace vortaboot::platform {
namespace {

struct PtyPair : ::testing::Test {
  PtyPair() {
    char name[256];
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    port = PosixSerialPort::open(name);
  }
  ~PtyPair() override {
    port.reset();
    ::close(master);
    ::close(slave);
  }
  void send(const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::vector<std::uint8_t> readAll() {
    std::vector<std::uint8_t> got;
    std::uint8_t byte = 0;
    for (int idle = 0; idle < 20;) {
      if (port->readByte(byte) == 1) {
        got.push_back(byte);
        idle = 0;
      } else {
        ++idle;
      }
    }
    return got;
  }

  int master = -1;
  int slave = -1;
  std::unique_ptr<PosixSerialPort> port;
};

TEST_F(PtyPair, PurgeDropsBytesAlreadyTakenFromTheDriver) {
  ASSERT_TRUE(port);
  send({1, 2, 3, 4, 5});
  std::uint8_t byte = 0;
  ASSERT_EQ(port->readByte(byte), 1u);
  EXPECT_EQ(byte, 1);
  port->purgeReceive();
  send({9});
  EXPECT_EQ(readAll(), std::vector<std::uint8_t>{9});
}

TEST_F(PtyPair, ExpectedBytesArriveWholeAndInOrder) {
  ASSERT_TRUE(port);
  std::vector<std::uint8_t> frame(38);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 3);
  port->expectBytes(frame.size());
  std::thread writer([&] {
    for (std::uint8_t b : frame) {
      ::write(master, &b, 1);
      std::this_thread::sleep_for(std::chrono::microseconds(573));  // 19200 baud, 11 bits
    }
  });
  const auto got = readAll();
  writer.join();
  EXPECT_EQ(got, frame);
}

// A pseudo-terminal keeps 8 data bits without parity whatever it is told,
// so only the rate and the stop bits can be seen to change here.
TEST_F(PtyPair, RateAndStopBitsAreReadBackAsSet) {
  ASSERT_TRUE(port);
  for (auto [rate, stopBits] : {std::pair<std::uint32_t, std::uint8_t>{19200, 2}, {115200, 0}}) {
    LineState state;
    ASSERT_TRUE(port->getLineState(state));
    state.baudRate = rate;
    state.stopBits = stopBits;
    ASSERT_TRUE(port->setLineState(state));
    LineState read;
    ASSERT_TRUE(port->getLineState(read));
    EXPECT_EQ(read.baudRate, rate);
    EXPECT_EQ(read.stopBits, stopBits);
  }
}

}  // namespace
}  // namespace vortaboot::platform
