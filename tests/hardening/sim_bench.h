#pragma once
// vortaboot-cli against a vortaboot-sim of its own: a temporary ports folder,
// the device's memories in files, the command timed, and afterwards a check
// that the device still answers on the same port.

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "temp_folder.h"

namespace vortaboot::testing {

using Bytes = std::vector<std::uint8_t>;

struct CliRun {
  std::optional<int> status;  // nullopt: still running at the limit, then killed
  std::string output;
  std::string errors;
  std::chrono::milliseconds took{0};

  // True when `text` is one whole line of the output or error stream.
  bool saysOnOutput(const std::string& text) const;
  bool saysOnErrors(const std::string& text) const;
};

struct ProgrammedPage {
  std::uint32_t address;
  Bytes bytes;
};

class SimBench {
 public:
  SimBench();
  ~SimBench();

  // Starts the simulator on COM1 with `options`, its memories in this
  // bench's files (settings written beforehand are loaded).
  void startSim(const std::vector<std::string>& options = {});
  // SIGTERM: the simulator saves its memories and removes its port.
  void stopSim();
  // SIGKILL: the device vanishes, its terminal with it.
  void killSim();

  CliRun cli(const std::vector<std::string>& arguments,
             std::chrono::milliseconds limit = std::chrono::seconds(60)) const;
  // The command started but not waited for.
  std::unique_ptr<ChildProcess> startCli(const std::vector<std::string>& arguments) const;

  // An Identify over COM1 through the program's own link gets an answer.
  bool deviceAnswers() const;

  std::filesystem::path makeRom(int pages, const std::string& version = "0x0104") const;
  std::filesystem::path writeFile(const std::string& name, const Bytes& bytes) const;

  // The memories the simulator saved when it stopped.
  Bytes deviceSettings() const;
  std::vector<ProgrammedPage> devicePages() const;
  std::vector<std::filesystem::path> outputFiles() const;

  const std::filesystem::path& outFolder() const { return out_; }
  std::filesystem::path path(const std::string& name) const { return folder_ / name; }
  std::vector<std::string> simLog() const;

 private:
  std::map<std::string, std::string> environment() const;

  TempFolder folder_;
  std::filesystem::path ports_;
  std::filesystem::path out_;
  std::unique_ptr<ChildProcess> sim_;
};

}  // namespace vortaboot::testing
