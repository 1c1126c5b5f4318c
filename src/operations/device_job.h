#pragma once
// The frame every device job runs in: open the port, show the progress
// window, wait for the power-cycled device's boot loader to answer, and on
// every way out destroy the window and close the port.

#include <functional>
#include <memory>
#include <string>

#include "link/qv_rs232.h"
#include "operations/job_host.h"
#include "platform/clock.h"

namespace vortaboot::operations {

struct JobEnvironment {
  link::TQV_RS& link;
  JobHost& host;
  platform::Clock& clock;
};

// How a job ended, for callers that report it (the command line). Errors
// a job does not catch leave it as exceptions instead.
enum class JobOutcome {
  Completed,  // the closing message was shown
  Failed,     // an error box was shown
  Cancelled,  // by the user, silently
  NoFile,     // the file dialog was closed without a file
};

class JobFrame {
 public:
  static constexpr std::uint32_t kJobBaudRate = 19200;
  static constexpr std::uint16_t kIdentifyTimeoutMs = 100;
  static constexpr std::uint32_t kPauseBetweenPollsMs = 300;

  explicit JobFrame(const JobEnvironment& environment);
  ~JobFrame();
  JobFrame(const JobFrame&) = delete;
  JobFrame& operator=(const JobFrame&) = delete;

  // Opens the port and shows the progress window asking for a power cycle.
  void start();
  // Polls with Identify until the boot loader answers (true) or the user
  // cancels after a failed poll (false). `readReply` runs right after each
  // answered poll, inside the attempt: an error there counts as no answer.
  bool waitForBootLoader(const std::function<void()>& readReply = {});
  // Gauge at 0 and shown, the cancel button hidden, `label` shown.
  void beginWorkPhase(const std::string& label, bool processMessagesBeforeHidingCancel);
  // Percentage `done` of `total`, rounded half to even.
  void showProgress(long done, long total);

  ProgressWindow& progress() { return *progress_; }

 private:
  JobEnvironment environment_;
  std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace vortaboot::operations
