// Configuration files of any content: reads never fail, a window placement
// read from them is never off the screen's origin, and writing one key
// changes that key's line alone (or adds it) and reads back as written.

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/ini_fls.h"
#include "fuzz_entries.h"
#include "platform/ini_integer.h"
#include "scratch_folder.h"

namespace vortaboot::fuzz {
namespace {

struct Entry {
  std::string section, key, value;
};

std::string_view NextField(std::string_view& text, char separator) {
  const auto end = text.find(separator);
  const std::string_view field = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return field;
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The lines as the file holds them, each without its line end.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const bool terminated = end != std::string_view::npos;
    std::string_view line = text.substr(0, end);
    text.remove_prefix(terminated ? end + 1 : text.size());
    if (terminated && line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
  }
  return lines;
}

void CheckPlacement(const app::TMIniFile& ini, bool sizeable) {
  app::FormPlacement placement{app::WindowState::Normal, -7, -7, -7, -7, sizeable};
  ini.LoadFormPlacement("MainWindow", placement);
  // A maximized window keeps the rest of its placement as it was.
  if (placement.state == app::WindowState::Maximized) return;
  Require(placement.left >= 0 && placement.top >= 0, "a window placed at a negative position");
  if (sizeable) Require(placement.width >= 0 && placement.height >= 0, "a window of negative size");
}

void CheckIntegerRoundTrip(std::int32_t value) {
  Require(platform::ParseIniInteger(std::to_string(value)) == value, "a written integer reads back otherwise");
}

// Replacing a line keeps the count; adding a key or a section adds at most
// a blank line, the header and the entry. Every other line stays, in order.
void CheckOtherLinesKept(const std::vector<std::string>& before, const std::vector<std::string>& after,
                         bool keyExisted, const Entry& entry) {
  if (keyExisted) {
    Require(after.size() == before.size(), "replacing a key changed the number of lines");
    std::size_t changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    Require(changed <= 1, "writing one key changed other lines");
    return;
  }
  const std::string added[] = {"", "[" + entry.section + "]", entry.key + "=" + entry.value};
  std::size_t kept = 0;
  for (const auto& line : after) {
    if (kept < before.size() && line == before[kept]) {
      ++kept;
    } else {
      Require(std::find(std::begin(added), std::end(added), line) != std::end(added), "a line was changed");
    }
  }
  Require(kept == before.size(), "a line was lost");
  Require(after.size() - before.size() <= 3, "too many lines added");
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CheckWrite(platform::IniFile& ini, const std::string& text, const Entry& entry) {
  const bool keyExisted = ini.ReadString(entry.section, entry.key, "\x01") != "\x01" ||
                          ini.ReadString(entry.section, entry.key, "\x02") != "\x02";
  try {
    ini.WriteString(entry.section, entry.key, entry.value);
  } catch (const std::invalid_argument&) {
    Require(FileText(ini.fileName()) == text, "a refused write changed the file");
    return;
  }
  Require(ini.ReadString(entry.section, entry.key, "\x01") == Trimmed(entry.value),
          "a written value reads back otherwise");
  CheckOtherLinesKept(Lines(text), Lines(FileText(ini.fileName())), keyExisted, entry);
}

}  // namespace

void FuzzIniFile(FuzzInput input) {
  std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  std::string_view header = NextField(text, '\n');
  Entry entry;
  entry.section = NextField(header, '\t');
  entry.key = NextField(header, '\t');
  entry.value = header;
  const std::string content(text);

  const auto file = ScratchFile("fuzz.ini", input.last(content.size()));
  app::TMIniFile ini(ScratchFolder() / "fuzz", {});
  Require(ini.fileName() == file, "the configuration file is not beside the executable");
  ini.ReadInteger(entry.section, entry.key, 0);
  CheckPlacement(ini, !content.empty() && content[0] % 2 == 0);
  if (input.size() >= 4) {
    std::int32_t value = 0;
    std::memcpy(&value, input.data(), sizeof value);
    CheckIntegerRoundTrip(value);
  }
  CheckWrite(ini, content, entry);
}

}  // namespace vortaboot::fuzz
