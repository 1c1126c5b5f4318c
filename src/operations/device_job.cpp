#include "operations/device_job.h"

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link/round_half_even.h"
#include "operations/job_messages.h"

namespace vortaboot::operations {

JobFrame::JobFrame(const JobEnvironment& environment) : environment_(environment) {}

JobFrame::~JobFrame() {
  progress_.reset();
  environment_.link.SetPortOpen(false);
}

void JobFrame::start() {
  environment_.link.SetPortOpen(true);
  environment_.link.SetBaudRate(kJobBaudRate);
  progress_ = environment_.host.createProgressWindow();
  progress_->setCancelVisible(true);
  progress_->setLabel(message::kPowerCycle);
  progress_->setGaugeVisible(false);
}

bool JobFrame::waitForBootLoader(const std::function<void()>& readReply) {
  auto& link = environment_.link;
  for (;;) {
    link.ReplyTimeout = kIdentifyTimeoutMs;
    try {
      link.Command(link::BootAddress, link::Identify);
      if (readReply) readReply();
      return true;
    } catch (const link::LinkError&) {
      // The device is still off or starting: poll again.
    }
    environment_.host.processMessages();
    if (progress_->cancelRequested()) return false;
    link.SetPortOpen(true);
    environment_.clock.sleep(kPauseBetweenPollsMs);
  }
}

void JobFrame::beginWorkPhase(const std::string& label, bool processMessagesBeforeHidingCancel) {
  progress_->setLabel(label);
  progress_->setGauge(0);
  progress_->setGaugeVisible(true);
  if (processMessagesBeforeHidingCancel) environment_.host.processMessages();
  progress_->setCancelVisible(false);
}

void JobFrame::showProgress(long done, long total) {
  progress_->setGauge(static_cast<int>(link::RoundHalfEven(100.0 * done / total)));
}

}  // namespace vortaboot::operations
