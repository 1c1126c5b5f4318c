#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace vortaboot::sim {
namespace {

using Arguments = std::vector<std::string>;

std::string refusalOf(const Arguments& arguments) {
  try {
    parseSimOptions(arguments);
  } catch (const OptionError& error) {
    return error.what();
  }
  return "";
}

TEST(SimOptions, WithoutArgumentsServeAnEchoingDefaultDeviceOnCom1) {
  const SimOptions options = parseSimOptions({});
  EXPECT_FALSE(options.help);
  EXPECT_FALSE(options.makeRom);
  EXPECT_EQ(options.comNumber, 1);
  EXPECT_TRUE(options.echo);
  EXPECT_FALSE(options.paceBaud);
  EXPECT_EQ(options.device.identity.deviceType, 0x2A);
  EXPECT_EQ(options.device.identity.deviceVersion, 0x0104);
  EXPECT_EQ(options.device.silentPolls, 0u);
}

TEST(SimOptions, LineAndDeviceOptionsInBothSpellings) {
  const SimOptions options =
      parseSimOptions({"--com", "7", "--no-echo", "--pace=19200", "--answer-after", "3", "--type", "0x11",
                       "--version=4660", "--settings", "s.bin", "--program=p.bin", "--log", "l.txt"});
  EXPECT_EQ(options.comNumber, 7);
  EXPECT_FALSE(options.echo);
  EXPECT_EQ(options.paceBaud, 19200u);
  EXPECT_EQ(options.device.silentPolls, 3u);
  EXPECT_EQ(options.device.identity.deviceType, 0x11);
  EXPECT_EQ(options.device.identity.deviceVersion, 0x1234);
  EXPECT_EQ(options.settingsFile, "s.bin");
  EXPECT_EQ(options.programFile, "p.bin");
  EXPECT_EQ(options.logFile, "l.txt");
}

TEST(SimOptions, FaultRulesKeepTheirOrderAndSelectors) {
  const SimOptions options =
      parseSimOptions({"--fault", "busy@3", "--fault", "short@code=5", "--fault", "truncated@code=0x14:2"});
  const auto& faults = options.device.faults;
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0].fault, ReplyFault::Busy);
  EXPECT_EQ(faults[0].when.code, std::nullopt);
  EXPECT_EQ(faults[0].when.ordinal, 3u);
  EXPECT_EQ(faults[1].fault, ReplyFault::ShortPayload);
  EXPECT_EQ(faults[1].when.code, 5);
  EXPECT_EQ(faults[1].when.ordinal, 0u);
  EXPECT_EQ(faults[2].fault, ReplyFault::Truncated);
  EXPECT_EQ(faults[2].when.code, 20);
  EXPECT_EQ(faults[2].when.ordinal, 2u);
}

TEST(SimOptions, EveryFaultKindHasItsName) {
  for (auto [name, fault] : {std::pair{"silent", ReplyFault::NoReply}, {"checksum", ReplyFault::BadChecksum},
                             {"header", ReplyFault::EmptyHeader}, {"busy", ReplyFault::Busy},
                             {"length", ReplyFault::ShortLength}, {"truncated", ReplyFault::Truncated},
                             {"short", ReplyFault::ShortPayload}}) {
    const auto options = parseSimOptions({"--fault", std::string(name) + "@1"});
    EXPECT_EQ(options.device.faults.at(0).fault, fault) << name;
  }
}

TEST(SimOptions, ProgramStatusWithoutSelectorMeansEveryProgramPage) {
  const SimOptions options = parseSimOptions({"--program-status", "0x03,3", "--program-status", "0,1@code=20:2"});
  const auto& rules = options.device.programStatus;
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0].status.flags, 3);
  EXPECT_EQ(rules[0].status.resultCode, 3);
  EXPECT_EQ(rules[0].when.code, 20);
  EXPECT_EQ(rules[0].when.ordinal, 0u);
  EXPECT_EQ(rules[1].status.resultCode, 1);
  EXPECT_EQ(rules[1].when.ordinal, 2u);
}

TEST(SimOptions, MakeRomTakesPagesBaseAndIdentity) {
  const SimOptions options =
      parseSimOptions({"--make-rom", "fw.rom", "--pages", "8", "--type", "7", "--base", "0x2000"});
  ASSERT_TRUE(options.makeRom);
  EXPECT_EQ(options.makeRom->file, "fw.rom");
  EXPECT_EQ(options.makeRom->pages, 8u);
  EXPECT_EQ(options.makeRom->base, 0x2000u);
  EXPECT_EQ(options.device.identity.deviceType, 7);
  EXPECT_EQ(parseSimOptions({"--make-rom", "fw.rom", "--pages", "0"}).makeRom->base, 0x08004000u);
}

TEST(SimOptions, HelpWinsOverAnythingElse) {
  EXPECT_TRUE(parseSimOptions({"--bogus", "--help"}).help);
  EXPECT_TRUE(parseSimOptions({"-h"}).help);
}

TEST(SimOptions, RefusesWhatItCannotUse) {
  struct Case {
    Arguments arguments;
    std::string message;
  };
  for (const auto& [arguments, message] : {
           Case{{"--bogus"}, "неизвестный параметр \"--bogus\""},
           Case{{"--com"}, "--com: не указано значение"},
           Case{{"--com", "0"}, "--com: номер порта от 1 до 32"},
           Case{{"--com", "33"}, "--com: ожидается число от 0 до 32, а не \"33\""},
           Case{{"--type", "256"}, "--type: ожидается число от 0 до 255, а не \"256\""},
           Case{{"--version", "-1"}, "--version: ожидается число от 0 до 65535, а не \"-1\""},
           Case{{"--pace", "0"}, "--pace: скорость должна быть больше 0"},
           Case{{"--answer-after", "x"}, "--answer-after: ожидается число от 0 до 4294967295, а не \"x\""},
           Case{{"--fault", "melt@1"}, "--fault: неизвестный вид сбоя \"melt\""},
           Case{{"--fault", "busy"}, "--fault: после вида сбоя нужно @ и номер команды или code=КОД"},
           Case{{"--fault", "busy@0"}, "--fault: команды нумеруются с 1"},
           Case{{"--fault", "busy@code=5:0"}, "--fault: команды нумеруются с 1"},
           Case{{"--fault", "busy@code=300"}, "--fault: ожидается число от 0 до 255, а не \"300\""},
           Case{{"--program-status", "3"}, "--program-status: ожидается ФЛАГИ,КОД, а не \"3\""},
           Case{{"--pages", "2"}, "--pages и --base имеют смысл только с --make-rom"},
           Case{{"--make-rom", "fw.rom"}, "--make-rom: укажите число страниц, --pages N"},
       }) {
    EXPECT_EQ(refusalOf(arguments), message) << arguments.at(0);
  }
}

}  // namespace
}  // namespace vortaboot::sim
