#include <gtest/gtest.h>

#include <numeric>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link_fixture.h"

namespace vortaboot::link {
namespace {

using testing::Bytes;
using testing::LinkRig;

const Bytes kIdentifyRequest{0x06, 0xF4, 0x01, 0x00, 0x01, 0x04};
const char* const kNoConnection = "RS232. Нет связи. Проверьте правильность соединения PC и устройства.";

// A well-formed reply: header F4 01 00, status 0, the payload, checksum.
Bytes reply(const Bytes& payload, std::uint8_t status = 0) {
  Bytes frame{static_cast<std::uint8_t>(payload.size() + 6), 0xF4, 0x01, 0x00, status};
  for (std::uint8_t byte : payload) frame.push_back(byte);
  const unsigned sum = std::accumulate(frame.begin(), frame.end(), 0u);
  frame.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));
  return frame;
}

std::string failureOf(TQV_RS& rs) {
  try {
    rs.Command(BootAddress, Identify);
  } catch (const LinkError& error) {
    return error.what();
  }
  return "";
}

TEST(Transact, IdentifySendsTheSixBytesAndReadsTheReply) {
  LinkRig rig;
  rig.line.echo = true;
  rig.line.scriptReplies({reply({0x2A, 0x34, 0x12})});
  auto rs = rig.openLink();
  rs->Command(BootAddress, Identify);
  EXPECT_EQ(rig.line.writes, std::vector<Bytes>{kIdentifyRequest});
  EXPECT_EQ(rs->RxPosition, 5);
  EXPECT_EQ(rs->ReadByte(), 0x2A);
  EXPECT_EQ(rs->ReadWord(), 0x1234);
}

TEST(Transact, LengthAllowanceRoundsHalfToEven) {
  LinkRig rig;
  auto rs = rig.openLink();
  struct Case { std::uint32_t baud; int txLength; std::uint32_t allowance; };
  for (auto [baud, txLength, allowance] :
       {Case{19200, 5, 2}, Case{19200, 7, 4}, Case{19200, 38, 19}, Case{19200, 255, 128},
        Case{9600, 5, 5}, Case{115200, 5, 0}, Case{115200, 18, 2}}) {
    rs->BaudRate = baud;
    rs->TxLength = txLength;
    EXPECT_EQ(rs->LengthAllowance(), allowance) << baud << " baud, TxLength " << txLength;
  }
}

// ReceiveFrame alone, after an Identify request was built (TxLength 5, A = 2).
struct Receiving : ::testing::Test {
  Receiving() {
    rs = rig.openLink(0);
    rs->BeginCommand(BootAddress, Identify);
    rs->FinishFrame();
    start = rig.clock.tickCount();
  }
  std::string receive() {
    try {
      rs->ReceiveFrame();
    } catch (const LinkError& error) {
      return error.what();
    }
    return "";
  }
  LinkRig rig;
  std::unique_ptr<TQV_RS> rs;
  std::uint32_t start = 0;
};

TEST_F(Receiving, FirstByteHasReplyTimeoutPlusAllowance) {
  rig.line.deliver(reply({}), start + 102);
  EXPECT_EQ(receive(), "");

  start = rig.clock.tickCount();
  rig.line.deliver(reply({}), start + 104);
  EXPECT_EQ(receive(), kNoConnection);
  EXPECT_LE(rig.clock.tickCount() - start, 104u);
}

TEST_F(Receiving, EachFurtherByteHasByteTimeout) {
  rig.line.deliver(reply({1, 2}), start + 10, 200);
  EXPECT_EQ(receive(), "");

  start = rig.clock.tickCount();
  rig.line.deliver(reply({1, 2}), start + 10, 202);
  EXPECT_EQ(receive(), "RS232. Ошибка задержки приема внутри блока.");
}

