#pragma once
// Raising the calling process and thread to the highest scheduling priority
// for a time-critical moment, and putting them back.

namespace vortaboot::platform {

class Priority {
 public:
  // What was in force before a raise; meaningful only to the implementation.
  struct Saved {
    int process = 0;
    int threadPolicy = 0;
    int threadPriority = 0;
  };

  virtual ~Priority() = default;
  virtual Saved current() = 0;
  // Without the privilege to raise, the priority simply stays as it was.
  virtual void raiseToRealtime() = 0;
  virtual void restore(const Saved& saved) = 0;
};

Priority& systemPriority();

}  // namespace vortaboot::platform
