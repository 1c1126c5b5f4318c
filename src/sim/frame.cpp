#include "sim/frame.h"

#include <numeric>

namespace vortaboot::sim {
namespace {

constexpr std::size_t kMaxFrame = 256;
constexpr std::size_t kShortestRequest = 6;  // length, address, 2-byte word, code, checksum

std::size_t announcedLength(const Bytes& frame) { return frame[0] == 0 ? kMaxFrame : frame[0]; }

std::uint8_t checksumFor(const Bytes& frame) {
  const unsigned sum = std::accumulate(frame.begin(), frame.end() - 1, 0u);
  return static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

}  // namespace

std::optional<Request> parseRequest(const Bytes& frame) {
  if (frame.size() < kShortestRequest || frame.size() > kMaxFrame) return std::nullopt;
  if (announcedLength(frame) != frame.size()) return std::nullopt;
  if (checksumFor(frame) != frame.back()) return std::nullopt;
  if (frame[1] != kDeviceAddress) return std::nullopt;
  return Request{frame[4], Bytes(frame.begin() + 5, frame.end() - 1)};
}

Bytes makeReply(const Bytes& payload, std::uint8_t status) {
  Bytes frame{0, kDeviceAddress, 0x01, 0x00, status};
  frame.reserve(payload.size() + kReplyOverhead);
  for (std::uint8_t byte : payload) frame.push_back(byte);
  frame.push_back(0);
  seal(frame);
  return frame;
}

void seal(Bytes& frame) {
  frame[0] = static_cast<std::uint8_t>(frame.size() % kMaxFrame);
  frame.back() = checksumFor(frame);
}

std::uint16_t wordAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t longAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(wordAt(bytes, offset)) |
         static_cast<std::uint32_t>(wordAt(bytes, offset + 2)) << 16;
}

void appendWord(Bytes& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLong(Bytes& bytes, std::uint32_t value) {
  appendWord(bytes, static_cast<std::uint16_t>(value));
  appendWord(bytes, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace vortaboot::sim
