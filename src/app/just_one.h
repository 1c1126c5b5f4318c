#pragma once
// TJustOne: keeps a second copy of the program from running. It holds a lock
// named after the executable's file name for as long as it lives; a copy
// started while another holds the name does not get it.

#include <QObject>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/single_instance.h"

namespace vortaboot::app {

class TJustOne : public QObject {
  Q_OBJECT

 public:
  TJustOne(const std::filesystem::path& executablePath, const std::filesystem::path& lockFolder,
           QObject* owner);

  // True when this process is the one copy allowed to run.
  bool Owned() const { return lock_ != nullptr; }
  // Why the lock could not even be tried; empty when another copy runs.
  const std::string& Failure() const { return failure_; }

 private:
  std::unique_ptr<platform::InstanceLock> lock_;
  std::string failure_;
};

}  // namespace vortaboot::app
