#include "platform/ini_document.h"

#include <algorithm>
#include <stdexcept>

namespace vortaboot::platform {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string_view> SectionName(std::string_view meaning) {
  if (meaning.empty() || meaning.front() != '[') return std::nullopt;
  const auto close = meaning.find(']');
  return Trimmed(meaning.substr(1, close == std::string_view::npos ? close : close - 1));
}

bool IsComment(std::string_view meaning) {
  return !meaning.empty() && (meaning.front() == ';' || meaning.front() == '#');
}

std::optional<std::string_view> KeyName(std::string_view meaning) {
  const auto equals = meaning.find('=');
  if (IsComment(meaning) || equals == std::string_view::npos) return std::nullopt;
  return Trimmed(meaning.substr(0, equals));
}

std::string_view ValueText(std::string_view meaning) {
  return Trimmed(meaning.substr(meaning.find('=') + 1));
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// A name must read back as itself: no surrounding blanks, nothing that
// would end the line or the name early, nothing that marks a comment.
void RequireName(std::string_view name, std::string_view forbidden, const char* what) {
  if (name.empty() || Trimmed(name) != name || HasLineBreak(name) ||
      name.find_first_of(forbidden) != std::string_view::npos ||
      IsComment(name) || name.front() == '[') {
    throw std::invalid_argument(std::string("INI ") + what + " cannot be written: \"" +
                                std::string(name) + "\"");
  }
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  while (!text.empty()) {
    const auto newLine = text.find('\n');
    const std::string_view piece =
        newLine == std::string_view::npos ? text : text.substr(0, newLine + 1);
    text.remove_prefix(piece.size());
    const std::size_t endingSize =
        piece.ends_with("\r\n") ? 2 : (piece.ends_with('\n') ? 1 : 0);
    lines_.push_back({std::string(piece.substr(0, piece.size() - endingSize)),
                      std::string(piece.substr(piece.size() - endingSize))});
  }
  const auto terminated =
      std::find_if(lines_.begin(), lines_.end(), [](const Line& l) { return !l.ending.empty(); });
  if (terminated != lines_.end()) newLineEnding_ = terminated->ending;
}

std::optional<std::string> IniDocument::Find(std::string_view section,
                                             std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  const auto line = FindKey(*span, key);
  if (!line) return std::nullopt;
  return std::string(ValueText(Meaning(*line)));
}

void IniDocument::Set(std::string_view section, std::string_view key,
                      std::string_view value) {
  RequireName(section, "]", "section");
  RequireName(key, "=", "key");
  if (HasLineBreak(value)) {
    throw std::invalid_argument("INI value cannot be written: it holds a line break");
  }
  std::string entry = std::string(key) + "=" + std::string(value);
  const auto span = FindSection(section);
  if (!span) return AppendSection(section, std::move(entry));
  if (const auto line = FindKey(*span, key)) {
    lines_[*line].content = std::move(entry);
    return;
  }
  // After the section's last non-blank line, so blank separators stay below.
  std::size_t after = span->header;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    if (!Meaning(i).empty()) after = i;
  }
  InsertLine(after + 1, std::move(entry));
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.content + line.ending;
  return text;
}

// The line as the format sees it: without surrounding blanks, and without
// the byte-order mark an editor may have put at the start of the file.
std::string_view IniDocument::Meaning(std::size_t index) const {
  std::string_view content = lines_[index].content;
  if (index == 0 && content.starts_with(kByteOrderMark)) {
    content.remove_prefix(kByteOrderMark.size());
  }
  return Trimmed(content);
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(
    std::string_view section) const {
  std::optional<SectionSpan> found;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(Meaning(i));
    if (!name) continue;
    if (found) {
      found->end = i;
      return found;
    }
    if (SameName(*name, section)) found = SectionSpan{i, lines_.size()};
  }
  return found;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionSpan& span,
                                                std::string_view key) const {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto name = KeyName(Meaning(i));
    if (name && SameName(*name, key)) return i;
  }
  return std::nullopt;
}

// A last line that ends in a lone "\r" would, followed by "\n", read back
// without it: its own value would change. "\r\n" keeps it as it was.
void IniDocument::InsertLine(std::size_t index, std::string content) {
  if (index > 0 && lines_[index - 1].ending.empty()) {
    const bool endsInReturn = lines_[index - 1].content.ends_with('\r');
    lines_[index - 1].ending = endsInReturn ? "\r\n" : newLineEnding_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                Line{std::move(content), newLineEnding_});
}

void IniDocument::AppendSection(std::string_view section, std::string entry) {
  if (!lines_.empty() && !Meaning(lines_.size() - 1).empty()) {
    InsertLine(lines_.size(), "");
  }
  InsertLine(lines_.size(), "[" + std::string(section) + "]");
  InsertLine(lines_.size(), std::move(entry));
}

}  // namespace vortaboot::platform