TEST_F(Receiving, ShortLengthByteFailsAtOnce) {
  for (std::uint8_t length : {0, 1, 5}) {
    start = rig.clock.tickCount();
    rig.line.deliver({length, 0xF4, 0x01, 0x00, 0x00, 0x00}, start + 3, 50);
    EXPECT_EQ(receive(), kNoConnection) << int(length);
    EXPECT_EQ(rig.clock.tickCount() - start, 3u) << "no wait for more bytes";
    rig.line.purgeReceive();
    rig.clock.advance(300);
    rig.line.purgeReceive();
  }
}

TEST_F(Receiving, SurvivesTheWrapOfTheMillisecondCounter) {
  rig.clock.advanceTo(0xFFFFFFF0u);
  start = rig.clock.tickCount();
  rig.line.deliver(reply({7}), start + 50, 1);
  EXPECT_EQ(receive(), "");
  start = rig.clock.tickCount();
  rig.clock.advanceTo(0xFFFFFFFEu);
  start = rig.clock.tickCount();
  EXPECT_EQ(receive(), kNoConnection);
  const std::uint32_t waited = rig.clock.tickCount() - start;
  EXPECT_GE(waited, 102u);
  EXPECT_LE(waited, 104u);
}

TEST(Transact, RepliesAreCheckedInOrder) {
  Bytes busyWithBadChecksum = reply({}, 255);
  busyWithBadChecksum.back() ^= 1;
  struct Case { const char* name; Bytes reply; const char* message; };
  const Case cases[] = {
      {"bad checksum", {0x06, 0xF4, 0x01, 0x00, 0x00, 0x00}, "RS232. Ошибка обмена.(0)"},
      {"header all zero", {0x06, 0x00, 0x00, 0x00, 0x00, 0xFA}, "RS232. Ошибка обмена.(4)"},
      {"busy", {0x06, 0xF4, 0x01, 0x00, 0xFF, 0x06},
       "Устройство занято. Возможно, оно находится в режиме местного управления."},
      {"busy with bad checksum", busyWithBadChecksum, "RS232. Ошибка обмена.(0)"},
      {"length byte 5", {0x05, 0xF4, 0x01, 0x00, 0x00, 0x06}, kNoConnection},
  };
  for (const auto& c : cases) {
    LinkRig rig;
    rig.line.scriptReplies({c.reply, c.reply, c.reply});
    auto rs = rig.openLink(0);
    EXPECT_EQ(failureOf(*rs), c.message) << c.name;
    EXPECT_EQ(rig.line.writes.size(), 3u) << c.name;
  }
}

TEST(Transact, RetriesTwiceFiftyMillisecondsApartWithTheSameFrame) {
  LinkRig rig;
  rig.line.scriptReplies({std::nullopt, Bytes{0x06, 0, 0, 0, 0, 0xFA}, reply({9})});
  auto rs = rig.openLink(0);
  rs->Command(BootAddress, Identify);
  EXPECT_EQ(rs->RxPosition, 5);
  EXPECT_EQ(rs->ReadByte(), 9);
  EXPECT_EQ(rig.line.writes, std::vector<Bytes>(3, kIdentifyRequest));
  EXPECT_EQ(std::count(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), 50u), 2);
}

TEST(Transact, ThirdFailureLeavesWithItsOwnMessage) {
  LinkRig rig;
  rig.line.scriptReplies({std::nullopt, std::nullopt, reply({}, 255)});
  auto rs = rig.openLink(0);
  EXPECT_EQ(failureOf(*rs), "Устройство занято. Возможно, оно находится в режиме местного управления.");
  EXPECT_EQ(std::count(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), 50u), 2);
  rig.line.scriptReplies({reply({})});
  EXPECT_EQ(failureOf(*rs), "") << "the link is ready for the next command";
}

