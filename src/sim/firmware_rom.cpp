#include "sim/firmware_rom.h"

#include <cstdio>

#include "sim/program_memory.h"

namespace vortaboot::sim {
namespace {

void appendPage(Bytes& image, std::uint32_t number) {
  char label[16];
  std::snprintf(label, sizeof label, "page %04u ", static_cast<unsigned>(number % 10000));
  const std::size_t labelLength = 10;
  for (std::size_t i = 0; i < kPageSize; ++i) image.push_back(static_cast<std::uint8_t>(label[i % labelLength]));
}

}  // namespace

Bytes makeFirmwareImage(std::uint32_t pages, const DeviceIdentity& identity, std::uint32_t base) {
  Bytes image;
  image.reserve(std::size_t{pages} * kPageSize + 7);
  for (std::uint32_t k = 0; k < pages; ++k) appendPage(image, k);
  image.push_back(identity.deviceType);
  appendWord(image, identity.deviceVersion);
  appendLong(image, base);
  return image;
}

}  // namespace vortaboot::sim
