#pragma once
// INI reader and writer: sections of key=value lines, names matched without
// regard to case. Reads never fail; every write goes to the file at once and
// raises IniWriteError when it cannot be made.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace vortaboot::platform {

class IniWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniFile {
 public:
  explicit IniFile(std::filesystem::path fileName);
  virtual ~IniFile() = default;

  const std::filesystem::path& fileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // "0x"/"0X" hexadecimal, or a whole 32-bit signed conversion with "$"
  // hexadecimal, leading blanks and a sign; anything else gives the default.
  std::int32_t ReadInteger(const std::string& section, const std::string& key,
                           std::int32_t defaultValue) const;

  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key,
                    std::int32_t value);
  // Written as "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

 private:
  std::filesystem::path fileName_;
};

}  // namespace vortaboot::platform
