#pragma once
// Keeping the device's memories in files between runs.
//
// Settings file: the 4096 bytes of the settings space, as they stand.
// Program file: one record per programmed page in address order, each the
// page's address (32-bit, little-endian) followed by its 2048 bytes.

#include <filesystem>
#include <stdexcept>

#include "sim/program_memory.h"
#include "sim/settings_space.h"

namespace vortaboot::sim {

class MemoryFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Each loader leaves its memory alone when the file does not exist, and
// throws MemoryFileError when it exists but cannot be read or has a size
// that does not fit its format.
void loadSettings(const std::filesystem::path& file, SettingsSpace& settings);
void loadProgram(const std::filesystem::path& file, ProgramMemory& program);

// Throw MemoryFileError when the file cannot be written.
void saveSettings(const std::filesystem::path& file, const SettingsSpace& settings);
void saveProgram(const std::filesystem::path& file, const ProgramMemory& program);

}  // namespace vortaboot::sim
