#include "operations/load_firmware_job.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <stdexcept>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "operations/firmware_image.h"
#include "operations/job_messages.h"

namespace vortaboot::operations {
namespace {

constexpr std::size_t kPieceSize = 32;
constexpr std::size_t kPiecesPerPage = FirmwareImage::kPageSize / kPieceSize;
constexpr int kProgramAttempts = 3;
constexpr std::uint32_t kPauseAfterFailedProgramMs = 50;
constexpr std::uint16_t kPieceTimeoutMs = 500;
constexpr std::uint16_t kProgramTimeoutMs = 800;
constexpr std::uint16_t kClosingTimeoutMs = 500;
constexpr std::size_t kMarkedBytes = 20;
constexpr std::array<std::uint8_t, 4> kResetMarker{0x00, 0x55, 0xFF, 0xAA};

bool isRefusedVersion(std::uint16_t version) {
  return version == 0x4000 || version == 0x4100 || version == 0x5000;
}

// The device's verdict on one page; the flags count before the result code.
const char* programPageProblem(std::uint8_t flags, std::uint8_t result) {
  if (flags & 0x01) return message::kLowPower;
  if (flags & 0x02) return message::kEraseFailed;
  switch (result) {
    case 1: return message::kAddressError1;
    case 2: return message::kAddressError2;
    case 3: return message::kWriteFailed1;
    case 4: return message::kWriteFailed2;
    default: return nullptr;
  }
}

class FirmwareLoad {
 public:
  FirmwareLoad(const JobEnvironment& environment, std::filesystem::path file)
      : environment_(environment), link_(environment.link), file_(std::move(file)), frame_(environment) {}

  JobOutcome run() {
    frame_.start();
    if (!frame_.waitForBootLoader()) return JobOutcome::Cancelled;
    try {
      return work();
    } catch (const link::LinkError& error) {
      environment_.host.showError(error.what());
      return JobOutcome::Failed;
    }
  }

 private:
  JobOutcome work() {
    const FirmwareImage image = readImage();
    if (const char* refusal = checkAgainstDevice(image)) {
      environment_.host.showError(refusal);
      return JobOutcome::Failed;
    }
    frame_.beginWorkPhase(message::kLoadingFirmware, false);
    for (std::size_t page = 0; page < image.PageCount(); ++page) {
      if (frame_.progress().cancelRequested()) return JobOutcome::Cancelled;
      sendPage(image.PageBytes(page));
      if (auto failure = programPage(image.PageAddress(page))) {
        environment_.host.showError(*failure);
        return JobOutcome::Failed;
      }
      frame_.showProgress(static_cast<long>(page + 1), static_cast<long>(image.PageCount()));
    }
    markSettingsForReset();
    environment_.host.showInformation(message::kFirmwareLoaded);
    return JobOutcome::Completed;
  }

  FirmwareImage readImage() {
    frame_.progress().setLabel("");
    environment_.host.processMessages();
    return FirmwareImage::LoadFromFile(file_);
  }

  const char* checkAgainstDevice(const FirmwareImage& image) {
    frame_.progress().setLabel(message::kCheckingDevice);
    const std::uint8_t deviceType = link_.ReadByte();
    const std::uint16_t deviceVersion = link_.ReadWord();
    if (deviceType != image.ImageType() || deviceVersion != image.ImageVersion()) {
      return message::kTypeMismatch;
    }
    if (isRefusedVersion(deviceVersion)) return message::kRefusedVersion;
    return nullptr;
  }

  void sendPage(std::span<const std::uint8_t> page) {
    for (std::size_t piece = 0; piece < kPiecesPerPage; ++piece) {
      link_.ReplyTimeout = kPieceTimeoutMs;
      link_.BeginCommand(link::BootAddress, link::PageData);
      link_.AddByte(static_cast<std::uint8_t>(piece));
      for (std::uint8_t byte : page.subspan(piece * kPieceSize, kPieceSize)) link_.AddByte(byte);
      link_.Transact();
    }
  }

  // Up to three attempts; the page's data stays in the device between them.
  // nullopt when the page is programmed, else the last attempt's message.
  std::optional<std::string> programPage(std::uint32_t address) {
    link_.ReplyTimeout = kProgramTimeoutMs;
    std::string failure;
    for (int attempt = 1; attempt <= kProgramAttempts; ++attempt) {
      if (attempt > 1) environment_.clock.sleep(kPauseAfterFailedProgramMs);
      try {
        const char* problem = programOnce(address);
        if (!problem) return std::nullopt;
        failure = problem;
      } catch (const link::LinkError& error) {
        failure = error.what();
      }
    }
    return failure;
  }

  const char* programOnce(std::uint32_t address) {
    link_.BeginCommand(link::BootAddress, link::ProgramPage);
    link_.AddInteger(address);
    link_.Transact();
    const std::uint8_t flags = link_.ReadByte();
    const std::uint8_t result = link_.ReadByte();
    return programPageProblem(flags, result);
  }

  void markSettingsForReset() {
    link_.ReplyTimeout = kClosingTimeoutMs;
    link_.BeginCommand(link::BootAddress, link::ReadBlock);
    link_.AddWord(0);
    link_.Transact();
    std::array<std::uint8_t, kMarkedBytes> head{};
    for (auto& byte : head) byte = link_.ReadByte();
    std::copy(kResetMarker.begin(), kResetMarker.end(), head.end() - kResetMarker.size());

    link_.BeginCommand(link::BootAddress, link::WriteBuffer);
    link_.AddWord(0);
    link_.AddWord(kMarkedBytes);
    for (std::uint8_t byte : head) link_.AddByte(byte);
    link_.Transact();

    link_.BeginCommand(link::BootAddress, link::StoreBuffer);
    link_.AddWord(0);
    link_.AddWord(kMarkedBytes);
    link_.Transact();

    try {
      link_.Command(link::BootAddress, link::Finish);
    } catch (const link::LinkError&) {
      // The device may reset before it answers; the marker is already stored.
    }
  }

  const JobEnvironment& environment_;
  link::TQV_RS& link_;
  std::filesystem::path file_;
  JobFrame frame_;
};

}  // namespace

JobOutcome RunLoadFirmwareJob(const JobEnvironment& environment) {
  const auto file = environment.host.chooseFirmwareFile();
  if (!file) return JobOutcome::NoFile;
  // A file without a whole trailer can never fit a device: refuse it before
  // the port is opened and the user is asked to power-cycle the device.
  std::error_code error;
  const auto size = std::filesystem::file_size(*file, error);
  try {
    if (!error) FirmwareImage::RequireTrailer(size);
  } catch (const FirmwareImageError& refusal) {
    environment.host.showError(refusal.what());
    return JobOutcome::Failed;
  }
  return FirmwareLoad(environment, *file).run();
}

}  // namespace vortaboot::operations
