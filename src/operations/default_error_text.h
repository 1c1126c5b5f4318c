#pragma once
// How the program shows an error that no job caught: its message, with a
// period added when it ends in a letter or another character coded above ".".

#include <string>

namespace vortaboot::operations {

inline std::string DefaultErrorText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace vortaboot::operations
