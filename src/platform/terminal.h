#pragma once

namespace vortaboot::platform {

// True when standard error goes to a terminal, where progress can be redrawn in place.
bool StandardErrorIsTerminal();

}  // namespace vortaboot::platform
