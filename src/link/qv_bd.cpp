#include "link/qv_bd.h"

namespace vortaboot::link {

// A bare device has no settings of its own.
void TQVBaseDevice::LoadFromIni(platform::IniFile&) {}
void TQVBaseDevice::SaveToIni(platform::IniFile&) {}

}  // namespace vortaboot::link
