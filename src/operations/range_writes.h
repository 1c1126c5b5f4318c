#pragma once
// What writing a settings file into a device amounts to, range by range,
// checked in full before anything is sent: for each entry up to the smaller
// EntryCount, the file's range goes to the start of the device's range, and
// the shorter length, less the 4 bytes never carried, decides how much.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vortaboot::operations {

inline constexpr std::size_t kDeviceTableSize = 96;  // blocks 1 to 3
inline constexpr unsigned kMaxEntryCount = 23;       // entries those blocks hold
inline constexpr std::uint16_t kUncarriedBytes = 4;  // a range's last bytes, never sent

struct RangeWrite {
  unsigned entry = 0;               // from 1
  std::uint16_t deviceOffset = 0;   // the device's RangeOffset
  std::uint16_t deviceLength = 0;   // announced to the device: its RangeLength - 4
  std::size_t dataPosition = 0;     // the file's range in the settings data
  std::uint16_t byteCount = 0;      // sent from there: smaller RangeLength - 4
};

// Throws SettingsFileError, with a message for the user, when the file's
// table or a range it names does not fit the settings data, when there are
// more entries than the device table holds, or when a range length in either
// table is below 4. std::invalid_argument when deviceTable is not 96 bytes.
std::vector<RangeWrite> PlanRangeWrites(std::span<const std::uint8_t> settingsData,
                                        std::span<const std::uint8_t> deviceTable);

}  // namespace vortaboot::operations
