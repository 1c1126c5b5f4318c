#pragma once
// Makes a terminal device known as COMn: the link comN in the ports folder,
// pointing at the device, for as long as this object lives.

#include <filesystem>
#include <stdexcept>

namespace vortaboot::sim {

class RegistrationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PortRegistration {
 public:
  // Creates the folder if need be. A comN entry left behind by an earlier
  // simulator (a link to a pseudo-terminal, or to nothing) is replaced; any
  // other entry is somebody's port and makes this throw RegistrationError.
  PortRegistration(const std::filesystem::path& folder, int comNumber, const std::filesystem::path& device);
  // Removes the link, unless it no longer points at our device.
  ~PortRegistration();
  PortRegistration(const PortRegistration&) = delete;
  PortRegistration& operator=(const PortRegistration&) = delete;

 private:
  std::filesystem::path link_;
  std::filesystem::path device_;
};

}  // namespace vortaboot::sim
