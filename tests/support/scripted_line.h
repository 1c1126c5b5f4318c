#pragma once
// A simulated serial line on virtual time: it records what the program does
// to the port and delivers bytes at the moments a script or a peer asks.
//
// Reading follows the real port: a byte whose moment has come is returned;
// otherwise the read waits up to 1 ms of virtual time for the next one.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "virtual_clock.h"

namespace vortaboot::testing {

using Bytes = std::vector<std::uint8_t>;

class ScriptedLine {
 public:
  explicit ScriptedLine(VirtualClock& clock) : clock_(clock) {}

  // Bytes arriving at `at`, then one every `gapMs` milliseconds.
  void deliver(const Bytes& bytes, std::uint32_t at, std::uint32_t gapMs = 0);
  // Bytes arriving `delayMs` from now.
  void deliverIn(const Bytes& bytes, std::uint32_t delayMs, std::uint32_t gapMs = 0);

  // Replies given in turn to the frames written (echo excluded); nullopt is
  // a frame left unanswered. Used when no peer is set.
  void scriptReplies(std::vector<std::optional<Bytes>> replies, std::uint32_t delayMs = 5);
  // Called with every frame written, at the moment of writing.
  std::function<void(const Bytes&)> peer;
  // An RS-485 line returns every frame written right away.
  bool echo = false;

  // What the program did.
  std::vector<Bytes> writes;
  std::vector<std::uint32_t> writeTimes;
  std::vector<std::string> events;  // "open", "close", "purge-rx", "rts+", ...
  platform::LineState lineState{9600, 8, 0, 0};
  std::set<std::uint32_t> acceptedRates{9600, 19200, 38400, 57600, 115200};
  bool readable = true;  // false: the line state cannot be read or written

  // Used by ScriptedPort.
  std::size_t readByte(std::uint8_t& byte);
  void write(const std::uint8_t* data, std::size_t size);
  void purgeReceive();
  std::size_t pending() const { return arrivals_.size(); }
  VirtualClock& clock() { return clock_; }

 private:
  struct Arrival {
    std::uint32_t at;
    std::uint8_t byte;
  };
  VirtualClock& clock_;
  std::deque<Arrival> arrivals_;
  std::deque<std::optional<Bytes>> script_;
  std::uint32_t scriptDelayMs_ = 5;
};

// An open handle on a ScriptedLine.
class ScriptedPort : public platform::SerialPort {
 public:
  explicit ScriptedPort(ScriptedLine& line);
  ~ScriptedPort() override;
  bool setQueueSizes(std::size_t input, std::size_t output) override;
  bool getLineState(platform::LineState& state) override;
  bool setLineState(const platform::LineState& state) override;
  bool setTimeouts(const platform::Timeouts& timeouts) override;
  bool setModemLine(platform::ModemLine line, bool on) override;
  bool purgeReceive() override;
  bool purgeTransmit() override;
  std::size_t readByte(std::uint8_t& byte) override;
  void expectBytes(std::size_t) override {}
  bool write(const std::uint8_t* data, std::size_t size) override;

 private:
  ScriptedLine& line_;
};

// COM ports backed by scripted lines. A port listed as present but without
// a line can be probed but not opened (a port another program holds).
class ScriptedPorts : public platform::PortProvider {
 public:
  void attach(int comNumber, ScriptedLine& line);
  std::set<int> present;

  bool probe(int comNumber) override;
  std::unique_ptr<platform::SerialPort> open(int comNumber) override;
  std::string deviceName(int comNumber) override;

  std::vector<int> probes;
  std::vector<int> opens;

 private:
  std::map<int, ScriptedLine*> lines_;
};

}  // namespace vortaboot::testing
