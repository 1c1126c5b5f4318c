#pragma once
// A lock on a name that only one running process can hold at a time, so a
// program can refuse to run twice. The system drops it when the holding
// process ends, however it ends.

#include <filesystem>
#include <memory>
#include <string>

namespace vortaboot::platform {

// Held while the object lives.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

struct InstanceLockAttempt {
  std::unique_ptr<InstanceLock> lock;  // set when this process now holds the name
  bool heldElsewhere = false;          // another process holds it
  std::string failure;                 // why the lock could not be tried at all
};

// The user's runtime folder ($XDG_RUNTIME_DIR), or a folder of the user's own
// under /tmp when there is none.
std::filesystem::path InstanceLockFolder();

// Creates `folder` for this user alone when it is missing. A folder that
// belongs to another user is refused, so nobody else can hold our names.
InstanceLockAttempt TryLockInstance(const std::filesystem::path& folder, const std::string& name);

}  // namespace vortaboot::platform
