#pragma once
// The range table at the start of the settings data (and of the device's
// blocks 1 to 3): EntryCount and TableVersion at positions 0 and 1, then
// entry i (from 1) as RangeOffset and RangeLength words at 4i and 4i + 2.
// RangeOffset is a settings-space offset: settings data position 0 holds
// settings-space offset 32.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vortaboot::operations {

inline constexpr std::size_t kRangeTableHeadSize = 4;
inline constexpr std::size_t kRangeEntrySize = 4;
inline constexpr std::uint16_t kSettingsDataOrigin = 32;

// Each throws SettingsFileError when the table ends before the field, and
// std::out_of_range for entry 0, which does not exist.
std::uint8_t EntryCount(std::span<const std::uint8_t> table);
std::uint8_t TableVersion(std::span<const std::uint8_t> table);
std::uint16_t RangeOffset(std::span<const std::uint8_t> table, unsigned entry);
std::uint16_t RangeLength(std::span<const std::uint8_t> table, unsigned entry);
// Throws SettingsFileError, naming the first entry missing, unless the table
// holds entries 1 to count in full.
void RequireEntries(std::span<const std::uint8_t> table, unsigned count);

}  // namespace vortaboot::operations
