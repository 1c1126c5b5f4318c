#include "link/qv_bi.h"

#include <stdexcept>

#include "link/link_error.h"
#include "link/link_messages.h"

namespace vortaboot::link {

bool TQVBaseInterface::CheckReply() const {
  const int length = RxBuffer[0];
  unsigned sum = 0;
  for (int i = 0; i < length; ++i) sum += RxBuffer[i];
  return sum % 256 == 0;
}

void TQVBaseInterface::BeginFrame() { TxLength = 1; }

void TQVBaseInterface::FinishFrame() {
  if (TxLength < 1 || TxLength > kMaxFrame - 1) {
    throw std::logic_error("frame does not fit in 256 bytes");
  }
  TxBuffer[0] = static_cast<std::uint8_t>((TxLength + 1) % 256);
  unsigned sum = 0;
  for (int i = 0; i < TxLength; ++i) sum += TxBuffer[i];
  TxBuffer[TxLength] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

void TQVBaseInterface::AddByte(std::uint8_t value) {
  // Index 255 is the last place a checksum can go; a body byte there could
  // never be framed.
  if (TxLength < 1 || TxLength >= kMaxFrame - 1) {
    throw std::logic_error("frame body longer than 254 bytes");
  }
  TxBuffer[TxLength] = value;
  ++TxLength;
}

void TQVBaseInterface::AddWord(std::uint16_t value) {
  AddByte(static_cast<std::uint8_t>(value % 256));
  AddByte(static_cast<std::uint8_t>(value / 256));
}

void TQVBaseInterface::AddInteger(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    AddByte(static_cast<std::uint8_t>(value >> shift));
  }
}

// The payload of a received frame ends before its checksum byte.
void TQVBaseInterface::RequireReceived(int count) const {
  const int frameLength = RxBuffer[0] == 0 ? kMaxFrame : RxBuffer[0];
  if (RxPosition < 0 || RxPosition + count > frameLength - 1) {
    throw LinkError(message::kShortReply);
  }
}

std::uint8_t TQVBaseInterface::ReadByte() {
  RequireReceived(1);
  return RxBuffer[RxPosition++];
}

std::uint16_t TQVBaseInterface::ReadWord() {
  RequireReceived(2);
  const std::uint16_t value = RxBuffer[RxPosition] + 256 * RxBuffer[RxPosition + 1];
  RxPosition += 2;
  return value;
}

// The concrete link supplies the command header.
void TQVBaseInterface::BeginCommand(std::uint8_t, std::uint8_t) {}
void TQVBaseInterface::Command(std::uint8_t, std::uint8_t) {}

}  // namespace vortaboot::link
