#pragma once
// Where the configuration file lives. Its name is the executable's with the
// extension ".ini"; it lies beside the executable when it is there or can be
// made there, otherwise in the user's configuration folder, so that an
// installation folder the user may not write still leaves a usable file.

#include <filesystem>
#include <stdexcept>

namespace vortaboot::app {

class ConfigFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ${XDG_CONFIG_HOME:-$HOME/.config}/vortaboot; empty when neither variable
// names an absolute folder.
std::filesystem::path FallbackConfigFolder();

// The file to use, created (one space and a line break) when it is missing.
// An existing file is never rewritten. Throws ConfigFileError when the file
// can be made neither beside the executable nor in the fallback folder.
std::filesystem::path PrepareConfigFile(const std::filesystem::path& executablePath,
                                        const std::filesystem::path& fallbackFolder);

}  // namespace vortaboot::app
