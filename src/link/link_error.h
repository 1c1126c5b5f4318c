#pragma once
// The one error the link raises: its message is shown to the user as is.

#include <stdexcept>

namespace vortaboot::link {

class LinkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vortaboot::link
