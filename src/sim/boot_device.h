#pragma once
// A simulated boot loader: takes one request frame and gives the reply frame
// to send back, or nothing. Requests with a bad checksum, another address, an
// unknown code or arguments of the wrong size are left unanswered. Sending,
// echo and timing belong to whoever carries the bytes.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "sim/frame.h"
#include "sim/program_memory.h"
#include "sim/program_status.h"
#include "sim/reply_fault.h"
#include "sim/settings_space.h"
#include "sim/settings_staging.h"

namespace vortaboot::sim {

struct DeviceIdentity {
  std::uint8_t deviceType = 0x2A;
  std::uint16_t deviceVersion = 0x0104;
};

struct DeviceSetup {
  DeviceIdentity identity;
  // Identify polls left unanswered first, as by a device not yet powered up.
  unsigned silentPolls = 0;
  // For each command the first rule that selects it applies.
  std::vector<FaultRule> faults;
  // Likewise; a ProgramPage no rule selects reports flags 0, result code 0.
  std::vector<ProgramStatusRule> programStatus;
};

class BootDevice {
 public:
  // The settings space starts with the default settings.
  explicit BootDevice(DeviceSetup setup = {});

  Bytes handle(const Bytes& request);

  DeviceSetup setup;
  SettingsSpace settings;
  ProgramMemory program;

 private:
  CommandNumber count(std::uint8_t code);
  bool ignoresPoll(std::uint8_t code);
  std::optional<ReplyFault> faultFor(const CommandNumber& number) const;
  ProgramStatus programStatusFor(const CommandNumber& number) const;

  // The reply's payload; nullopt for a request the device cannot take.
  std::optional<Bytes> carryOut(const Request& request, const CommandNumber& number);
  Bytes identify() const;
  std::optional<Bytes> readBlock(const Bytes& arguments) const;
  std::optional<Bytes> openRange(const Bytes& arguments);
  std::optional<Bytes> writeBuffer(const Bytes& arguments);
  std::optional<Bytes> storeBuffer(const Bytes& arguments);
  std::optional<Bytes> pageData(const Bytes& arguments);
  std::optional<Bytes> programPage(const Bytes& arguments, const CommandNumber& number);

  PageBuffer pageBuffer_;
  SettingsStaging staging_;
  std::uint32_t received_ = 0;
  std::map<std::uint8_t, std::uint32_t> receivedOfCode_;
  unsigned pollsIgnored_ = 0;
};

}  // namespace vortaboot::sim
