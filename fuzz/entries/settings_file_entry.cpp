// Settings files of any size and content against a device range table of any
// content: the file is taken apart and put together again unchanged, its
// range plan stays inside the file, and the write job changes no byte of the
// device that the plan does not carry from the file.

#include <algorithm>
#include <optional>

#include "byte_source.h"
#include "fuzz_entries.h"
#include "job_rig.h"
#include "operations/range_table.h"
#include "operations/range_writes.h"
#include "operations/settings_file.h"
#include "operations/settings_file_error.h"
#include "operations/write_settings_job.h"
#include "scratch_folder.h"
#include "sim/default_settings.h"

namespace vortaboot::fuzz {
namespace {

using operations::RangeWrite;
using Bytes = std::vector<std::uint8_t>;
using Space = std::array<std::uint8_t, sim::SettingsSpace::kSize>;

std::optional<operations::SettingsFile> TakeApart(FuzzInput file) {
  try {
    auto settings = operations::TakeSettingsFileApart(file);
    Require(file.size() >= 2, "a file without a whole version word was taken apart");
    const Bytes again = operations::ComposeSettingsFile(settings.deviceVersion, settings.settingsData);
    Require(std::equal(again.begin(), again.end(), file.begin(), file.end()), "the file does not compose back");
    return settings;
  } catch (const operations::SettingsFileError&) {
    Require(file.size() < 2, "a file with a version word was refused");
    return std::nullopt;
  }
}

void CheckWrite(const RangeWrite& write, const Bytes& data, const Bytes& deviceTable) {
  const std::uint16_t fileLength = operations::RangeLength(data, write.entry);
  const std::uint16_t deviceLength = operations::RangeLength(deviceTable, write.entry);
  Require(write.dataPosition + write.byteCount <= data.size(), "a range reaches past the file");
  Require(write.dataPosition + operations::kSettingsDataOrigin == operations::RangeOffset(data, write.entry),
          "a range is taken from elsewhere than the file's offset");
  Require(write.deviceOffset == operations::RangeOffset(deviceTable, write.entry), "a range goes elsewhere");
  Require(write.byteCount + 4u == std::min(fileLength, deviceLength), "a range carries the wrong length");
  Require(write.deviceLength + 4u == deviceLength, "the device is told the wrong length");
}

std::optional<std::vector<RangeWrite>> Plan(const Bytes& data, const Bytes& deviceTable) {
  try {
    const auto plan = operations::PlanRangeWrites(data, deviceTable);
    const unsigned count = std::min(operations::EntryCount(data), operations::EntryCount(deviceTable));
    Require(plan.size() == count && count <= operations::kMaxEntryCount, "wrong number of ranges planned");
    for (std::size_t i = 0; i < plan.size(); ++i) {
      Require(plan[i].entry == i + 1, "ranges planned out of order");
      CheckWrite(plan[i], data, deviceTable);
    }
    return plan;
  } catch (const operations::SettingsFileError&) {
    return std::nullopt;
  }
}

// The device's settings space once every planned range has been written.
Space Expected(Space space, const std::vector<RangeWrite>& plan, const Bytes& data) {
  for (const auto& write : plan) {
    for (std::size_t p = 0; p < write.byteCount && write.deviceOffset + p < space.size(); ++p) {
      space[write.deviceOffset + p] = data[write.dataPosition + p];
    }
  }
  return space;
}

void WriteIntoDevice(FuzzInput file, const operations::SettingsFile& settings, const Bytes& deviceTable,
                     const std::optional<std::vector<RangeWrite>>& plan) {
  sim::DeviceSetup setup;
  setup.identity.deviceVersion = settings.deviceVersion;
  testing::JobRig rig(setup);
  auto& space = rig.boot().settings.bytes;
  std::copy(deviceTable.begin(), deviceTable.end(), space.begin() + sim::kRangeTableOffset);
  const Space before = space;
  rig.host.settingsFile = ScratchFile("saved.pset", file);

  const auto outcome = operations::RunWriteSettingsJob(rig.environment());
  const bool versionsMatch = settings.settingsData.size() >= 4 &&
                             operations::TableVersion(settings.settingsData) == deviceTable[1];
  Require(!rig.portOpen(), "the port was left open");
  if (outcome != operations::JobOutcome::Completed) {
    Require(!versionsMatch || !plan, "a file the plan accepts was refused");
    Require(space == before, "a refused file changed the device");
    return;
  }
  Require(versionsMatch && plan, "a file the checks refuse was written");
  Require(space == Expected(before, *plan, settings.settingsData), "the device holds what the file did not give");
}

}  // namespace

void FuzzSettingsFile(FuzzInput input) {
  ByteSource source(input);
  Bytes deviceTable = source.take(operations::kDeviceTableSize);
  deviceTable.resize(operations::kDeviceTableSize);
  const FuzzInput file = source.rest();

  const auto settings = TakeApart(file);
  if (!settings) return;
  try {
    operations::TableVersion(settings->settingsData);
    Require(settings->settingsData.size() >= 4, "a table without its head was read");
  } catch (const operations::SettingsFileError&) {
    Require(settings->settingsData.size() < 4, "a table with its head was refused");
  }
  const auto plan = settings->settingsData.size() >= 4 ? Plan(settings->settingsData, deviceTable) : std::nullopt;
  WriteIntoDevice(file, *settings, deviceTable, plan);
}

}  // namespace vortaboot::fuzz
