#pragma once
// `info FILE`: what a firmware image or a settings file holds.

#include <filesystem>
#include <ostream>

namespace vortaboot::cli {

// Throws UsageError for a file that is missing, unreadable, too short or of
// another kind.
void PrintFileInfo(const std::filesystem::path& file, std::ostream& out);

}  // namespace vortaboot::cli
