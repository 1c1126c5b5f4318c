#include "sim/reply_fault.h"

#include <array>
#include <utility>

namespace vortaboot::sim {
namespace {

constexpr std::uint8_t kLengthBelowShortest = 5;

constexpr std::array<std::pair<std::string_view, ReplyFault>, 7> kNames{{
    {"silent", ReplyFault::NoReply},
    {"checksum", ReplyFault::BadChecksum},
    {"header", ReplyFault::EmptyHeader},
    {"busy", ReplyFault::Busy},
    {"length", ReplyFault::ShortLength},
    {"truncated", ReplyFault::Truncated},
    {"short", ReplyFault::ShortPayload},
}};

Bytes withHalfThePayload(const Bytes& reply) {
  const std::size_t payload = reply.size() - kReplyOverhead;
  Bytes shorter(reply.begin(), reply.begin() + 5 + payload / 2);
  shorter.push_back(0);
  seal(shorter);
  return shorter;
}

}  // namespace

std::optional<ReplyFault> replyFaultNamed(std::string_view name) {
  for (auto [known, fault] : kNames) {
    if (known == name) return fault;
  }
  return std::nullopt;
}

bool refusesCommand(ReplyFault fault) {
  return fault == ReplyFault::NoReply || fault == ReplyFault::Busy;
}

Bytes damage(Bytes reply, ReplyFault fault) {
  switch (fault) {
    case ReplyFault::NoReply: return {};
    case ReplyFault::BadChecksum: ++reply.back(); break;
    case ReplyFault::EmptyHeader:
      reply[1] = reply[2] = reply[3] = 0;
      seal(reply);
      break;
    case ReplyFault::Busy:
      reply = makeReply({}, kStatusBusy);
      break;
    case ReplyFault::ShortLength: reply[0] = kLengthBelowShortest; break;
    case ReplyFault::Truncated: reply.resize(reply.size() / 2); break;
    case ReplyFault::ShortPayload: reply = withHalfThePayload(reply); break;
  }
  return reply;
}

}  // namespace vortaboot::sim
