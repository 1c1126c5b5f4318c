// The link over a real pseudo-terminal, through the termios layer, with a
// small responder on the other side that behaves like an RS-485 device.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link/qv_rs232.h"
#include "platform/posix/posix_serial_port.h"
#include "recording_ui.h"

namespace vortaboot {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class PtyResponder {
 public:
  explicit PtyResponder(bool answer) : answer_(answer) {
    char name[256];
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
    slaveName_ = name;
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    thread_ = std::thread([this] { run(); });
  }
  ~PtyResponder() {
    stop_ = true;
    thread_.join();
    ::close(master_);
    ::close(slave_);
  }
  const std::string& slaveName() const { return slaveName_; }
  std::vector<Bytes> requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void run() {
    Bytes pending;
    while (!stop_) {
      pollfd waiting{master_, POLLIN, 0};
      if (::poll(&waiting, 1, 10) <= 0) continue;
      std::uint8_t chunk[256];
      const ssize_t got = ::read(master_, chunk, sizeof chunk);
      if (got <= 0) continue;
      pending.insert(pending.end(), chunk, chunk + got);
      while (!pending.empty() && pending.size() >= pending[0]) {
        Bytes frame(pending.begin(), pending.begin() + pending[0]);
        pending.erase(pending.begin(), pending.begin() + pending[0]);
        answer(frame);
      }
    }
  }
  void answer(const Bytes& frame) {
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(frame);
    }
    if (!answer_) return;
    ::write(master_, frame.data(), frame.size());  // the line's echo
    const Bytes reply{0x09, 0xF4, 0x01, 0x00, 0x00, 0x2A, 0x34, 0x12, 0x00};
    Bytes sealed = reply;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < sealed.size(); ++i) sum += sealed[i];
    sealed.back() = static_cast<std::uint8_t>((256 - sum % 256) % 256);
    ::write(master_, sealed.data(), sealed.size());
  }

  bool answer_;
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Bytes> requests_;
};

struct PtyLink : ::testing::Test {
  void start(bool answer) {
    responder = std::make_unique<PtyResponder>(answer);
    portsFolder = fs::temp_directory_path() / ("vortaboot-pty-" + std::to_string(::getpid()));
    fs::remove_all(portsFolder);
    fs::create_directories(portsFolder);
    fs::create_symlink(responder->slaveName(), portsFolder / "com1");
    ::setenv("VORTABOOT_PORTS", portsFolder.c_str(), 1);
    ports = platform::makeSystemPortProvider();
    rs = std::make_unique<link::TQV_RS>(
        link::LinkEnvironment{*ports, platform::systemClock(), platform::systemPriority(), ui});
    rs->SetBaudRate(19200);
    rs->SetPortType(2);
    rs->ReplyTimeout = 100;
    rs->SetPortOpen(true);
  }
  ~PtyLink() override {
    rs.reset();
    fs::remove_all(portsFolder);
  }

  std::unique_ptr<PtyResponder> responder;
  fs::path portsFolder;
  std::unique_ptr<platform::PortProvider> ports;
  testing::RecordingUi ui;
  std::unique_ptr<link::TQV_RS> rs;
};

TEST_F(PtyLink, IdentifyCrossesTheLineAndTheReplyIsRead) {
  start(true);
  ASSERT_TRUE(rs->PortHandle) << "the pseudo-terminal opened as COM1";
  EXPECT_EQ(rs->BaudRate, 19200u);
  rs->Command(link::BootAddress, link::Identify);
  EXPECT_EQ(responder->requests(), std::vector<Bytes>{(Bytes{0x06, 0xF4, 0x01, 0x00, 0x01, 0x04})});
  EXPECT_EQ(rs->ReadByte(), 0x2A);
  EXPECT_EQ(rs->ReadWord(), 0x1234);
}

TEST_F(PtyLink, PortIsExclusiveWhileOpenAndCanBeOpenedAgainAfterClosing) {
  start(true);
  ASSERT_TRUE(rs->PortHandle);
  EXPECT_FALSE(ports->probe(1));
  EXPECT_EQ(ports->open(1), nullptr);
  for (int i = 0; i < 3; ++i) {
    rs->SetPortOpen(true);  // closes and reopens, as the job's wait does
    ASSERT_TRUE(rs->PortHandle) << "reopen " << i;
  }
  rs->SetPortOpen(false);
  EXPECT_TRUE(ports->probe(1));
}

double threadCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST_F(PtyLink, WaitingForAReplyThatNeverComesLeavesTheProcessorIdle) {
  start(false);
  ASSERT_TRUE(rs->PortHandle);
  const auto wallStart = std::chrono::steady_clock::now();
  const double cpuStart = threadCpuSeconds();
  EXPECT_THROW(rs->Command(link::BootAddress, link::Identify), link::LinkError);
  const double cpu = threadCpuSeconds() - cpuStart;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  EXPECT_GT(wall, 0.6) << "three attempts, each waiting for an echo and a reply";
  EXPECT_LT(cpu, 0.1 * wall) << "cpu " << cpu << " s over " << wall << " s";
  EXPECT_EQ(responder->requests().size(), 3u);
}

}  // namespace
}  // namespace vortaboot
