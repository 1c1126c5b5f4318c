#pragma once
// A settings file, or a range table, that cannot be used. Its message is
// shown to the user as is.

#include <stdexcept>

namespace vortaboot::operations {

class SettingsFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vortaboot::operations
