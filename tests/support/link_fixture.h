#pragma once
// A link object on a scripted line and virtual time, with COM1 present.

#include <memory>

#include "link/qv_rs232.h"
#include "recording_ui.h"
#include "scripted_line.h"
#include "virtual_clock.h"

namespace vortaboot::testing {

struct LinkRig {
  explicit LinkRig(std::set<int> presentPorts = {1}) {
    for (int n : presentPorts) ports.attach(n, line);
  }

  link::LinkEnvironment environment() { return {ports, clock, priority, ui}; }

  // The link as start-up leaves it, with the port open for a job.
  std::unique_ptr<link::TQV_RS> openLink(std::uint8_t portType = 2) {
    auto rs = std::make_unique<link::TQV_RS>(environment());
    rs->SetBaudRate(19200);
    rs->SetPortType(portType);
    rs->ReplyTimeout = 100;
    rs->SetPortOpen(true);
    return rs;
  }

  VirtualClock clock{1000};
  ScriptedLine line{clock};
  ScriptedPorts ports;
  RecordingUi ui;
  RecordingPriority priority;
};

}  // namespace vortaboot::testing
