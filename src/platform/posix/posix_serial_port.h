#pragma once
// SerialPort over a termios file descriptor.

#include <array>
#include <filesystem>
#include <memory>

#include "platform/serial_port.h"

namespace vortaboot::platform {

class PosixSerialPort : public SerialPort {
 public:
  // Opens `device` exclusively for reading and writing in raw mode;
  // nullptr when it cannot be opened or another program holds it.
  static std::unique_ptr<PosixSerialPort> open(const std::filesystem::path& device);
  ~PosixSerialPort() override;

  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool setQueueSizes(std::size_t input, std::size_t output) override;
  bool getLineState(LineState& state) override;
  bool setLineState(const LineState& state) override;
  bool setTimeouts(const Timeouts& timeouts) override;
  bool setModemLine(ModemLine line, bool on) override;
  bool purgeReceive() override;
  bool purgeTransmit() override;
  std::size_t readByte(std::uint8_t& byte) override;
  void expectBytes(std::size_t count) override { expected_ = count; }
  bool write(const std::uint8_t* data, std::size_t size) override;

 private:
  explicit PosixSerialPort(int fd) : fd_(fd) {}
  bool fillReceived();
  bool takeAvailable();
  bool expectedOutlastsAPause() const;

  int fd_;
  // Bytes taken from the driver but not yet handed out: one read call
  // serves a burst, which keeps the processor idle at line speed.
  std::array<std::uint8_t, 256> received_{};
  std::size_t receivedCount_ = 0;
  std::size_t receivedNext_ = 0;
  std::size_t expected_ = 0;  // bytes still to come of the frame being read
  std::uint32_t baudRate_ = 0;
};

// True when `device` can be opened and locked right now; releases it again.
bool deviceIsFree(const std::filesystem::path& device);

}  // namespace vortaboot::platform
