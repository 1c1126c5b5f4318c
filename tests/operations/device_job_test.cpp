// The frame every job shares, seen through the settings read job, which
// adds nothing of its own before the boot loader answers.

#include <gtest/gtest.h>

#include <algorithm>

#include "job_rig.h"
#include "link/boot_commands.h"
#include "operations/read_settings_job.h"
#include "temp_folder.h"

namespace vortaboot::operations {
namespace {

using testing::JobRig;

// A device that leaves its first `polls` Identify requests unanswered.
sim::DeviceSetup silentFor(unsigned polls) {
  sim::DeviceSetup setup;
  setup.silentPolls = polls;
  return setup;
}

struct WaitingJob : ::testing::Test {
  JobOutcome run() {
    return RunReadSettingsJob(rig.environment(), {folder.path(), [] { return LocalDateTime{2024, 12, 4, 9, 5}; }});
  }
  testing::TempFolder folder;
  JobRig rig{silentFor(1000)};
};

TEST_F(WaitingJob, DeviceThatNeverAnswersWaitsUntilCancelled) {
  int polls = 0;
  rig.link.line.peer = [&, inner = rig.link.line.peer](const testing::Bytes& frame) {
    ++polls;
    inner(frame);
  };
  rig.host.onPump = [&] { rig.host.cancelClicked = polls >= 3 * 4; };
  EXPECT_EQ(run(), JobOutcome::Cancelled);
  EXPECT_TRUE(rig.host.errors.empty());
  EXPECT_TRUE(rig.host.informations.empty());
  EXPECT_FALSE(rig.portOpen());
  EXPECT_FALSE(rig.host.windowAlive);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << "no settings file";
  EXPECT_EQ(rig.host.labels(), std::vector<std::string>{"Переподключите питание МК"});
  EXPECT_EQ(rig.rs->ReplyTimeout, 100);
}

TEST_F(WaitingJob, BetweenFailedPollsThePortIsReopenedAndThreeHundredMillisecondsPass) {
  int pumps = 0;  // one right after the window is shown, then one per failed poll
  rig.host.onPump = [&] { rig.host.cancelClicked = ++pumps == 1 + 3; };
  EXPECT_EQ(run(), JobOutcome::Cancelled);
  const auto& sleeps = rig.link.clock.sleeps;
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 300u), 2) << "none after the poll that saw the cancel";
  const auto& events = rig.link.line.events;
  EXPECT_EQ(std::count(events.begin(), events.end(), "open"), 3) << "opened at the start and after two polls";
  EXPECT_EQ(events.back(), "close");
  EXPECT_EQ(rig.link.line.writes.size(), 9u) << "three Identify attempts per poll";
}

TEST(JobFrame, PowerCycledDeviceIsFoundAfterSilentPolls) {
  JobRig rig(silentFor(7));
  testing::TempFolder folder;
  EXPECT_EQ(RunReadSettingsJob(rig.environment(), {folder.path(), [] { return LocalDateTime{2024, 1, 1, 0, 0}; }}),
            JobOutcome::Completed);
  const auto codes = rig.codes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), link::Identify), 8);
  EXPECT_EQ(std::count(rig.link.clock.sleeps.begin(), rig.link.clock.sleeps.end(), 300u), 2)
      << "7 unanswered attempts are two whole failed polls and the first of the third";
}

TEST(JobFrame, NoPortAtAllKeepsWaitingWithoutFurtherMessages) {
  JobRig rig;
  rig.link.ports.present.clear();
  rig.rs->ScanPorts();
  testing::TempFolder folder;
  int pumps = 0;
  rig.host.onPump = [&] { rig.host.cancelClicked = ++pumps == 4; };
  EXPECT_EQ(RunReadSettingsJob(rig.environment(), {folder.path(), [] { return LocalDateTime{}; }}),
            JobOutcome::Cancelled);
  EXPECT_EQ(rig.link.ui.errors, std::vector<std::string>{"Нет свободного COM-порта!"}) << "once, at the first open";
  EXPECT_EQ(rig.rs->PortNumber, 0);
}

}  // namespace
}  // namespace vortaboot::operations
