#pragma once
// Faults the device can be told to show in its replies.

#include <optional>
#include <string_view>

#include "sim/command_selector.h"
#include "sim/frame.h"

namespace vortaboot::sim {

enum class ReplyFault {
  NoReply,        // the command is not carried out and nothing is sent
  BadChecksum,    // the checksum byte is off by one
  EmptyHeader,    // the three header bytes are 0 (checksum still right)
  Busy,           // status 255, no payload; the command is not carried out
  ShortLength,    // the length byte says 5, the rest is sent unchanged
  Truncated,      // only the first half of the reply's bytes is sent
  ShortPayload,   // a well-formed reply carrying only half of its payload
};

struct FaultRule {
  ReplyFault fault;
  CommandSelector when;
};

// The kind for its option name ("silent", "checksum", ...), nullopt if unknown.
std::optional<ReplyFault> replyFaultNamed(std::string_view name);

// True for the faults that stand for a command the device did not take.
bool refusesCommand(ReplyFault fault);

// `reply` damaged as `fault` says: empty for NoReply, a busy reply for Busy.
Bytes damage(Bytes reply, ReplyFault fault);

}  // namespace vortaboot::sim
