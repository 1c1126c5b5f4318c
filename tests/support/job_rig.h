#pragma once
// A device job against the simulated device on a scripted line and virtual
// time, with the link set up as start-up leaves it.

#include <memory>

#include "link_fixture.h"
#include "operations/device_job.h"
#include "scripted_host.h"
#include "sim/frame.h"
#include "simulated_device.h"

namespace vortaboot::testing {

struct JobRig {
  explicit JobRig(sim::DeviceSetup setup = {}) : device(link.line, std::move(setup)) {
    rs = std::make_unique<link::TQV_RS>(link.environment());
    rs->SetBaudRate(19200);
    rs->SetPortOpen(false);
    rs->SetPortType(2);
    rs->ReplyTimeout = 100;
  }

  operations::JobEnvironment environment() { return {*rs, host, link.clock}; }
  sim::BootDevice& boot() { return device.device; }

  // The requests the job sent, in order.
  std::vector<sim::Request> requests() const {
    std::vector<sim::Request> sent;
    for (const auto& frame : link.line.writes) {
      if (auto request = sim::parseRequest(frame)) sent.push_back(*request);
    }
    return sent;
  }
  std::vector<std::uint8_t> codes() const {
    std::vector<std::uint8_t> sent;
    for (const auto& request : requests()) sent.push_back(request.code);
    return sent;
  }
  bool portOpen() const { return rs->PortHandle != nullptr; }

  LinkRig link;
  SimulatedDevice device;
  ScriptedHost host;
  std::unique_ptr<link::TQV_RS> rs;
};

}  // namespace vortaboot::testing
