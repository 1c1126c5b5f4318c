#include "platform/replace_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vortaboot::platform {
namespace fs = std::filesystem;

namespace {

// Empty on success; whatever was created is removed again on failure.
std::string writeWhole(const fs::path& file, std::span<const std::uint8_t> bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return std::strerror(errno);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out) return "";
  std::error_code ignored;
  fs::remove(file, ignored);
  return "write failed";
}

}  // namespace

std::string ReplaceFile(const fs::path& file, std::span<const std::uint8_t> bytes) {
  fs::path temporary = file;
  temporary += ".partial";
  const std::string problem = writeWhole(temporary, bytes);
  if (!problem.empty()) return problem;
  std::error_code error;
  fs::rename(temporary, file, error);
  if (!error) return "";
  const std::string renameProblem = error.message();
  fs::remove(temporary, error);
  return renameProblem;
}

}  // namespace vortaboot::platform