TEST(Transact, Rs485RaisesRtsAndPriorityAroundSendingAndTheEcho) {
  LinkRig rig;
  rig.line.echo = true;
  rig.line.scriptReplies({reply({})});
  auto rs = rig.openLink(2);
  rig.line.events.clear();
  rs->Command(BootAddress, Identify);
  EXPECT_EQ(rig.line.events, (std::vector<std::string>{"rts+", "purge-rx", "purge-tx", "write", "rts-"}));
  EXPECT_EQ(rig.priority.events, (std::vector<std::string>{"raise", "restore"}));
  EXPECT_EQ(rig.priority.level.process, 0) << "priority put back";
  EXPECT_EQ(rig.clock.sleeps.front(), 2u) << "pause before the first attempt";
}

TEST(Transact, Rs485GarbledEchoIsDroppedAndRtsStillFalls) {
  LinkRig rig;
  rig.line.peer = [&](const Bytes&) {
    rig.line.deliverIn({0x06, 0xF4, 0x01}, 0);  // an echo cut short
    rig.line.deliverIn(reply({5}), 260);
  };
  auto rs = rig.openLink(2);
  rs->Command(BootAddress, Identify);
  EXPECT_EQ(rs->ReadByte(), 5);
  EXPECT_EQ(rig.line.writes.size(), 1u);
  EXPECT_EQ(rig.priority.events, (std::vector<std::string>{"raise", "restore"}));
  EXPECT_EQ(std::count(rig.line.events.begin(), rig.line.events.end(), "rts-"), 1);
}

TEST(Transact, Rs485WithoutEchoTakesTheReplyForTheEcho) {
  LinkRig rig;
  rig.line.scriptReplies({reply({}), reply({}), reply({})});
  auto rs = rig.openLink(2);
  EXPECT_EQ(failureOf(*rs), kNoConnection);
  EXPECT_EQ(rig.line.writes.size(), 3u);
  EXPECT_EQ(rig.priority.events.size(), 6u);
}

TEST(Transact, PortTypesDifferInPauseAndEcho) {
  struct Case { std::uint8_t asked; std::uint8_t type; bool pause; };
  for (auto [asked, type, pause] : {Case{0, 0, false}, Case{1, 1, true}, Case{3, 0, false}}) {
    LinkRig rig;
    rig.line.scriptReplies({reply({})});
    auto rs = rig.openLink(asked);
    EXPECT_EQ(rs->PortType, type);
    rig.line.events.clear();
    rs->Command(BootAddress, Identify);
    EXPECT_EQ(rig.line.events, (std::vector<std::string>{"purge-rx", "purge-tx", "write"}));
    EXPECT_TRUE(rig.priority.events.empty());
    EXPECT_EQ(!rig.clock.sleeps.empty() && rig.clock.sleeps.front() == 2u, pause) << int(asked);
  }
}

TEST(Transact, LongestRequestIsWrittenWhole) {
  LinkRig rig;
  rig.line.scriptReplies({reply({})});
  auto rs = rig.openLink(0);
  rs->BeginCommand(BootAddress, WriteBuffer);
  for (int i = 0; i < 250; ++i) rs->AddByte(static_cast<std::uint8_t>(i));
  rs->Transact();
  ASSERT_EQ(rig.line.writes.size(), 1u);
  EXPECT_EQ(rig.line.writes[0].size(), 256u);
  EXPECT_EQ(rig.line.writes[0][0], 0);
}

TEST(Transact, WindowMessagesAreProcessedWhileWaiting) {
  LinkRig rig;
  auto rs = rig.openLink(0);
  int pumpsSeen = 0;
  rig.ui.onPump = [&] { ++pumpsSeen; };
  EXPECT_EQ(failureOf(*rs), kNoConnection);
  EXPECT_GT(pumpsSeen, 3 * 40) << "about one per millisecond of waiting";
}

TEST(Transact, ClosedPortRunsIntoTheReplyTimeout) {
  LinkRig rig;
  auto rs = rig.openLink(2);
  rs->SetPortOpen(false);
  EXPECT_EQ(failureOf(*rs), kNoConnection);
}

}  // namespace
}  // namespace vortaboot::link
