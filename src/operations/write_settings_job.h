#pragma once
// Writes a saved settings file back into the device range by range, each
// range going where the device's own range table puts it.

#include "operations/device_job.h"

namespace vortaboot::operations {

// A file from another device or settings layout, or one that does not hold
// what its range table promises, is refused in the error box before anything
// is written. Link errors and an unreadable file leave as exceptions.
JobOutcome RunWriteSettingsJob(const JobEnvironment& environment);

}  // namespace vortaboot::operations
