#pragma once
// Where the running program's executable file lies.

#include <filesystem>

namespace vortaboot::platform {

// The executable's full path; empty when the system does not tell.
std::filesystem::path executablePath();

}  // namespace vortaboot::platform
