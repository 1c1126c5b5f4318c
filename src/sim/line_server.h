#pragma once
// Serves the device on the line: every request is echoed as an RS-485 line
// does (unless told not to), then the device's reply follows, all bytes
// leaving at the pace the line is set to.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "sim/boot_device.h"
#include "sim/frame_assembler.h"
#include "sim/frame_log.h"
#include "sim/paced_output.h"
#include "platform/pseudo_terminal.h"

namespace vortaboot::sim {

struct LineBehaviour {
  bool echo = true;
  std::optional<std::uint32_t> paceBaud;
};

class LineServer {
 public:
  LineServer(platform::PseudoTerminal& terminal, BootDevice& device, LineBehaviour behaviour,
             FrameLog* log);

  // Returns once `stop` says so; it is asked at least every 20 ms.
  void serveUntil(const std::function<bool()>& stop);

 private:
  using TimePoint = std::chrono::steady_clock::time_point;

  void receive(const Bytes& bytes, TimePoint now);
  void answer(const Bytes& request, TimePoint now);
  std::chrono::milliseconds wait(TimePoint now) const;
  void note(std::string_view direction, const Bytes& bytes, TimePoint at);

  platform::PseudoTerminal& terminal_;
  BootDevice& device_;
  bool echo_;
  PacedOutput output_;
  FrameAssembler assembler_;
  FrameLog* log_;
};

}  // namespace vortaboot::sim
