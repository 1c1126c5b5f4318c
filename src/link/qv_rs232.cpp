#include "link/qv_rs232.h"

#include <optional>
#include <span>

#include "link/link_error.h"
#include "link/link_messages.h"
#include "link/round_half_even.h"

namespace vortaboot::link {
namespace {

constexpr int kShortestReply = 6;

// Puts RTS down and the priority back however an RS-485 send ends.
class Rs485Transmission {
 public:
  explicit Rs485Transmission(TQV_RS& link) : link_(link) {
    link_.SetRTS();
    link_.RaisePriority();
  }
  ~Rs485Transmission() {
    link_.ClearRTS();
    link_.RestorePriority();
  }
  Rs485Transmission(const Rs485Transmission&) = delete;
  Rs485Transmission& operator=(const Rs485Transmission&) = delete;

 private:
  TQV_RS& link_;
};

}  // namespace

TQV_RS::TQV_RS(const LinkEnvironment& environment) : TQV_RS_Base(environment) {
  BaudRate = 115200;
  ByteSize = 8;
  Parity = 0;
  StopBits = 2;
  ReplyTimeout = 1000;
  ByteTimeout = 200;
  SectionName = "RS232";
}

void TQV_RS::SetPortType(std::uint8_t value) { PortType = value <= 2 ? value : 0; }

void TQV_RS::BeginCommand(std::uint8_t address, std::uint8_t command) {
  BeginFrame();
  AddByte(address);
  AddWord(1);
  AddByte(command);
}

void TQV_RS::Command(std::uint8_t address, std::uint8_t command) {
  BeginCommand(address, command);
  Transact();
}

void TQV_RS::RaisePriority() {
  savedPriority_ = environment_.priority.current();
  environment_.priority.raiseToRealtime();
}

void TQV_RS::RestorePriority() { environment_.priority.restore(savedPriority_); }

std::uint32_t TQV_RS::LengthAllowance() const {
  if (BaudRate == 0) return 0;
  return static_cast<std::uint32_t>(RoundHalfEven(9600.0 * TxLength / BaudRate));
}

bool TQV_RS::readInto(std::uint8_t& byte) { return PortHandle && PortHandle->readByte(byte) == 1; }

[[noreturn]] void TQV_RS::failReceive(const char* message, int received) {
  if (observer_ && received > 0) observer_->frameReceived(std::span(RxBuffer.data(), received));
  throw LinkError(message);
}

void TQV_RS::waitForFirstByte() {
  const std::uint32_t start = environment_.clock.tickCount();
  const std::uint32_t limit = ReplyTimeout + LengthAllowance();
  for (;;) {
    const bool received = readInto(RxBuffer[0]);
    const std::uint32_t now = environment_.clock.tickCount();
    environment_.ui.processMessages();
    if (received) return;
    if (platform::elapsedSince(start, now) > limit) failReceive(message::kNoConnection, 0);
    environment_.clock.sleep(1);
  }
}

void TQV_RS::receiveRemainingBytes(int length) {
  if (PortHandle) PortHandle->expectBytes(static_cast<std::size_t>(length - 1));
  for (int i = 1; i < length; ++i) {
    const std::uint32_t start = environment_.clock.tickCount();
    bool received = false;
    std::uint32_t now = start;
    do {
      environment_.ui.processMessages();
      received = readInto(RxBuffer[i]);
      now = environment_.clock.tickCount();
    } while (!received && platform::elapsedSince(start, now) <= ByteTimeout);
    if (!received) failReceive(message::kByteDelay, i);
  }
}

void TQV_RS::ReceiveFrame() {
  waitForFirstByte();
  const int length = RxBuffer[0];
  if (length < kShortestReply) failReceive(message::kNoConnection, 1);
  receiveRemainingBytes(length);
  if (!CheckReply()) failReceive(message::kBadChecksum, length);
  if (observer_) observer_->frameReceived(std::span(RxBuffer.data(), length));
}

void TQV_RS::SendFrame() {
  const bool rs485 = PortType == 2;
  std::optional<Rs485Transmission> transmission;
  if (rs485) transmission.emplace(*this);
  const int length = TxBuffer[0] == 0 ? kMaxFrame : TxBuffer[0];
  if (PortHandle) {
    PortHandle->purgeReceive();
    PortHandle->purgeTransmit();
    PortHandle->write(TxBuffer.data(), static_cast<std::size_t>(length));
  }
  if (observer_) observer_->frameSent(std::span(TxBuffer.data(), length));
  if (!rs485) return;
  try {
    ReceiveFrame();  // our own frame, echoed by the half-duplex line
  } catch (const LinkError&) {
    // A missing or garbled echo is no reason to miss the reply.
  }
}

void TQV_RS::Exchange() {
  SendFrame();
  ReceiveFrame();
  if (RxBuffer[1] == 0 && RxBuffer[2] == 0 && RxBuffer[3] == 0) throw LinkError(message::kEmptyHeader);
  if (RxBuffer[4] == 255) throw LinkError(message::kBusy);
}

void TQV_RS::Transact() {
  FinishFrame();
  if (PortType != 0) environment_.clock.sleep(kPauseBeforeTransactMs);
  for (int attempt = 1;; ++attempt) {
    try {
      Exchange();
      RxPosition = 5;
      return;
    } catch (const LinkError&) {
      if (attempt == kAttempts) throw;
    }
    environment_.clock.sleep(kPauseBetweenAttemptsMs);
  }
}

}  // namespace vortaboot::link
