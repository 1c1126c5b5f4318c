#include "platform/replace_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vortaboot::platform {
namespace fs = std::filesystem;

namespace {

std::string writeWhole(const fs::path& file, std::span<const std::uint8_t> bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return std::strerror(errno);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return "write failed";
  return "";
}

}  // namespace

std::string ReplaceFile(const fs::path& file, std::span<const std::uint8_t> bytes) {
  fs::path temporary = file;
  temporary += ".partial";
  std::string problem = writeWhole(temporary, bytes);
  std::error_code error;
  if (problem.empty()) {
    fs::rename(temporary, file, error);
    if (!error) return "";
    problem = error.message();
  }
  fs::remove(temporary, error);
  return problem;
}

}  // namespace vortaboot::platform
