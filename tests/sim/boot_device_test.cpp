#include "sim/boot_device.h"

#include <gtest/gtest.h>

#include "sim/default_settings.h"
#include "device_setups.h"
#include "sim_frames.h"

namespace vortaboot::sim {
namespace {

using namespace testing;

constexpr std::uint8_t kMarked = 0x5A;

Bytes piece(std::size_t count, std::uint8_t value = kMarked) { return filled(count, value); }

TEST(BootDevice, AnswersEachCommandWithItsReply) {
  struct Case {
    const char* name;
    Bytes request;
    Bytes reply;
  };
  const Bytes blockOne{0x06, 0x01, 0x00, 0x00, 0x40, 0x00, 0x44, 0x00, 0xA0, 0x00, 0x04,
                       0x00, 0xC0, 0x00, 0x2D, 0x00, 0x00, 0x01, 0x04, 0x01, 0x40, 0x02,
                       0x64, 0x00, 0x00, 0x04, 0x04, 0x04, 0xFF, 0xFF, 0xFF, 0xFF};
  for (const auto& [name, sent, expected] : {
           Case{"Identify", request(1), Bytes{0x09, 0xF4, 0x01, 0x00, 0x00, 0x2A, 0x04, 0x01, 0xD3}},
           Case{"ReadBlock 1, the range table", readBlockRequest(1), reply(blockOne)},
           Case{"ReadBlock 127", readBlockRequest(127), reply(filled(32, 0xFF))},
           Case{"OpenRange", openRangeRequest(64, 64), reply({})},
           Case{"WriteBuffer", writeBufferRequest(0, piece(32)), reply({})},
           Case{"StoreBuffer", storeBufferRequest(64, 64), reply({})},
           Case{"PageData", pageDataRequest(63, piece(32)), reply({})},
           Case{"ProgramPage", programPageRequest(0x08004000), reply({0, 0})},
           Case{"Finish", request(6), reply({})},
       }) {
    BootDevice device;
    EXPECT_EQ(device.handle(sent), expected) << name;
  }
}

TEST(BootDevice, IdentifyReportsTheConfiguredIdentity) {
  BootDevice device(withIdentity({0x11, 0x2233}));
  EXPECT_EQ(device.handle(request(1)), reply({0x11, 0x33, 0x22}));
}

TEST(BootDevice, LeavesMalformedAndForeignRequestsUnanswered) {
  Bytes badChecksum = request(1);
  ++badChecksum.back();
  Bytes otherAddress{0x06, 0xF5, 0x01, 0x00, 0x01, 0x03};
  Bytes wrongLength = request(1);
  wrongLength[0] = 7;
  struct Case {
    const char* name;
    Bytes request;
  };
  for (const auto& [name, sent] : {
           Case{"bad checksum", badChecksum},
           Case{"another device's address", otherAddress},
           Case{"length byte not the frame's size", wrongLength},
           Case{"unknown code", request(2)},
           Case{"Identify with an argument", request(1, {0})},
           Case{"ReadBlock past the last block", readBlockRequest(128)},
           Case{"ReadBlock with a one-byte number", request(5, {1})},
           Case{"WriteBuffer of 0 bytes", request(4, word(0) + word(0))},
           Case{"WriteBuffer of 33 bytes", writeBufferRequest(0, piece(33))},
           Case{"WriteBuffer count not matching its bytes", request(4, word(0) + word(4) + piece(3))},
           Case{"PageData piece 64", pageDataRequest(64, piece(32))},
           Case{"PageData of 31 bytes", pageDataRequest(0, piece(31))},
           Case{"ProgramPage with a 16-bit address", request(20, word(0))},
           Case{"StoreBuffer without a length", request(7, word(0))},
       }) {
    BootDevice device;
    EXPECT_EQ(device.handle(sent), Bytes{}) << name;
  }
}

// Each case writes 0x5A pieces; the space must then hold 0x5A exactly in
// [from, to) and its default content everywhere else.
TEST(BootDevice, StoredPiecesLandWhereAnnouncedAndNowhereElse) {
  struct Case {
    const char* name;
    std::vector<Bytes> requests;
    std::size_t from;
    std::size_t to;
  };
  for (const auto& [name, requests, from, to] : {
           Case{"a range carried in a whole and a partial piece",
                {openRangeRequest(192, 41), writeBufferRequest(0, piece(32)), writeBufferRequest(1, piece(9)),
                 storeBufferRequest(192, 41)},
                192, 233},
           Case{"piece 1 stands for bytes 32 on",
                {openRangeRequest(256, 64), writeBufferRequest(1, piece(32)), storeBufferRequest(256, 64)},
                288, 320},
           Case{"pieces cut at the announced length, whatever the store says",
                {openRangeRequest(64, 10), writeBufferRequest(0, piece(32)), storeBufferRequest(64, 32)},
                64, 74},
           Case{"an announced length of 0 takes nothing",
                {openRangeRequest(160, 0), writeBufferRequest(0, piece(4)), storeBufferRequest(160, 0)},
                160, 160},
           Case{"a shorter store length stores less",
                {openRangeRequest(64, 64), writeBufferRequest(0, piece(32)), writeBufferRequest(1, piece(32)),
                 storeBufferRequest(64, 40)},
                64, 104},
           Case{"nothing past the end of the space",
                {openRangeRequest(4080, 32), writeBufferRequest(0, piece(32)), storeBufferRequest(4080, 32)},
                4080, 4096},
           Case{"without OpenRange, as the firmware loader rewrites block 0",
                {readBlockRequest(0), writeBufferRequest(0, piece(20)), storeBufferRequest(0, 20)},
                0, 20},
           Case{"a second store has nothing new to store",
                {openRangeRequest(64, 32), writeBufferRequest(0, piece(32)), storeBufferRequest(64, 32),
                 storeBufferRequest(576, 32)},
                64, 96},
       }) {
    BootDevice device;
    for (const auto& sent : requests) EXPECT_FALSE(device.handle(sent).empty()) << name;
    const SettingsSpace before = defaultSettings();
    for (std::size_t offset = 0; offset < SettingsSpace::kSize; ++offset) {
      const std::uint8_t expected = offset >= from && offset < to ? kMarked : before.bytes[offset];
      ASSERT_EQ(device.settings.bytes[offset], expected) << name << ", offset " << offset;
    }
  }
}

Bytes pieceOfPage(std::uint8_t index) {
  Bytes data(32);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(index * 32 + i + 7);
  return data;
}

void sendPage(BootDevice& device) {
  for (std::uint8_t j = 0; j < 64; ++j) ASSERT_EQ(device.handle(pageDataRequest(j, pieceOfPage(j))), reply({}));
}

Page expectedPage() {
  Page page;
  for (std::uint8_t j = 0; j < 64; ++j) {
    const Bytes data = pieceOfPage(j);
    std::copy(data.begin(), data.end(), page.begin() + j * 32);
  }
  return page;
}

TEST(BootDevice, ProgramsThePiecesSentAtTheGivenAddress) {
  BootDevice device;
  sendPage(device);
  EXPECT_EQ(device.handle(programPageRequest(0xFFFFF800)), reply({0, 0}));
  ASSERT_EQ(device.program.size(), 1u);
  EXPECT_EQ(device.program.begin()->first, 0xFFFFF800u);
  EXPECT_EQ(device.program.begin()->second, expectedPage());
}

TEST(BootDevice, ProgramsAPageOnlyWhenItsStatusReportsSuccess) {
  struct Case {
    std::uint8_t flags;
    std::uint8_t code;
    bool programmed;
  };
  for (auto [flags, code, programmed] : {Case{0x01, 0, false}, Case{0x02, 0, false}, Case{0x03, 3, false},
                                         Case{0, 1, false}, Case{0, 4, false}, Case{0, 5, true},
                                         Case{0xFC, 5, true}, Case{0x04, 0, true}}) {
    BootDevice device(withProgramStatus({{{flags, code}, CommandSelector::everyWithCode(20)}}));
    sendPage(device);
    EXPECT_EQ(device.handle(programPageRequest(0x2000)), reply({flags, code}));
    EXPECT_EQ(device.program.count(0x2000), programmed ? 1u : 0u) << int(flags) << "," << int(code);
  }
}

TEST(BootDevice, ARepeatedProgramPageProgramsTheSamePiecesAgain) {
  BootDevice device(withProgramStatus({{{0, 3}, CommandSelector::nthWithCode(20, 1)}}));
  sendPage(device);
  EXPECT_EQ(device.handle(programPageRequest(0x3000)), reply({0, 3}));
  EXPECT_TRUE(device.program.empty());
  EXPECT_EQ(device.handle(programPageRequest(0x3000)), reply({0, 0}));
  ASSERT_EQ(device.program.count(0x3000), 1u);
  EXPECT_EQ(device.program.at(0x3000), expectedPage());
}

TEST(BootDevice, EachFaultDamagesTheReplyItsWay) {
  const Bytes identity{0x2A, 0x04, 0x01};
  const Bytes good = reply(identity);
  Bytes badChecksum = good;
  ++badChecksum.back();
  Bytes shortLength = good;
  shortLength[0] = 5;
  struct Case {
    ReplyFault fault;
    Bytes request;
    Bytes reply;
  };
  for (const auto& [fault, sent, expected] : {
           Case{ReplyFault::NoReply, request(1), {}},
           Case{ReplyFault::BadChecksum, request(1), badChecksum},
           Case{ReplyFault::EmptyHeader, request(1), sealed({0, 0, 0, 0, 0x2A, 0x04, 0x01})},
           Case{ReplyFault::Busy, request(1), reply({}, 255)},
           Case{ReplyFault::ShortLength, request(1), shortLength},
           Case{ReplyFault::Truncated, request(1), Bytes(good.begin(), good.begin() + 4)},
           Case{ReplyFault::ShortPayload, request(1), reply({0x2A})},
           Case{ReplyFault::ShortPayload, readBlockRequest(0),
                reply({'S', 'I', 'M', 'U', 'L', 'A', 'T', 'E', 'D', ' ', 'D', 'E', 'V', 'I', 'C', 'E'})},
       }) {
    BootDevice device(withFaults({{fault, CommandSelector::nth(1)}}));
    EXPECT_EQ(device.handle(sent), expected) << static_cast<int>(fault);
  }
}

TEST(BootDevice, FaultsHitTheCommandsTheirSelectorNames) {
  const Bytes good = reply({0x2A, 0x04, 0x01});
  const Bytes busy = reply({}, 255);
  const Bytes goodBlock = reply(*defaultSettings().block(3));
  struct Case {
    const char* name;
    std::vector<FaultRule> faults;
    std::vector<Bytes> replies;  // to Identify, ReadBlock 3, Identify, ReadBlock 3, Identify
  };
  for (const auto& [name, faults, replies] : {
           Case{"the 2nd command", {{ReplyFault::Busy, CommandSelector::nth(2)}},
                {good, busy, good, goodBlock, good}},
           Case{"every ReadBlock", {{ReplyFault::Busy, CommandSelector::everyWithCode(5)}},
                {good, busy, good, busy, good}},
           Case{"the 3rd Identify", {{ReplyFault::Busy, CommandSelector::nthWithCode(1, 3)}},
                {good, goodBlock, good, goodBlock, busy}},
           Case{"the first rule that selects wins",
                {{ReplyFault::Busy, CommandSelector::nth(4)}, {ReplyFault::NoReply, CommandSelector::everyWithCode(5)}},
                {good, {}, good, busy, good}},
       }) {
    BootDevice device(withFaults(faults));
    std::vector<Bytes> got;
    for (int i = 0; i < 5; ++i) got.push_back(device.handle(i % 2 ? readBlockRequest(3) : request(1)));
    EXPECT_EQ(got, replies) << name;
  }
}

TEST(BootDevice, ABusyOrUnheardCommandIsNotCarriedOutADamagedReplyStillIs) {
  struct Case {
    ReplyFault fault;
    bool carriedOut;
  };
  for (auto [fault, carriedOut] : {Case{ReplyFault::Busy, false}, Case{ReplyFault::NoReply, false},
                                   Case{ReplyFault::BadChecksum, true}, Case{ReplyFault::Truncated, true}}) {
    BootDevice device(withFaults({{fault, CommandSelector::everyWithCode(7)}, {fault, CommandSelector::everyWithCode(20)}}));
    sendPage(device);
    device.handle(programPageRequest(0x4000));
    device.handle(writeBufferRequest(0, piece(20)));
    device.handle(storeBufferRequest(0, 20));
    EXPECT_EQ(device.program.count(0x4000), carriedOut ? 1u : 0u) << static_cast<int>(fault);
    EXPECT_EQ(device.settings.bytes[0], carriedOut ? kMarked : 'S') << static_cast<int>(fault);
  }
}

TEST(BootDevice, LeavesTheFirstPollsUnansweredAndStillCountsThem) {
  DeviceSetup setup = withFaults({{ReplyFault::Busy, CommandSelector::nth(5)}});
  setup.silentPolls = 2;
  BootDevice device(setup);
  const Bytes identity = reply({0x2A, 0x04, 0x01});
  EXPECT_EQ(device.handle(request(1)), Bytes{});
  EXPECT_EQ(device.handle(readBlockRequest(3)), reply(*defaultSettings().block(3))) << "only polls are ignored";
  EXPECT_EQ(device.handle(request(1)), Bytes{});
  EXPECT_EQ(device.handle(request(1)), identity);
  EXPECT_EQ(device.handle(request(1)), reply({}, 255)) << "the 5th command received";
  EXPECT_EQ(device.handle(request(1)), identity);
}

}  // namespace
}  // namespace vortaboot::sim
