#pragma once
// The text of an INI file held as lines that keep their own line ends, so
// that setting one key leaves every other byte of the file as it was.
// Section and key names are matched without regard to ASCII case; the first
// section of a name, and the first key of a name within it, count.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortaboot::platform {

class IniDocument {
 public:
  explicit IniDocument(std::string_view text);

  // The value with blanks around it removed; nullopt when the key is absent.
  std::optional<std::string> Find(std::string_view section,
                                  std::string_view key) const;

  // Replaces the key's line, or adds the key at the end of its section, or
  // adds the section at the end of the text. Throws std::invalid_argument for
  // names or values that would not read back as one entry.
  void Set(std::string_view section, std::string_view key,
           std::string_view value);

  std::string Text() const;

 private:
  struct Line {
    std::string content;
    std::string ending;  // "\r\n", "\n", or empty for an unterminated last line
  };
  struct SectionSpan {
    std::size_t header;
    std::size_t end;  // index of the next header, or the line count
  };

  std::string_view Meaning(std::size_t index) const;
  std::optional<SectionSpan> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionSpan& span,
                                     std::string_view key) const;
  void InsertLine(std::size_t index, std::string content);
  void AppendSection(std::string_view section, std::string entry);

  std::vector<Line> lines_;
  std::string newLineEnding_ = "\r\n";
};

}  // namespace vortaboot::platform
