#include "sim_bench.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <sstream>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link/qv_rs232.h"
#include "operations/file_bytes.h"
#include "recording_ui.h"

namespace vortaboot::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kSim = VORTABOOT_SIM_PATH;
const std::string kCli = VORTABOOT_CLI_PATH;

bool HasLine(const std::string& text, const std::string& line) {
  std::istringstream lines(text);
  std::string each;
  while (std::getline(lines, each)) {
    if (each == line) return true;
  }
  return false;
}

std::uint32_t LongAt(const Bytes& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

bool CliRun::saysOnOutput(const std::string& text) const { return HasLine(output, text); }
bool CliRun::saysOnErrors(const std::string& text) const { return HasLine(errors, text); }

SimBench::SimBench() : ports_(folder_ / "ports"), out_(folder_ / "out") {
  fs::create_directory(ports_);
  fs::create_directory(out_);
}

SimBench::~SimBench() {
  if (sim_) killSim();
}

std::map<std::string, std::string> SimBench::environment() const {
  return {{"VORTABOOT_PORTS", ports_.string()}};
}

void SimBench::startSim(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = options;
  arguments.insert(arguments.end(), {"--settings", path("settings.bin").string(), "--program",
                                     path("program.bin").string(), "--log", path("sim.log").string()});
  sim_ = std::make_unique<ChildProcess>(kSim, arguments, environment());
  const auto ready = sim_->readLine(5s);
  ASSERT_TRUE(ready && ready->find("COM1") != std::string::npos) << sim_->errors();
}

void SimBench::stopSim() {
  sim_->signal(SIGTERM);
  EXPECT_EQ(sim_->wait(5s), 0) << sim_->errors();
  sim_.reset();
}

void SimBench::killSim() {
  sim_->signal(SIGKILL);
  sim_->wait(5s);
  sim_.reset();
}

CliRun SimBench::cli(const std::vector<std::string>& arguments, std::chrono::milliseconds limit) const {
  const auto start = std::chrono::steady_clock::now();
  const Finished finished = RunToEnd(kCli, arguments, environment(), limit);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return {finished.status, finished.output, finished.errors, took};
}

std::unique_ptr<ChildProcess> SimBench::startCli(const std::vector<std::string>& arguments) const {
  return std::make_unique<ChildProcess>(kCli, arguments, environment());
}

bool SimBench::deviceAnswers() const {
  ::setenv("VORTABOOT_PORTS", ports_.c_str(), 1);
  const auto ports = platform::makeSystemPortProvider();
  RecordingUi ui;
  RecordingPriority priority;
  link::TQV_RS rs({*ports, platform::systemClock(), priority, ui});
  rs.SetBaudRate(19200);
  rs.SetPortType(2);
  rs.ReplyTimeout = 100;
  rs.SetPortOpen(true);
  try {
    rs.Command(link::BootAddress, link::Identify);
    return true;
  } catch (const link::LinkError&) {
    return false;
  }
}

fs::path SimBench::makeRom(int pages, const std::string& version) const {
  const fs::path rom = path("image.rom");
  const auto made = RunToEnd(kSim, {"--make-rom", rom.string(), "--pages", std::to_string(pages), "--version", version});
  EXPECT_EQ(made.status, 0) << made.errors;
  return rom;
}

fs::path SimBench::writeFile(const std::string& name, const Bytes& bytes) const {
  const fs::path file = path(name);
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file;
}

Bytes SimBench::deviceSettings() const { return operations::ReadFileBytes(path("settings.bin")).value_or(Bytes{}); }

std::vector<ProgrammedPage> SimBench::devicePages() const {
  const Bytes file = operations::ReadFileBytes(path("program.bin")).value_or(Bytes{});
  std::vector<ProgrammedPage> pages;
  for (std::size_t at = 0; at + 4 + 2048 <= file.size(); at += 4 + 2048) {
    pages.push_back({LongAt(file, at), Bytes(file.begin() + at + 4, file.begin() + at + 4 + 2048)});
  }
  return pages;
}

std::vector<fs::path> SimBench::outputFiles() const {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(out_)) files.push_back(entry.path());
  return files;
}

std::vector<std::string> SimBench::simLog() const {
  std::ifstream log(path("sim.log"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}

}  // namespace vortaboot::testing
