#pragma once

#include <string>

namespace vortaboot::sim {

// What vortaboot-sim --help prints.
std::string simHelpText();

}  // namespace vortaboot::sim
