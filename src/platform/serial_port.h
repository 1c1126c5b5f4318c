#pragma once
// A narrow serial-port interface: what the link needs of an open COM port.
// Every call reports success; callers decide whether to look at it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vortaboot::platform {

// Line state in the codes the link keeps: parity 0 none, 1 odd, 2 even,
// 3 mark, 4 space; stop bits 0 one, 1 one and a half, 2 two.
struct LineState {
  uint32_t baudRate = 0;
  uint8_t byteSize = 8;
  uint8_t parity = 0;
  uint8_t stopBits = 0;
};

constexpr uint32_t kNoWait = 0xFFFFFFFFu;

// Time-outs in milliseconds. A read interval of kNoWait with zero totals
// means a read returns at once with what has arrived, possibly nothing.
struct Timeouts {
  uint32_t readInterval = 0;
  uint32_t readTotalMultiplier = 0;
  uint32_t readTotalConstant = 0;
  uint32_t writeTotalMultiplier = 0;
  uint32_t writeTotalConstant = 0;
};

enum class ModemLine { DTR, RTS };

// One open port. Destroying the object closes it.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual bool setQueueSizes(std::size_t input, std::size_t output) = 0;
  virtual bool getLineState(LineState& state) = 0;
  virtual bool setLineState(const LineState& state) = 0;
  virtual bool setTimeouts(const Timeouts& timeouts) = 0;
  virtual bool setModemLine(ModemLine line, bool on) = 0;
  virtual bool purgeReceive() = 0;
  virtual bool purgeTransmit() = 0;

  // Reads at most one byte and returns how many were read (0 or 1). When
  // nothing is waiting it may block for about a millisecond, never longer,
  // so that callers polling in a loop do not spin the processor.
  virtual std::size_t readByte(std::uint8_t& byte) = 0;

  // A hint that `count` more bytes of the frame being read are on their way.
  // A port may then collect them in fewer wake-ups; every read still waits
  // no longer than about a millisecond.
  virtual void expectBytes(std::size_t count) = 0;

  // Writes the whole buffer, returning once it has been handed to the driver.
  virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
};

// The COM ports 1 to 32 and the devices behind them.
class PortProvider {
 public:
  virtual ~PortProvider() = default;

  // True when COMn could be opened exclusively right now; closes it again.
  virtual bool probe(int comNumber) = 0;
  // Opens COMn exclusively for reading and writing; nullptr on failure.
  virtual std::unique_ptr<SerialPort> open(int comNumber) = 0;
  // The device COMn stands for, for listings; empty when unmapped.
  virtual std::string deviceName(int comNumber) = 0;
};

std::unique_ptr<PortProvider> makeSystemPortProvider();

}  // namespace vortaboot::platform
