#include "operations/file_bytes.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace vortaboot::operations {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file) {
  // A folder opens like an empty file on some systems; it is no file to read.
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace vortaboot::operations
