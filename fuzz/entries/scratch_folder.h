#pragma once
// A folder of this process's own for the files an entry must hand over by
// name, removed when the process ends.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vortaboot::fuzz {

const std::filesystem::path& ScratchFolder();

// Writes `bytes` as the file `name` in the scratch folder and returns its path.
std::filesystem::path ScratchFile(const std::string& name, std::span<const std::uint8_t> bytes);

}  // namespace vortaboot::fuzz
