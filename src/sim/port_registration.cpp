#include "sim/port_registration.h"

namespace vortaboot::sim {
namespace fs = std::filesystem;

namespace {

const fs::path kPseudoTerminals = "/dev/pts";

bool isLeftOverLink(const fs::path& entry) {
  std::error_code error;
  if (!fs::is_symlink(entry, error)) return false;
  const fs::path target = fs::read_symlink(entry, error);
  if (error) return false;
  return !fs::exists(entry, error) || target.parent_path() == kPseudoTerminals;
}

void clearTheWay(const fs::path& link) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(link, error))) return;  // not even a dangling link
  if (!isLeftOverLink(link)) throw RegistrationError(link.string() + " уже занят другим портом");
  fs::remove(link, error);
}

}  // namespace

PortRegistration::PortRegistration(const fs::path& folder, int comNumber, const fs::path& device)
    : link_(folder / ("com" + std::to_string(comNumber))), device_(device) {
  std::error_code error;
  fs::create_directories(folder, error);
  clearTheWay(link_);
  fs::create_symlink(device_, link_, error);
  if (error) throw RegistrationError("не удалось создать " + link_.string() + ": " + error.message());
}

PortRegistration::~PortRegistration() {
  std::error_code error;
  if (fs::read_symlink(link_, error) == device_ && !error) fs::remove(link_, error);
}

}  // namespace vortaboot::sim
