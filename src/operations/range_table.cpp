#include "operations/range_table.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "operations/little_endian.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

void RequireHead(std::span<const std::uint8_t> table) {
  if (table.size() < kRangeTableHeadSize) {
    throw SettingsFileError("Файл настроек повреждён: в нём нет заголовка таблицы диапазонов.");
  }
}

[[noreturn]] void FailCutShort(unsigned entry) {
  throw SettingsFileError("Файл настроек повреждён: таблица диапазонов обрывается на записи " +
                          std::to_string(entry) + ".");
}

std::size_t EntryPosition(std::span<const std::uint8_t> table, unsigned entry) {
  if (entry == 0) throw std::out_of_range("range table entries are numbered from 1");
  const std::size_t position = kRangeEntrySize * entry;
  if (table.size() < position + kRangeEntrySize) FailCutShort(entry);
  return position;
}

}  // namespace

std::uint8_t EntryCount(std::span<const std::uint8_t> table) {
  RequireHead(table);
  return table[0];
}

std::uint8_t TableVersion(std::span<const std::uint8_t> table) {
  RequireHead(table);
  return table[1];
}

std::uint16_t RangeOffset(std::span<const std::uint8_t> table, unsigned entry) {
  return WordAt(table, EntryPosition(table, entry));
}

std::uint16_t RangeLength(std::span<const std::uint8_t> table, unsigned entry) {
  return WordAt(table, EntryPosition(table, entry) + 2);
}

void RequireEntries(std::span<const std::uint8_t> table, unsigned count) {
  const auto firstMissing = static_cast<unsigned>(table.size() / kRangeEntrySize);
  if (count > 0 && count >= firstMissing) FailCutShort(std::max(firstMissing, 1u));
}

}  // namespace vortaboot::operations
