#include "platform/ini_file.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "platform/ini_document.h"
#include "platform/ini_integer.h"

namespace vortaboot::platform {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(text).str();
}

bool WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return !out.fail();
}

// A link is followed, so that a linked configuration file stays linked.
fs::path WriteTarget(const fs::path& file) {
  std::error_code error;
  if (!fs::is_symlink(file, error)) return file;
  const fs::path target = fs::canonical(file, error);
  return error ? file : target;
}

// A file without any write permission is one the user protected; writing
// through a file beside it, then renamed over it, must not slip past that.
bool IsReadOnly(const fs::path& file) {
  constexpr auto kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  std::error_code error;
  const auto permissions = fs::status(file, error).permissions();
  return !error && (permissions & kAnyWrite) == fs::perms::none;
}

// The new text goes to a file beside the old one that then replaces it, so
// a failure never leaves half a file. Where no file can be made beside it
// (a folder the user may not write), the file is rewritten in place.
bool ReplaceText(const fs::path& file, const std::string& text) {
  const fs::path temporary = fs::path(file) += ".tmp";
  std::error_code error;
  if (!std::ofstream(temporary, std::ios::binary)) return WriteText(file, text);
  if (WriteText(temporary, text)) {
    const auto permissions = fs::status(file, error).permissions();
    if (!error) fs::permissions(temporary, permissions, error);
    fs::rename(temporary, file, error);
    if (!error) return true;
  }
  fs::remove(temporary, error);
  return false;
}

std::string FullName(const fs::path& file) {
  std::error_code error;
  const fs::path full = fs::absolute(file, error);
  return (error ? file : full).string();
}

}  // namespace

IniFile::IniFile(std::filesystem::path fileName) : fileName_(std::move(fileName)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const auto text = ReadText(fileName_);
  if (!text) return defaultValue;
  return IniDocument(*text).Find(section, key).value_or(defaultValue);
}

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                                  std::int32_t defaultValue) const {
  return ParseIniInteger(ReadString(section, key, "")).value_or(defaultValue);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  const fs::path target = WriteTarget(fileName_);
  std::error_code error;
  const bool exists = fs::exists(target, error);
  const auto text = exists ? ReadText(target) : std::optional<std::string>("");
  // An existing file that cannot be read, or is read-only, must not be
  // replaced by one key.
  if (error || !text || (exists && IsReadOnly(target))) {
    throw IniWriteError("Unable to write to " + FullName(fileName_));
  }
  IniDocument document(*text);
  document.Set(section, key, value);
  if (!ReplaceText(target, document.Text())) {
    throw IniWriteError("Unable to write to " + FullName(fileName_));
  }
}

void IniFile::WriteInteger(const std::string& section, const std::string& key,
                           std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace vortaboot::platform
