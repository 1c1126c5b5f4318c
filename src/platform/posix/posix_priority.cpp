#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <cerrno>

#include "platform/priority.h"

namespace vortaboot::platform {
namespace {

// The process priority is its nice value; the thread's is its scheduling
// policy and priority. Raising needs privilege; without it the calls fail
// and everything stays as it was.
class PosixPriority : public Priority {
 public:
  Saved current() override {
    Saved saved;
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    saved.process = errno == 0 ? nice : 0;
    sched_param param{};
    if (::pthread_getschedparam(::pthread_self(), &saved.threadPolicy, &param) == 0) {
      saved.threadPriority = param.sched_priority;
    }
    return saved;
  }

  void raiseToRealtime() override {
    ::setpriority(PRIO_PROCESS, 0, -20);
    sched_param param{};
    static const int highest = ::sched_get_priority_max(SCHED_FIFO);
    param.sched_priority = highest;
    ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param);
  }

  void restore(const Saved& saved) override {
    sched_param param{};
    param.sched_priority = saved.threadPriority;
    ::pthread_setschedparam(::pthread_self(), saved.threadPolicy, &param);
    ::setpriority(PRIO_PROCESS, 0, saved.process);
  }
};

}  // namespace

Priority& systemPriority() {
  static PosixPriority priority;
  return priority;
}

}  // namespace vortaboot::platform
