#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vortaboot::platform {
namespace {

namespace fs = std::filesystem;

// flock belongs to the open file: closing it, or the process ending, drops it.
class FlockInstanceLock : public InstanceLock {
 public:
  explicit FlockInstanceLock(int descriptor) : descriptor_(descriptor) {}
  ~FlockInstanceLock() override { ::close(descriptor_); }
  FlockInstanceLock(const FlockInstanceLock&) = delete;
  FlockInstanceLock& operator=(const FlockInstanceLock&) = delete;

 private:
  int descriptor_;
};

std::string SystemFailure(const fs::path& path, int error) {
  return path.string() + ": " + std::strerror(error);
}

// Empty when the folder exists, or was made, and is this user's own.
std::string PrepareFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return SystemFailure(folder, errno);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return SystemFailure(folder, errno);
  if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return folder.string() + ": папка принадлежит другому пользователю или не является папкой";
  }
  return {};
}

}  // namespace

fs::path InstanceLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && fs::path(runtime).is_absolute()) return runtime;
  return fs::path("/tmp") / ("vortaboot-" + std::to_string(::geteuid()));
}

InstanceLockAttempt TryLockInstance(const fs::path& folder, const std::string& name) {
  InstanceLockAttempt attempt;
  attempt.failure = PrepareFolder(folder);
  if (!attempt.failure.empty()) return attempt;
  const fs::path file = folder / (name + ".lock");
  const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (descriptor < 0) {
    attempt.failure = SystemFailure(file, errno);
    return attempt;
  }
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
    attempt.lock = std::make_unique<FlockInstanceLock>(descriptor);
    return attempt;
  }
  const int error = errno;
  ::close(descriptor);
  if (error == EWOULDBLOCK) {
    attempt.heldElsewhere = true;
  } else {
    attempt.failure = SystemFailure(file, error);
  }
  return attempt;
}

}  // namespace vortaboot::platform
