#include "operations/range_writes.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "operations/range_table.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

[[noreturn]] void FailFileEntry(unsigned entry, const std::string& problem) {
  throw SettingsFileError("Файл настроек повреждён: запись " + std::to_string(entry) + " " +
                          problem + ".");
}

RangeWrite PlanEntry(std::span<const std::uint8_t> settingsData,
                     std::span<const std::uint8_t> deviceTable, unsigned entry) {
  const std::uint16_t fileOffset = RangeOffset(settingsData, entry);
  const std::uint16_t fileLength = RangeLength(settingsData, entry);
  const std::uint16_t deviceLength = RangeLength(deviceTable, entry);
  if (fileOffset < kSettingsDataOrigin) FailFileEntry(entry, "начинается раньше области настроек");
  if (fileLength < kUncarriedBytes) FailFileEntry(entry, "короче 4 байт");
  if (deviceLength < kUncarriedBytes) {
    throw SettingsFileError("Таблица диапазонов устройства повреждена: запись " +
                            std::to_string(entry) + " короче 4 байт.");
  }
  const RangeWrite write{
      .entry = entry,
      .deviceOffset = RangeOffset(deviceTable, entry),
      .deviceLength = static_cast<std::uint16_t>(deviceLength - kUncarriedBytes),
      .dataPosition = static_cast<std::size_t>(fileOffset - kSettingsDataOrigin),
      .byteCount = static_cast<std::uint16_t>(std::min(fileLength, deviceLength) - kUncarriedBytes),
  };
  if (write.dataPosition + write.byteCount > settingsData.size()) {
    FailFileEntry(entry, "выходит за пределы файла");
  }
  return write;
}

}  // namespace

std::vector<RangeWrite> PlanRangeWrites(std::span<const std::uint8_t> settingsData,
                                        std::span<const std::uint8_t> deviceTable) {
  if (deviceTable.size() != kDeviceTableSize) {
    throw std::invalid_argument("the device range table must be 96 bytes");
  }
  const unsigned count = std::min(EntryCount(settingsData), EntryCount(deviceTable));
  if (count > kMaxEntryCount) {
    throw SettingsFileError("Слишком много записей в таблице диапазонов: " +
                            std::to_string(count) + ", а допустимо не больше " +
                            std::to_string(kMaxEntryCount) + ".");
  }
  RequireEntries(settingsData, count);
  std::vector<RangeWrite> writes;
  for (unsigned entry = 1; entry <= count; ++entry) {
    writes.push_back(PlanEntry(settingsData, deviceTable, entry));
  }
  return writes;
}

}  // namespace vortaboot::operations
