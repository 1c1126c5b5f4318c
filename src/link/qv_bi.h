#pragma once
// TQVBaseInterface: one frame buffer per direction and the frame codec.
//
// A frame is a length byte (the whole frame's size modulo 256, 0 meaning
// 256), a body with little-endian values, and a checksum byte that makes the
// sum of all its bytes 0 modulo 256.

#include <array>
#include <cstdint>

#include "link/qv_bd.h"

namespace vortaboot::link {

class TQVBaseInterface : public TQVBaseDevice {
 public:
  static constexpr int kBufferSize = 2048;
  static constexpr int kMaxFrame = 256;

  std::array<std::uint8_t, kBufferSize> TxBuffer{};
  std::array<std::uint8_t, kBufferSize> RxBuffer{};
  // While building: index of the next byte. After FinishFrame: index of the
  // checksum byte, which is also the number of bytes before it.
  std::int32_t TxLength = 0;
  // Index in RxBuffer of the next byte ReadByte or ReadWord returns.
  std::int32_t RxPosition = 0;

  bool CheckReply() const;
  void BeginFrame();
  void FinishFrame();
  virtual void AddByte(std::uint8_t value);
  void AddWord(std::uint16_t value);
  void AddInteger(std::uint32_t value);

  // Read the payload of the received frame in order. Reading past its last
  // payload byte raises a LinkError rather than return stale buffer bytes.
  std::uint8_t ReadByte();
  std::uint16_t ReadWord();

  virtual void BeginCommand(std::uint8_t address, std::uint8_t command);
  virtual void Transact() = 0;
  virtual void Command(std::uint8_t address, std::uint8_t command);

 private:
  void RequireReceived(int count) const;
};

}  // namespace vortaboot::link
