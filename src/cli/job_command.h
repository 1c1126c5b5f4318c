#pragma once
// The three device jobs on the command line.

#include <ostream>

#include "cli/command_line.h"
#include "platform/serial_port.h"

namespace vortaboot::cli {

// Runs the job the command line names and returns the exit status.
int RunJobCommand(const CommandLine& line, platform::PortProvider& ports, std::ostream& out,
                  std::ostream& err);

// `ports`: each COM number that stands for a device, and whether it is free.
void PrintPorts(platform::PortProvider& ports, std::ostream& out);

}  // namespace vortaboot::cli
