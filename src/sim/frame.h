#pragma once
// The boot loader's side of the frame format: taking a request apart and
// building a reply. A frame is a length byte (0 standing for 256), a body
// and a checksum byte that makes all bytes sum to 0 modulo 256.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vortaboot::sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kDeviceAddress = 244;
inline constexpr std::uint8_t kStatusOk = 0;
inline constexpr std::uint8_t kStatusBusy = 255;
inline constexpr std::size_t kReplyOverhead = 6;  // length, 3 header bytes, status, checksum

struct Request {
  std::uint8_t code = 0;
  Bytes payload;
};

// The request in `frame`, or nullopt when the frame is not a whole, correctly
// summed request addressed to this device.
std::optional<Request> parseRequest(const Bytes& frame);

// Header F4 01 00, the status, the payload and a correct checksum.
Bytes makeReply(const Bytes& payload, std::uint8_t status = kStatusOk);

// Sets the length byte to the frame's size and recomputes the checksum.
void seal(Bytes& frame);

std::uint16_t wordAt(const Bytes& bytes, std::size_t offset);
std::uint32_t longAt(const Bytes& bytes, std::size_t offset);
void appendWord(Bytes& bytes, std::uint16_t value);
void appendLong(Bytes& bytes, std::uint32_t value);

}  // namespace vortaboot::sim
