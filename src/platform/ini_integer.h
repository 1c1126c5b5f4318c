#pragma once
// Conversion of an INI value to a 32-bit signed integer.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vortaboot::platform {

// A text longer than two characters that begins with "0x" or "0X" is taken
// as hexadecimal. Otherwise the whole text must be an optional run of blanks,
// an optional sign, then decimal digits or "$" and hexadecimal digits.
// Decimal must lie within the 32-bit signed range; hexadecimal gives a 32-bit
// pattern (0xFFFFFFFF is -1). Anything else, overflow included, is nullopt.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace vortaboot::platform
