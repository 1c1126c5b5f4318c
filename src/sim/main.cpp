// vortaboot-sim: a simulated boot loader device on a pseudo-terminal,
// registered as a COM port, for trying the program out without hardware.

#include <fstream>
#include <iostream>
#include <memory>

#include "platform/posix/port_map.h"
#include "sim/firmware_rom.h"
#include "sim/help_text.h"
#include "sim/line_server.h"
#include "sim/memory_files.h"
#include "sim/port_registration.h"
#include "platform/pseudo_terminal.h"
#include "platform/stop_signals.h"
#include "sim/sim_options.h"

using namespace vortaboot::sim;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void writeRom(const SimOptions& options) {
  const RomRequest& rom = *options.makeRom;
  const Bytes image = makeFirmwareImage(rom.pages, options.device.identity, rom.base);
  std::ofstream out(rom.file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  out.close();
  if (!out) throw MemoryFileError("не удалось записать " + rom.file);
}

void loadMemories(const SimOptions& options, BootDevice& device) {
  if (!options.settingsFile.empty()) loadSettings(options.settingsFile, device.settings);
  if (!options.programFile.empty()) loadProgram(options.programFile, device.program);
}

void saveMemories(const SimOptions& options, const BootDevice& device) {
  if (!options.settingsFile.empty()) saveSettings(options.settingsFile, device.settings);
  if (!options.programFile.empty()) saveProgram(options.programFile, device.program);
}

std::unique_ptr<std::ofstream> openLog(const std::string& file) {
  if (file.empty()) return nullptr;
  auto out = std::make_unique<std::ofstream>(file, std::ios::trunc);
  if (!*out) throw MemoryFileError("не удалось открыть журнал " + file);
  return out;
}

int runSimulator(const SimOptions& options) {
  vortaboot::platform::catchStopSignals();
  BootDevice device(options.device);
  loadMemories(options, device);
  const auto logFile = openLog(options.logFile);
  const auto start = std::chrono::steady_clock::now();
  std::optional<FrameLog> log;
  if (logFile) log.emplace(*logFile, start);

  vortaboot::platform::PseudoTerminal terminal;
  const auto folder = vortaboot::platform::portLocationsFromEnvironment().portsFolder;
  PortRegistration registration(folder, options.comNumber, terminal.slaveName());
  std::cout << "vortaboot-sim: COM" << options.comNumber << " -> " << terminal.slaveName() << std::endl;

  LineServer server(terminal, device, {options.echo, options.paceBaud}, log ? &*log : nullptr);
  server.serveUntil(vortaboot::platform::stopRequested);
  saveMemories(options, device);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  try {
    options = parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const OptionError& error) {
    std::cerr << "vortaboot-sim: " << error.what() << "\nПодробнее: vortaboot-sim --help\n";
    return kUsage;
  }
  try {
    if (options.help) {
      std::cout << simHelpText();
    } else if (options.makeRom) {
      writeRom(options);
    } else {
      return runSimulator(options);
    }
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "vortaboot-sim: " << error.what() << "\n";
    return kFailed;
  }
}
