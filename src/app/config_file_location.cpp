#include "app/config_file_location.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace vortaboot::app {
namespace {

namespace fs = std::filesystem;

constexpr char kNewFileText[] = " \r\n";

fs::path AbsoluteFolderFrom(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || !fs::path(value).is_absolute()) return {};
  return value;
}

bool Exists(const fs::path& file) {
  std::error_code error;
  return fs::exists(file, error);
}

// Made with exclusive creation, so a file that appears meanwhile is kept.
bool CreateNewFile(const fs::path& file) {
  std::FILE* stream = std::fopen(file.c_str(), "wbx");
  if (stream == nullptr) return Exists(file);
  const std::size_t size = sizeof kNewFileText - 1;
  const bool written = std::fwrite(kNewFileText, 1, size, stream) == size;
  if (std::fclose(stream) == 0 && written) return true;
  std::error_code error;
  fs::remove(file, error);
  return false;
}

bool FileIsReady(const fs::path& file) { return Exists(file) || CreateNewFile(file); }

bool FolderIsReady(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return !error && fs::is_directory(folder, error);
}

}  // namespace

fs::path FallbackConfigFolder() {
  fs::path base = AbsoluteFolderFrom("XDG_CONFIG_HOME");
  if (base.empty()) {
    const fs::path home = AbsoluteFolderFrom("HOME");
    if (home.empty()) return {};
    base = home / ".config";
  }
  return base / "vortaboot";
}

fs::path PrepareConfigFile(const fs::path& executablePath, const fs::path& fallbackFolder) {
  if (!executablePath.has_filename()) {
    throw ConfigFileError("Не удалось определить путь к программе: файл конфигурации не найден.");
  }
  const fs::path besideExecutable = fs::path(executablePath).replace_extension(".ini");
  if (FileIsReady(besideExecutable)) return besideExecutable;
  if (!fallbackFolder.empty()) {
    const fs::path inFallback = fallbackFolder / besideExecutable.filename();
    if (FolderIsReady(fallbackFolder) && FileIsReady(inFallback)) return inFallback;
  }
  throw ConfigFileError("Не удалось создать файл конфигурации ни рядом с программой (" +
                        besideExecutable.string() + "), ни в папке настроек пользователя (" +
                        (fallbackFolder.empty() ? std::string("не задана") : fallbackFolder.string()) +
                        ").");
}

}  // namespace vortaboot::app
