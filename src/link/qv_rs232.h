#pragma once
// TQV_RS: the link object. Adds the command header, sending a frame with the
// RS-485 echo handling, receiving one reply under two time-outs, the reply
// checks and three attempts per command. Every failure is a LinkError.

#include <cstdint>

#include "link/frame_observer.h"
#include "link/qv_rs_base.h"

namespace vortaboot::link {

class TQV_RS : public TQV_RS_Base {
 public:
  static constexpr int kAttempts = 3;
  static constexpr std::uint32_t kPauseBetweenAttemptsMs = 50;
  static constexpr std::uint32_t kPauseBeforeTransactMs = 2;

  explicit TQV_RS(const LinkEnvironment& environment);

  // 0 RS-232; 1 RS-422 (or RS-485 without echo); 2 RS-485 half duplex,
  // where every frame sent comes back as an echo.
  std::uint8_t PortType = 0;
  std::uint16_t ReplyTimeout = 1000;  // ms, wait for a frame's first byte
  std::uint16_t ByteTimeout = 200;    // ms, wait for each further byte

  void SetPortType(std::uint8_t value);

  void BeginCommand(std::uint8_t address, std::uint8_t command) override;
  void Transact() override;
  void Command(std::uint8_t address, std::uint8_t command) override;

  virtual void ReceiveFrame();
  virtual void SendFrame();
  virtual void Exchange();

  void RaisePriority();
  void RestorePriority();

  // Milliseconds added to ReplyTimeout for the frame last built.
  std::uint32_t LengthAllowance() const;

  void setFrameObserver(FrameObserver* observer) { observer_ = observer; }

 private:
  bool readInto(std::uint8_t& byte);
  void waitForFirstByte();
  void receiveRemainingBytes(int length);
  [[noreturn]] void failReceive(const char* message, int received);

  platform::Priority::Saved savedPriority_;
  FrameObserver* observer_ = nullptr;
};

}  // namespace vortaboot::link
