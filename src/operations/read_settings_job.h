#pragma once
// Reads the device's settings (blocks 1 to 127) and saves them, scrambled,
// in a new settings file named from the date and time.

#include <filesystem>
#include <functional>

#include "operations/device_job.h"
#include "operations/settings_file_name.h"

namespace vortaboot::operations {

struct SettingsFileTarget {
  std::filesystem::path folder = ".";
  std::function<LocalDateTime()> localTime;
};

// Link errors and a file that cannot be saved leave as exceptions, after the
// port is closed; nothing is left on disk then.
JobOutcome RunReadSettingsJob(const JobEnvironment& environment, const SettingsFileTarget& target);

// The local date and time now.
LocalDateTime CurrentLocalTime();

}  // namespace vortaboot::operations
