#pragma once
// Loads a firmware image into the device's program memory page by page,
// then marks block 0 so the device resets its settings.

#include "operations/device_job.h"

namespace vortaboot::operations {

// Link errors of the work are shown in the error box; an image file that
// cannot be read once the device has answered leaves as FirmwareImageError.
JobOutcome RunLoadFirmwareJob(const JobEnvironment& environment);

}  // namespace vortaboot::operations
