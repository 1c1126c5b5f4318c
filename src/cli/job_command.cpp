#include "cli/job_command.h"

#include <string>

#include "cli/exit_codes.h"
#include "cli/frame_trace.h"
#include "cli/interrupts.h"
#include "cli/terminal_host.h"
#include "link/qv_rs232.h"
#include "operations/default_error_text.h"
#include "operations/file_bytes.h"
#include "operations/firmware_image.h"
#include "operations/load_firmware_job.h"
#include "operations/range_table.h"
#include "operations/read_settings_job.h"
#include "operations/settings_file.h"
#include "operations/settings_file_error.h"
#include "operations/write_settings_job.h"
#include "platform/priority.h"
#include "platform/terminal.h"

namespace vortaboot::cli {
namespace {

using operations::JobOutcome;

// Files are refused before the port is opened, so nothing is asked of the
// device for a file that could never be used.
void checkFileBeforehand(const CommandLine& line) {
  if (line.verb != Verb::LoadFirmware && line.verb != Verb::WriteSettings) return;
  const auto bytes = operations::ReadFileBytes(line.file);
  if (!bytes) throw UsageError("не удалось прочитать файл " + line.file.string());
  try {
    if (line.verb == Verb::LoadFirmware) {
      operations::FirmwareImage{*bytes};
    } else {
      operations::TableVersion(operations::TakeSettingsFileApart(*bytes).settingsData);
    }
  } catch (const operations::FirmwareImageError& error) {
    throw UsageError(error.what());
  } catch (const operations::SettingsFileError& error) {
    throw UsageError(error.what());
  }
}

std::string availablePorts(const link::TQV_RS& rs, platform::PortProvider& ports) {
  std::string list;
  for (int n = 1; n <= link::TQV_RS::kPortCount; ++n) {
    if (!rs.PortAvailable[n]) continue;
    list += (list.empty() ? "" : ", ") + ("COM" + std::to_string(n)) + " (" + ports.deviceName(n) + ")";
  }
  return list.empty() ? "нет" : list;
}

// The port the user named must exist: on the command line an explicit
// choice is never replaced by another port.
void choosePort(link::TQV_RS& rs, const CommandLine& line, platform::PortProvider& ports) {
  if (!line.port) return;
  if (!rs.PortAvailable[*line.port]) {
    throw UsageError("COM" + std::to_string(*line.port) + " недоступен; доступные порты: " +
                     availablePorts(rs, ports));
  }
  rs.PortNumber = *line.port;
}

JobOutcome runJob(const CommandLine& line, const operations::JobEnvironment& environment) {
  switch (line.verb) {
    case Verb::ReadSettings:
      return operations::RunReadSettingsJob(environment, {line.folder, operations::CurrentLocalTime});
    case Verb::LoadFirmware:
      return operations::RunLoadFirmwareJob(environment);
    default:
      return operations::RunWriteSettingsJob(environment);
  }
}

int exitStatusOf(JobOutcome outcome, const TerminalHost& host, const CommandLine& line, std::ostream& err) {
  switch (outcome) {
    case JobOutcome::Completed: return kSuccess;
    case JobOutcome::Failed: return kJobFailed;
    case JobOutcome::NoFile: return kUsage;
    case JobOutcome::Cancelled: break;
  }
  if (host.waitExpired()) {
    err << "Загрузчик не ответил за " << *line.waitSeconds << " с.\n";
    return kWaitExpired;
  }
  err << "Прервано.\n";
  return kInterrupted;
}

}  // namespace

int RunJobCommand(const CommandLine& line, platform::PortProvider& ports, std::ostream& out,
                  std::ostream& err) {
  checkFileBeforehand(line);
  InstallInterruptHandlers();
  platform::Clock& clock = platform::systemClock();
  TerminalHost host(out, err, {platform::StandardErrorIsTerminal(), line.file, line.waitSeconds}, clock);
  link::TQV_RS rs({ports, clock, platform::systemPriority(), host});
  choosePort(rs, line, ports);
  if (rs.PortNumber == 0) return kJobFailed;  // "no free port" was shown already
  rs.SetBaudRate(19200);
  rs.SetPortOpen(false);
  rs.SetPortType(2);
  rs.ReplyTimeout = 100;
  FrameTrace trace(err);
  if (line.trace) rs.setFrameObserver(&trace);
  try {
    return exitStatusOf(runJob(line, {rs, host, clock}), host, line, err);
  } catch (const Interrupted&) {
    err << "Прервано.\n";
    return kInterrupted;
  } catch (const std::exception& error) {
    err << operations::DefaultErrorText(error.what()) << '\n';
    return kJobFailed;
  }
}

void PrintPorts(platform::PortProvider& ports, std::ostream& out) {
  bool any = false;
  for (int n = 1; n <= link::TQV_RS::kPortCount; ++n) {
    const std::string device = ports.deviceName(n);
    if (device.empty()) continue;
    any = true;
    out << "COM" << n << '\t' << device << (ports.probe(n) ? "" : "\t(занят или недоступен)") << '\n';
  }
  if (!any) out << "COM-порты не найдены.\n";
}

}  // namespace vortaboot::cli
