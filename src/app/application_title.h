#pragma once
// The name the program goes by in the task bar and in the caption of the box
// that shows an error no handler caught: the executable's file name up to its
// first dot, its first letter as it is and the rest in lower case.

#include <QString>
#include <filesystem>

namespace vortaboot::app {

QString ApplicationTitle(const std::filesystem::path& executablePath);

}  // namespace vortaboot::app
