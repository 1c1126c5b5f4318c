#pragma once
// Firmware images for the simulated device: whole pages of recognisable
// content, then the 7-byte trailer (ImageType, ImageVersion, ImageBase).
// Every page repeats a ten-character label "page NNNN " with its number.

#include <cstdint>

#include "sim/boot_device.h"

namespace vortaboot::sim {

Bytes makeFirmwareImage(std::uint32_t pages, const DeviceIdentity& identity, std::uint32_t base);

}  // namespace vortaboot::sim
