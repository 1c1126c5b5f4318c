#include "operations/read_settings_job.h"

#include <ctime>
#include <stdexcept>
#include <vector>

#include "operations/block_reader.h"
#include "operations/job_messages.h"
#include "operations/settings_file.h"
#include "platform/replace_file.h"

namespace vortaboot::operations {
namespace {

constexpr int kLastBlock = 127;
constexpr std::uint16_t kReadTimeoutMs = 500;

class SettingsFileSaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void save(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  const std::string problem = platform::ReplaceFile(file, bytes);
  if (!problem.empty()) {
    throw SettingsFileSaveError("Не удалось записать файл настроек " + file.string() + ": " + problem);
  }
}

}  // namespace

JobOutcome RunReadSettingsJob(const JobEnvironment& environment, const SettingsFileTarget& target) {
  JobFrame frame(environment);
  frame.start();
  environment.host.processMessages();
  std::uint16_t deviceVersion = 0;
  const bool answered = frame.waitForBootLoader([&] {
    environment.link.ReadByte();  // DeviceType: any device's settings can be saved
    deviceVersion = environment.link.ReadWord();
  });
  if (!answered) return JobOutcome::Cancelled;

  frame.beginWorkPhase(message::kReadingSettings, true);
  environment.link.ReplyTimeout = kReadTimeoutMs;
  const auto settingsData = ReadSettingsBlocks(environment.link, frame, kLastBlock);
  const std::string name = SettingsFileName(target.localTime());
  save(target.folder / name, ComposeSettingsFile(deviceVersion, settingsData));
  environment.host.showInformation(message::kSettingsSaved + name);
  return JobOutcome::Completed;
}

LocalDateTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  return {static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
          static_cast<std::uint16_t>(local.tm_mday), static_cast<std::uint16_t>(local.tm_hour),
          static_cast<std::uint16_t>(local.tm_min)};
}

}  // namespace vortaboot::operations
