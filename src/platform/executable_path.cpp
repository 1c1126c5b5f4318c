#include "platform/executable_path.h"

#include <system_error>

namespace vortaboot::platform {

std::filesystem::path executablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path{} : path;
}

}  // namespace vortaboot::platform
