#include "link/qv_rs_base.h"

#include <string>
#include <vector>

#include "link/link_messages.h"
#include "platform/ini_file.h"

namespace vortaboot::link {

TQV_RS_Base::TQV_RS_Base(const LinkEnvironment& environment) : environment_(environment) {
  if (ScanPorts() == 0) {
    environment_.ui.showError(message::kNoFreePort);
    return;
  }
  PortNumber = FirstAvailablePort();
  BaudRate = 115200;
  ByteSize = 8;
  Parity = 0;
  StopBits = 2;
  SectionName = "RS232Base";
}

TQV_RS_Base::~TQV_RS_Base() { PortHandle.reset(); }

bool TQV_RS_Base::PortExists(int n) { return environment_.ports.probe(n); }

int TQV_RS_Base::ScanPorts() {
  PortHandle.reset();
  int found = 0;
  for (int n = 1; n <= kPortCount; ++n) {
    PortAvailable[n] = PortExists(n);
    if (PortAvailable[n]) ++found;
  }
  return found;
}

int TQV_RS_Base::FirstAvailablePort() const {
  for (int n = 1; n <= kPortCount; ++n) {
    if (PortAvailable[n]) return n;
  }
  return 0;
}

void TQV_RS_Base::OpenPort(int n) {
  if (n <= 0) return;
  PortNumber = n;
  if (n > kPortCount || !PortAvailable[n]) PortNumber = FirstAvailablePort();
  if (PortNumber == 0) {
    environment_.ui.showError(message::kNoFreePort);
    return;
  }
  ClosePort();
  PortHandle = environment_.ports.open(PortNumber);
  if (!PortHandle) return;
  PortHandle->setQueueSizes(kQueueSize, kQueueSize);
  SetBaudRate(BaudRate);
  SetByteSize(ByteSize);
  SetParity(Parity);
  SetStopBits(StopBits);
  PortHandle->setTimeouts({platform::kNoWait, 0, 0, 0, 0});
  SetDTR();
  PortHandle->purgeReceive();
}

void TQV_RS_Base::ClosePort() { PortHandle.reset(); }

void TQV_RS_Base::SetPortOpen(bool open) {
  if (open) {
    OpenPort(PortNumber);
  } else {
    ClosePort();
  }
}

// Reads the whole line state, changes one field and writes it back, so the
// driver's other settings stay as they are.
template <typename Change>
void TQV_RS_Base::changeLineState(Change change) {
  platform::LineState state;
  if (!PortHandle || !PortHandle->getLineState(state)) return;
  change(state);
  PortHandle->setLineState(state);
}

void TQV_RS_Base::SetBaudRate(std::uint32_t rate) {
  BaudRate = rate;
  changeLineState([rate](platform::LineState& state) { state.baudRate = rate; });
  platform::LineState accepted;
  if (PortHandle && PortHandle->getLineState(accepted) && accepted.baudRate != 0) {
    BaudRate = accepted.baudRate;
  }
}

void TQV_RS_Base::SetByteSize(std::uint8_t value) {
  ByteSize = value;
  changeLineState([value](platform::LineState& state) { state.byteSize = value; });
}

void TQV_RS_Base::SetParity(std::uint8_t value) {
  Parity = value;
  changeLineState([value](platform::LineState& state) { state.parity = value; });
}

void TQV_RS_Base::SetStopBits(std::uint8_t value) {
  StopBits = value;
  changeLineState([value](platform::LineState& state) { state.stopBits = value; });
}

void TQV_RS_Base::setModemLine(platform::ModemLine line, bool on) {
  if (PortHandle) PortHandle->setModemLine(line, on);
}

void TQV_RS_Base::SetDTR() { setModemLine(platform::ModemLine::DTR, true); }
void TQV_RS_Base::SetRTS() { setModemLine(platform::ModemLine::RTS, true); }
void TQV_RS_Base::ClearRTS() { setModemLine(platform::ModemLine::RTS, false); }

void TQV_RS_Base::LoadFromIni(platform::IniFile& file) {
  TQVBaseInterface::LoadFromIni(file);
  OpenPort(file.ReadInteger(SectionName, "Port", PortNumber));
}

void TQV_RS_Base::SaveToIni(platform::IniFile& file) {
  TQVBaseInterface::SaveToIni(file);
  file.WriteInteger(SectionName, "Port", PortNumber);
}

// Shows the port-number dialog over the available ports; returns the chosen
// port, or the current one when cancelled or confirmed with nothing chosen.
int TQV_RS_Base::chooseFromAvailablePorts() {
  std::vector<std::string> items;
  int selected = -1;
  for (int n = 1; n <= kPortCount; ++n) {
    if (!PortAvailable[n]) continue;
    if (n == PortNumber) selected = static_cast<int>(items.size());
    items.push_back("COM" + std::to_string(n));
  }
  const auto choice = environment_.ui.choosePort(items, selected);
  if (!choice || *choice < 0 || *choice >= static_cast<int>(items.size())) return PortNumber;
  return std::stoi(items[*choice].substr(3));
}

void TQV_RS_Base::SelectPort() {
  PortHandle.reset();
  if (ScanPorts() == 0) {
    environment_.ui.showError(message::kNoFreePort);
    return;
  }
  PortNumber = chooseFromAvailablePorts();
  ClosePort();
  OpenPort(PortNumber);
}

}  // namespace vortaboot::link
