// The link's receiving side against whatever the line delivers: every reply
// it accepts must be a whole, summed, well-headed frame, its payload readable
// to the end and no further, and every failure one of the link's messages.

#include <algorithm>
#include <set>
#include <string>

#include "byte_source.h"
#include "fuzz_entries.h"
#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link/link_messages.h"
#include "link_fixture.h"

namespace vortaboot::fuzz {
namespace {

using testing::Bytes;
namespace message = link::message;

enum class Call { ReceiveFrame, Exchange, Transact, Command };

struct Setup {
  Call call;
  std::uint8_t portType;
  bool echo;
  std::uint16_t replyTimeout;
  std::uint16_t byteTimeout;
  std::size_t payloadSize;
  std::uint32_t replyDelay;
  std::uint32_t byteGap;
};

Setup ReadSetup(ByteSource& source) {
  Setup setup{};
  setup.call = static_cast<Call>(source.take() % 4);
  const std::uint8_t line = source.take();
  setup.portType = line % 3;
  setup.echo = (line & 0x04) != 0;
  setup.replyTimeout = static_cast<std::uint16_t>(source.take() * 4);
  setup.byteTimeout = source.take();
  setup.payloadSize = source.take() % 251;  // a request body holds 250 payload bytes
  setup.replyDelay = source.take();
  setup.byteGap = source.take() % 16;
  return setup;
}

// The next reply on the line: a count, then that many bytes.
Bytes NextChunk(ByteSource& source) { return source.take(source.take()); }

int FrameLength(const link::TQV_RS& rs) { return rs.RxBuffer[0] == 0 ? 256 : rs.RxBuffer[0]; }

void CheckFrame(const link::TQV_RS& rs) {
  Require(rs.RxBuffer[0] >= 6, "a reply shorter than 6 bytes was accepted");
  Require(rs.CheckReply(), "a reply with a wrong checksum was accepted");
}

void CheckExchanged(const link::TQV_RS& rs) {
  CheckFrame(rs);
  Require(rs.RxBuffer[1] != 0 || rs.RxBuffer[2] != 0 || rs.RxBuffer[3] != 0,
          "a reply with an all-zero header was accepted");
  Require(rs.RxBuffer[4] != 255, "a busy reply was accepted");
}

// The payload reads to its last byte before the checksum, and not one more.
void CheckPayloadReads(link::TQV_RS& rs) {
  Require(rs.RxPosition == 5, "the payload does not start at the reply's sixth byte");
  const int payload = FrameLength(rs) - 6;
  int bytes = 0;
  try {
    for (;;) {
      rs.ReadByte();
      ++bytes;
    }
  } catch (const link::LinkError& error) {
    Require(std::string(error.what()) == message::kShortReply, "unexpected read error");
  }
  Require(bytes == payload, "ReadByte did not stop at the payload's end");
  rs.RxPosition = 5;
  int words = 0;
  try {
    for (;;) {
      rs.ReadWord();
      ++words;
    }
  } catch (const link::LinkError&) {
  }
  Require(words == payload / 2, "ReadWord did not stop at the payload's end");
}

void CheckLinkMessage(const link::LinkError& error) {
  static const std::set<std::string> known{message::kNoConnection, message::kByteDelay,
                                           message::kBadChecksum, message::kEmptyHeader, message::kBusy};
  Require(known.count(error.what()) == 1, std::string("unknown link error: ") + error.what());
}

// RTS and the raised priority come in pairs and are put back at the end.
void CheckLineRestored(const testing::LinkRig& rig, std::uint8_t portType) {
  const auto& priority = rig.priority.events;
  for (std::size_t i = 0; i < priority.size(); ++i) {
    Require(priority[i] == (i % 2 == 0 ? "raise" : "restore"), "priority raised twice or restored unraised");
  }
  Require(priority.size() % 2 == 0, "priority left raised");
  std::vector<std::string> rts;
  std::copy_if(rig.line.events.begin(), rig.line.events.end(), std::back_inserter(rts),
               [](const std::string& event) { return event.starts_with("rts"); });
  Require(portType == 2 || rts.empty(), "RTS moved on a line without RS-485 echo");
  for (std::size_t i = 0; i < rts.size(); ++i) {
    Require(rts[i] == (i % 2 == 0 ? "rts+" : "rts-"), "RTS raised twice or dropped unraised");
  }
  Require(rts.size() % 2 == 0, "RTS left high");
}

// Virtual milliseconds one frame's reception may take at most.
std::uint32_t LongestReceive(const link::TQV_RS& rs) {
  return rs.ReplyTimeout + rs.LengthAllowance() + 2 + 255u * (rs.ByteTimeout + 2u);
}

void Run(const Setup& setup, link::TQV_RS& rs) {
  rs.BeginCommand(link::BootAddress, setup.call == Call::Command ? link::Identify : link::ReadBlock);
  if (setup.call == Call::Transact) {
    for (std::size_t i = 0; i < setup.payloadSize; ++i) rs.AddByte(static_cast<std::uint8_t>(i));
  }
  switch (setup.call) {
    case Call::ReceiveFrame:
      rs.FinishFrame();
      rs.ReceiveFrame();
      return CheckFrame(rs);
    case Call::Exchange:
      rs.FinishFrame();
      rs.Exchange();
      return CheckExchanged(rs);
    case Call::Transact:
      rs.Transact();
      break;
    case Call::Command:
      rs.Command(link::BootAddress, link::Identify);
      break;
  }
  CheckExchanged(rs);
  CheckPayloadReads(rs);
}

}  // namespace

void FuzzReplyReader(FuzzInput input) {
  ByteSource source(input);
  const Setup setup = ReadSetup(source);
  testing::LinkRig rig;
  auto rs = rig.openLink(setup.portType);
  rs->ReplyTimeout = setup.replyTimeout;
  rs->ByteTimeout = setup.byteTimeout;
  rig.line.echo = setup.echo;
  rig.line.peer = [&](const Bytes&) { rig.line.deliverIn(NextChunk(source), setup.replyDelay, setup.byteGap); };
  if (setup.call == Call::ReceiveFrame) rig.line.deliverIn(NextChunk(source), setup.replyDelay, setup.byteGap);

  const std::uint32_t start = rig.clock.tickCount();
  bool failed = false;
  try {
    Run(setup, *rs);
  } catch (const link::LinkError& error) {
    CheckLinkMessage(error);
    failed = true;
  }
  const std::size_t attempts = rig.line.writes.size();
  if (setup.call == Call::Transact || setup.call == Call::Command) {
    Require(attempts >= 1 && attempts <= 3, "a command was sent more than three times");
    Require(!failed || attempts == 3, "a command failed before its third attempt");
  }
  const std::uint32_t pauses = 2 + 2 * link::TQV_RS::kPauseBetweenAttemptsMs;
  Require(rig.clock.tickCount() - start <= 3 * 2 * LongestReceive(*rs) + pauses, "the link waited too long");
  CheckLineRestored(rig, setup.portType);
}

}  // namespace vortaboot::fuzz
