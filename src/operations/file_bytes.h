#pragma once
// A whole file read into memory.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace vortaboot::operations {

// nullopt when the file cannot be opened or read to its end.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file);

}  // namespace vortaboot::operations
