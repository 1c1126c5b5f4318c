#include "fuzz_entries.h"

namespace vortaboot::fuzz {

const std::vector<FuzzEntry>& FuzzEntries() {
  static const std::vector<FuzzEntry> entries{
      {"reply_reader", FuzzReplyReader},
      {"firmware_image", FuzzFirmwareImage},
      {"settings_file", FuzzSettingsFile},
      {"ini_file", FuzzIniFile},
  };
  return entries;
}

}  // namespace vortaboot::fuzz
