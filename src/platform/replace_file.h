#pragma once
// Writing a whole file so that it is either replaced completely or left as
// it was: the bytes go to a temporary file beside it, which is then renamed
// over the target.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vortaboot::platform {

// Empty on success, else why the file could not be written.
std::string ReplaceFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

}  // namespace vortaboot::platform
