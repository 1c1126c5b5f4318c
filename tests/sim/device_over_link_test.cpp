// The simulated device behind a scripted line, driven by the real link.

#include <gtest/gtest.h>

#include "link/boot_commands.h"
#include "link/link_error.h"
#include "link_fixture.h"
#include "sim/default_settings.h"
#include "device_setups.h"
#include "simulated_device.h"

namespace vortaboot {
namespace {

using link::BootAddress;
using testing::Bytes;
using testing::LinkRig;
using testing::SimulatedDevice;
using sim::testing::withFaults;

struct DeviceOverLink : ::testing::Test {
  explicit DeviceOverLink(sim::DeviceSetup setup = {}) : simulated(rig.line, std::move(setup)) {}

  std::string failureOfIdentify() {
    try {
      rs->Command(BootAddress, link::Identify);
    } catch (const link::LinkError& error) {
      return error.what();
    }
    return "";
  }

  LinkRig rig;
  SimulatedDevice simulated;
  std::unique_ptr<link::TQV_RS> rs = rig.openLink();
};

TEST_F(DeviceOverLink, IdentifyAndReadBlockAnswerWhatTheDeviceHolds) {
  rs->Command(BootAddress, link::Identify);
  EXPECT_EQ(rs->ReadByte(), 0x2A);
  EXPECT_EQ(rs->ReadWord(), 0x0104);

  rs->ReplyTimeout = 500;
  rs->BeginCommand(BootAddress, link::ReadBlock);
  rs->AddWord(1);
  rs->Transact();
  const auto expected = *sim::defaultSettings().block(1);
  Bytes block;
  for (int i = 0; i < 32; ++i) block.push_back(rs->ReadByte());
  EXPECT_EQ(block, expected);
  EXPECT_EQ(rig.line.writes.size(), 2u) << "each command answered at the first attempt";
}

TEST_F(DeviceOverLink, APageSentInPiecesIsProgrammedAtItsAddress) {
  sim::Page page;
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  for (int j = 0; j < 64; ++j) {
    rs->BeginCommand(BootAddress, link::PageData);
    rs->AddByte(static_cast<std::uint8_t>(j));
    for (int i = 0; i < 32; ++i) rs->AddByte(page[j * 32 + i]);
    rs->Transact();
  }
  rs->ReplyTimeout = 800;
  rs->BeginCommand(BootAddress, link::ProgramPage);
  rs->AddInteger(0x08004800);
  rs->Transact();
  EXPECT_EQ(rs->ReadByte(), 0);
  EXPECT_EQ(rs->ReadByte(), 0);
  ASSERT_EQ(simulated.device.program.count(0x08004800), 1u);
  EXPECT_EQ(simulated.device.program.at(0x08004800), page);
}

TEST_F(DeviceOverLink, ARangeWrittenInPiecesIsStoredAtTheDeviceOffset) {
  rs->ReplyTimeout = 3000;
  auto rangeCommand = [&](std::uint8_t code) {
    rs->BeginCommand(BootAddress, code);
    rs->AddWord(192);
    rs->AddWord(41);
    rs->Transact();
  };
  rangeCommand(link::OpenRange);
  for (std::uint16_t k = 0; k < 2; ++k) {
    const std::uint16_t count = k == 0 ? 32 : 9;
    rs->BeginCommand(BootAddress, link::WriteBuffer);
    rs->AddWord(k);
    rs->AddWord(count);
    for (int i = 0; i < count; ++i) rs->AddByte(static_cast<std::uint8_t>(0xC0 + k));
    rs->Transact();
  }
  rangeCommand(link::StoreBuffer);
  const auto& settings = simulated.device.settings.bytes;
  EXPECT_EQ(Bytes(settings.begin() + 192, settings.begin() + 224), Bytes(32, 0xC0));
  EXPECT_EQ(Bytes(settings.begin() + 224, settings.begin() + 233), Bytes(9, 0xC1));
  EXPECT_EQ(settings[233], sim::defaultSettings().bytes[233]) << "the range's last bytes are not carried";
}

struct FaultOnEveryIdentify : ::testing::TestWithParam<std::pair<sim::ReplyFault, std::string>> {};

TEST_P(FaultOnEveryIdentify, FailsTheCommandWithTheLinksMessage) {
  const auto& [fault, message] = GetParam();
  LinkRig rig;
  SimulatedDevice simulated(rig.line, withFaults({{fault, sim::CommandSelector::everyWithCode(1)}}));
  auto rs = rig.openLink();
  try {
    rs->Command(BootAddress, link::Identify);
    ADD_FAILURE() << "Identify succeeded";
  } catch (const link::LinkError& error) {
    EXPECT_EQ(error.what(), message);
  }
  EXPECT_EQ(rig.line.writes.size(), 3u) << "three attempts";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultOnEveryIdentify,
    ::testing::Values(
        std::pair{sim::ReplyFault::NoReply, "RS232. Нет связи. Проверьте правильность соединения PC и устройства."},
        std::pair{sim::ReplyFault::ShortLength,
                  "RS232. Нет связи. Проверьте правильность соединения PC и устройства."},
        std::pair{sim::ReplyFault::Truncated, "RS232. Ошибка задержки приема внутри блока."},
        std::pair{sim::ReplyFault::BadChecksum, "RS232. Ошибка обмена.(0)"},
        std::pair{sim::ReplyFault::EmptyHeader, "RS232. Ошибка обмена.(4)"},
        std::pair{sim::ReplyFault::Busy,
                  "Устройство занято. Возможно, оно находится в режиме местного управления."}));

TEST(DeviceOverLinkFaults, AFaultOnOneAttemptIsOvercomeByTheNextAttempt) {
  LinkRig rig;
  SimulatedDevice simulated(rig.line, withFaults({{sim::ReplyFault::BadChecksum, sim::CommandSelector::nth(1)}}));
  auto rs = rig.openLink();
  rs->Command(BootAddress, link::Identify);
  EXPECT_EQ(rs->ReadByte(), 0x2A);
  EXPECT_EQ(rig.line.writes.size(), 2u);
}

TEST(DeviceOverLinkFaults, AShortReadBlockReplyRunsOutBeforeTheThirtyTwoBytes) {
  LinkRig rig;
  SimulatedDevice simulated(rig.line, withFaults({{sim::ReplyFault::ShortPayload, sim::CommandSelector::everyWithCode(5)}}));
  auto rs = rig.openLink();
  rs->BeginCommand(BootAddress, link::ReadBlock);
  rs->AddWord(0);
  rs->Transact();
  for (int i = 0; i < 16; ++i) rs->ReadByte();
  EXPECT_THROW(rs->ReadByte(), link::LinkError);
}

}  // namespace
}  // namespace vortaboot
