#pragma once
// TQVBaseDevice: one connection to a device, with the configuration section
// that keeps its settings.

#include <string>

namespace vortaboot::platform {
class IniFile;
}

namespace vortaboot::link {

class TQVBaseDevice {
 public:
  TQVBaseDevice() = default;
  virtual ~TQVBaseDevice() = default;
  TQVBaseDevice(const TQVBaseDevice&) = delete;
  TQVBaseDevice& operator=(const TQVBaseDevice&) = delete;

  // Derived classes keep their settings in this section.
  std::string SectionName;

  virtual void LoadFromIni(platform::IniFile& file);
  virtual void SaveToIni(platform::IniFile& file);
};

}  // namespace vortaboot::link
