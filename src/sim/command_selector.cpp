#include "sim/command_selector.h"

namespace vortaboot::sim {

bool CommandSelector::selects(const CommandNumber& number) const {
  if (!code) return ordinal == 0 || ordinal == number.overall;
  if (*code != number.code) return false;
  return ordinal == 0 || ordinal == number.ofCode;
}

}  // namespace vortaboot::sim
