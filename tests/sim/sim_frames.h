#pragma once
// Request and reply frames written out independently of the simulator's own
// frame code, so tests do not check that code against itself.

#include <cstdint>
#include <numeric>
#include <vector>

namespace vortaboot::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes sealed(Bytes frame) {
  frame.insert(frame.begin(), static_cast<std::uint8_t>((frame.size() + 2) % 256));
  const unsigned sum = std::accumulate(frame.begin(), frame.end(), 0u);
  frame.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));
  return frame;
}

inline Bytes request(std::uint8_t code, const Bytes& payload = {}) {
  Bytes body{0xF4, 0x01, 0x00, code};
  body.insert(body.end(), payload.begin(), payload.end());
  return sealed(body);
}

inline Bytes reply(const Bytes& payload, std::uint8_t status = 0) {
  Bytes body{0xF4, 0x01, 0x00, status};
  body.insert(body.end(), payload.begin(), payload.end());
  return sealed(body);
}

inline Bytes word(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

inline Bytes operator+(Bytes left, const Bytes& right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

inline Bytes filled(std::size_t count, std::uint8_t value) { return Bytes(count, value); }

inline Bytes readBlockRequest(std::uint16_t block) { return request(5, word(block)); }
inline Bytes openRangeRequest(std::uint16_t offset, std::uint16_t length) {
  return request(12, word(offset) + word(length));
}
inline Bytes writeBufferRequest(std::uint16_t piece, const Bytes& data) {
  return request(4, word(piece) + word(static_cast<std::uint16_t>(data.size())) + data);
}
inline Bytes storeBufferRequest(std::uint16_t offset, std::uint16_t length) {
  return request(7, word(offset) + word(length));
}
inline Bytes pageDataRequest(std::uint8_t piece, const Bytes& data) {
  return request(10, Bytes{piece} + data);
}
inline Bytes programPageRequest(std::uint32_t address) {
  return request(20, word(static_cast<std::uint16_t>(address)) +
                         word(static_cast<std::uint16_t>(address >> 16)));
}

}  // namespace vortaboot::sim::testing
