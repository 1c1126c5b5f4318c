#pragma once
// Reading the device's settings space block by block, with the progress
// gauge following.

#include <cstdint>
#include <vector>

#include "link/qv_rs232.h"
#include "operations/device_job.h"

namespace vortaboot::operations {

inline constexpr int kSettingsBlockSize = 32;

// Blocks 1 to `lastBlock`, in order, 32 bytes each; the gauge shows
// j·100/lastBlock after block j. A short reply is a link error.
std::vector<std::uint8_t> ReadSettingsBlocks(link::TQV_RS& link, JobFrame& frame, int lastBlock);

}  // namespace vortaboot::operations
