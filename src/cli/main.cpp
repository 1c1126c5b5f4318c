// vortaboot-cli: the three device jobs, one command each.

#include <iostream>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/info_command.h"
#include "cli/job_command.h"

using namespace vortaboot::cli;

namespace {

int run(const CommandLine& line) {
  switch (line.verb) {
    case Verb::Help:
      std::cout << HelpText();
      return kSuccess;
    case Verb::Version:
      std::cout << "vortaboot-cli " VORTABOOT_VERSION "\n";
      return kSuccess;
    case Verb::Info:
      PrintFileInfo(line.file, std::cout);
      return kSuccess;
    case Verb::Ports:
      PrintPorts(*vortaboot::platform::makeSystemPortProvider(), std::cout);
      return kSuccess;
    default:
      return RunJobCommand(line, *vortaboot::platform::makeSystemPortProvider(), std::cout, std::cerr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc)));
  } catch (const UsageError& error) {
    std::cerr << "vortaboot-cli: " << error.what() << "\nПодробнее: vortaboot-cli --help\n";
    return kUsage;
  }
}
