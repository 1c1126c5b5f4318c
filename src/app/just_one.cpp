#include "app/just_one.h"

namespace vortaboot::app {

TJustOne::TJustOne(const std::filesystem::path& executablePath,
                   const std::filesystem::path& lockFolder, QObject* owner)
    : QObject(owner) {
  setObjectName(QStringLiteral("JustOne1"));
  auto attempt = platform::TryLockInstance(lockFolder, executablePath.filename().string());
  lock_ = std::move(attempt.lock);
  failure_ = std::move(attempt.failure);
}

}  // namespace vortaboot::app
