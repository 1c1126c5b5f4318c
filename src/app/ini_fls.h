#pragma once
// The program's configuration file: an INI file named after the executable,
// created when missing, that also keeps a window's placement.

#include <filesystem>
#include <string>

#include "app/form_placement.h"
#include "platform/ini_file.h"

namespace vortaboot::app {

class TMIniFile : public platform::IniFile {
 public:
  // The file of the running executable, with the user's configuration
  // folder as the fallback. Throws ConfigFileError when there is no file.
  TMIniFile();
  TMIniFile(const std::filesystem::path& executablePath,
            const std::filesystem::path& fallbackFolder);

  // Sets the state, then, unless maximized, left and top (negative gives 0),
  // then, for a sizeable border only, width and height (negative gives 100).
  // Each value missing from the file keeps the placement's current one; so
  // does a "State" that names no window state.
  void LoadFormPlacement(const std::string& section, FormPlacement& placement) const;

  // Writes "State", "Left", "Top", "Width" and "Height", in this order,
  // whatever the border.
  void SaveFormPlacement(const std::string& section, const FormPlacement& placement);
};

}  // namespace vortaboot::app
