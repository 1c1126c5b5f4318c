#include "sim/boot_device.h"

#include <span>

#include "sim/command_code.h"
#include "sim/default_settings.h"

namespace vortaboot::sim {
namespace {

constexpr std::size_t kRangeArguments = 4;        // offset (word), length (word)
constexpr std::size_t kPieceHeader = 4;           // piece index (word), byte count (word)
constexpr std::size_t kLargestPiece = 32;

}  // namespace

BootDevice::BootDevice(DeviceSetup deviceSetup)
    : setup(std::move(deviceSetup)), settings(defaultSettings()) {}

Bytes BootDevice::handle(const Bytes& request) {
  const auto parsed = parseRequest(request);
  if (!parsed) return {};
  const CommandNumber number = count(parsed->code);
  if (ignoresPoll(parsed->code)) return {};
  const auto fault = faultFor(number);
  if (fault && refusesCommand(*fault)) return damage(makeReply({}), *fault);
  const auto payload = carryOut(*parsed, number);
  if (!payload) return {};
  Bytes reply = makeReply(*payload);
  return fault ? damage(std::move(reply), *fault) : reply;
}

CommandNumber BootDevice::count(std::uint8_t code) {
  return {code, ++received_, ++receivedOfCode_[code]};
}

bool BootDevice::ignoresPoll(std::uint8_t code) {
  if (code != Identify || pollsIgnored_ >= setup.silentPolls) return false;
  ++pollsIgnored_;
  return true;
}

std::optional<ReplyFault> BootDevice::faultFor(const CommandNumber& number) const {
  for (const auto& rule : setup.faults) {
    if (rule.when.selects(number)) return rule.fault;
  }
  return std::nullopt;
}

ProgramStatus BootDevice::programStatusFor(const CommandNumber& number) const {
  for (const auto& rule : setup.programStatus) {
    if (rule.when.selects(number)) return rule.status;
  }
  return {};
}

std::optional<Bytes> BootDevice::carryOut(const Request& request, const CommandNumber& number) {
  const Bytes& arguments = request.payload;
  switch (request.code) {
    case Identify: return arguments.empty() ? std::optional(identify()) : std::nullopt;
    case ReadBlock: return readBlock(arguments);
    case OpenRange: return openRange(arguments);
    case WriteBuffer: return writeBuffer(arguments);
    case StoreBuffer: return storeBuffer(arguments);
    case PageData: return pageData(arguments);
    case ProgramPage: return programPage(arguments, number);
    case Finish: return arguments.empty() ? std::optional(Bytes{}) : std::nullopt;
    default: return std::nullopt;
  }
}

Bytes BootDevice::identify() const {
  Bytes payload{setup.identity.deviceType};
  appendWord(payload, setup.identity.deviceVersion);
  return payload;
}

std::optional<Bytes> BootDevice::readBlock(const Bytes& arguments) const {
  if (arguments.size() != 2) return std::nullopt;
  return settings.block(wordAt(arguments, 0));
}

std::optional<Bytes> BootDevice::openRange(const Bytes& arguments) {
  if (arguments.size() != kRangeArguments) return std::nullopt;
  staging_.open(wordAt(arguments, 2));
  return Bytes{};
}

std::optional<Bytes> BootDevice::writeBuffer(const Bytes& arguments) {
  if (arguments.size() < kPieceHeader) return std::nullopt;
  const std::uint16_t byteCount = wordAt(arguments, 2);
  if (byteCount < 1 || byteCount > kLargestPiece) return std::nullopt;
  if (arguments.size() != kPieceHeader + byteCount) return std::nullopt;
  staging_.write(wordAt(arguments, 0), std::span(arguments).subspan(kPieceHeader));
  return Bytes{};
}

std::optional<Bytes> BootDevice::storeBuffer(const Bytes& arguments) {
  if (arguments.size() != kRangeArguments) return std::nullopt;
  staging_.storeInto(settings, wordAt(arguments, 0), wordAt(arguments, 2));
  return Bytes{};
}

std::optional<Bytes> BootDevice::pageData(const Bytes& arguments) {
  if (arguments.empty()) return std::nullopt;
  if (!pageBuffer_.fill(arguments[0], std::span(arguments).subspan(1))) return std::nullopt;
  return Bytes{};
}

std::optional<Bytes> BootDevice::programPage(const Bytes& arguments, const CommandNumber& number) {
  if (arguments.size() != 4) return std::nullopt;
  const ProgramStatus status = programStatusFor(number);
  if (status.reportsSuccess()) program[longAt(arguments, 0)] = pageBuffer_.page();
  return Bytes{status.flags, status.resultCode};
}

}  // namespace vortaboot::sim
