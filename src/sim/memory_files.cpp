#include "sim/memory_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "sim/frame.h"

namespace vortaboot::sim {
namespace {

constexpr std::size_t kRecordSize = 4 + kPageSize;

std::optional<Bytes> readIfPresent(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw MemoryFileError("не удалось открыть " + file.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWhole(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw MemoryFileError("не удалось записать " + file.string());
}

[[noreturn]] void wrongSize(const std::filesystem::path& file, std::size_t size, const std::string& expected) {
  throw MemoryFileError(file.string() + ": " + std::to_string(size) + " байт, а ожидается " + expected);
}

}  // namespace

void loadSettings(const std::filesystem::path& file, SettingsSpace& settings) {
  const auto bytes = readIfPresent(file);
  if (!bytes) return;
  if (bytes->size() != SettingsSpace::kSize) wrongSize(file, bytes->size(), "4096");
  std::copy(bytes->begin(), bytes->end(), settings.bytes.begin());
}

void loadProgram(const std::filesystem::path& file, ProgramMemory& program) {
  const auto bytes = readIfPresent(file);
  if (!bytes) return;
  if (bytes->size() % kRecordSize != 0) wrongSize(file, bytes->size(), "кратное 2052");
  for (std::size_t at = 0; at < bytes->size(); at += kRecordSize) {
    Page& page = program[longAt(*bytes, at)];
    std::copy_n(bytes->begin() + static_cast<std::ptrdiff_t>(at + 4), kPageSize, page.begin());
  }
}

void saveSettings(const std::filesystem::path& file, const SettingsSpace& settings) {
  writeWhole(file, Bytes(settings.bytes.begin(), settings.bytes.end()));
}

void saveProgram(const std::filesystem::path& file, const ProgramMemory& program) {
  Bytes bytes;
  bytes.reserve(program.size() * kRecordSize);
  for (const auto& [address, page] : program) {
    appendLong(bytes, address);
    bytes.insert(bytes.end(), page.begin(), page.end());
  }
  writeWhole(file, bytes);
}

}  // namespace vortaboot::sim
