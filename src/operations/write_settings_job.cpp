#include "operations/write_settings_job.h"

#include <stdexcept>
#include <vector>

#include "link/boot_commands.h"
#include "operations/block_reader.h"
#include "operations/file_bytes.h"
#include "operations/job_messages.h"
#include "operations/range_table.h"
#include "operations/range_writes.h"
#include "operations/settings_file.h"
#include "operations/settings_file_error.h"

namespace vortaboot::operations {
namespace {

constexpr int kTableBlocks = 3;  // the range table head and entries 1 to 23
constexpr std::uint16_t kReadTimeoutMs = 500;
constexpr std::uint16_t kRangeTimeoutMs = 3000;
constexpr std::uint16_t kPieceSize = 32;

class SettingsFileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SettingsWrite {
 public:
  explicit SettingsWrite(const JobEnvironment& environment)
      : environment_(environment), link_(environment.link), frame_(environment) {}

  JobOutcome run() {
    frame_.start();
    const bool answered = frame_.waitForBootLoader([this] {
      link_.ReadByte();  // DeviceType: the version alone decides
      deviceVersion_ = link_.ReadWord();
    });
    if (!answered) return JobOutcome::Cancelled;
    const auto file = environment_.host.chooseSettingsFile();
    if (!file) return JobOutcome::NoFile;
    try {
      return write(load(*file));
    } catch (const SettingsFileError& error) {
      environment_.host.showError(error.what());
      return JobOutcome::Failed;
    }
  }

 private:
  static SettingsFile load(const std::filesystem::path& file) {
    const auto bytes = ReadFileBytes(file);
    if (!bytes) throw SettingsFileReadError("Не удалось прочитать файл настроек " + file.string() + ".");
    return TakeSettingsFileApart(*bytes);
  }

  JobOutcome write(const SettingsFile& settings) {
    if (settings.deviceVersion != deviceVersion_) return refuse(message::kDeviceVersionMismatch);
    const std::uint8_t fileTableVersion = TableVersion(settings.settingsData);
    frame_.beginWorkPhase(message::kReadingTable, true);
    link_.ReplyTimeout = kReadTimeoutMs;
    const std::vector<std::uint8_t> deviceTable = ReadSettingsBlocks(link_, frame_, kTableBlocks);
    if (TableVersion(deviceTable) != fileTableVersion) return refuse(message::kTableVersionMismatch);
    const std::vector<RangeWrite> plan = PlanRangeWrites(settings.settingsData, deviceTable);

    frame_.progress().setLabel(message::kWritingSettings);
    frame_.progress().setGauge(0);
    environment_.host.processMessages();
    for (std::size_t i = 0; i < plan.size(); ++i) {
      writeRange(plan[i], settings.settingsData);
      frame_.showProgress(static_cast<long>(i + 1), static_cast<long>(plan.size()));
    }
    environment_.host.showInformation(message::kSettingsWritten);
    return JobOutcome::Completed;
  }

  JobOutcome refuse(const char* text) {
    environment_.host.showError(text);
    return JobOutcome::Failed;
  }

  void writeRange(const RangeWrite& range, const std::vector<std::uint8_t>& settingsData) {
    link_.ReplyTimeout = kRangeTimeoutMs;
    sendRangeCommand(link::OpenRange, range);
    const auto data = std::span(settingsData).subspan(range.dataPosition, range.byteCount);
    for (std::size_t start = 0; start < data.size(); start += kPieceSize) {
      const auto piece = data.subspan(start, std::min<std::size_t>(kPieceSize, data.size() - start));
      link_.BeginCommand(link::BootAddress, link::WriteBuffer);
      link_.AddWord(static_cast<std::uint16_t>(start / kPieceSize));
      link_.AddWord(static_cast<std::uint16_t>(piece.size()));
      for (std::uint8_t byte : piece) link_.AddByte(byte);
      link_.Transact();
    }
    sendRangeCommand(link::StoreBuffer, range);
  }

  void sendRangeCommand(link::BootCommand command, const RangeWrite& range) {
    link_.BeginCommand(link::BootAddress, command);
    link_.AddWord(range.deviceOffset);
    link_.AddWord(range.deviceLength);
    link_.Transact();
  }

  const JobEnvironment& environment_;
  link::TQV_RS& link_;
  JobFrame frame_;
  std::uint16_t deviceVersion_ = 0;
};

}  // namespace

JobOutcome RunWriteSettingsJob(const JobEnvironment& environment) {
  return SettingsWrite(environment).run();
}

}  // namespace vortaboot::operations
