#pragma once
// The command line of vortaboot-cli, parsed.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vortaboot::cli {

enum class Verb { Help, Version, Ports, ReadSettings, LoadFirmware, WriteSettings, Info };

struct CommandLine {
  Verb verb = Verb::Help;
  std::filesystem::path file;             // load-firmware, write-settings, info
  std::optional<int> port;                // --port N
  std::filesystem::path folder = ".";     // --dir DIR
  std::optional<double> waitSeconds;      // --wait SEC
  bool trace = false;                     // --trace
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws UsageError with a message for the user.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText();

}  // namespace vortaboot::cli
