#pragma once
// The controlling end of a pseudo-terminal, for a program that plays a
// serial device. The client opens the slave device as its serial port; a
// slave descriptor of our own stays open so that the client closing and
// reopening the port never hangs up the line.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vortaboot::platform {

using Bytes = std::vector<std::uint8_t>;

class PseudoTerminal {
 public:
  // Throws std::system_error when no pseudo-terminal can be had.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& slaveName() const { return slaveName_; }

  // What arrives within `timeout`, possibly nothing. A signal ends the wait early.
  Bytes read(std::chrono::milliseconds timeout);
  // Bytes the client's side has no room for are lost, as on a real line.
  void write(const Bytes& bytes);

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
};

}  // namespace vortaboot::platform
