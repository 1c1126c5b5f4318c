#pragma once
// Values in vortaboot-sim's options: numbers and the command selectors of
// --fault and --program-status.

#include <cstdint>
#include <string>

#include "sim/program_status.h"
#include "sim/reply_fault.h"

namespace vortaboot::sim {

// Decimal, or hexadecimal after 0x; at most `largest`. Throws OptionError
// naming `option`.
std::uint32_t parseNumber(const std::string& option, const std::string& text, std::uint32_t largest);

// "N", "code=C" or "code=C:N".
CommandSelector parseSelector(const std::string& option, const std::string& text);

// "KIND@SELECTOR".
FaultRule parseFaultRule(const std::string& text);

// "FLAGS,CODE" (every ProgramPage) or "FLAGS,CODE@SELECTOR".
ProgramStatusRule parseProgramStatusRule(const std::string& text);

}  // namespace vortaboot::sim
