#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace vortaboot::cli {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLine, JobCommandsTakeTheirFileAndOptions) {
  auto line = ParseCommandLine({"load-firmware", "new.rom", "--port", "3", "--wait=2.5", "--trace"});
  EXPECT_EQ(line.verb, Verb::LoadFirmware);
  EXPECT_EQ(line.file, "new.rom");
  EXPECT_EQ(line.port, 3);
  EXPECT_EQ(line.waitSeconds, 2.5);
  EXPECT_TRUE(line.trace);

  line = ParseCommandLine({"read-settings", "--dir", "/tmp/x"});
  EXPECT_EQ(line.verb, Verb::ReadSettings);
  EXPECT_EQ(line.folder, "/tmp/x");
  EXPECT_FALSE(line.port);
  EXPECT_FALSE(line.waitSeconds);

  EXPECT_EQ(ParseCommandLine({"write-settings", "--port=32", "a.pset"}).file, "a.pset");
  EXPECT_EQ(ParseCommandLine({"ports"}).verb, Verb::Ports);
  EXPECT_EQ(ParseCommandLine({"info", "x.rom"}).verb, Verb::Info);
  EXPECT_EQ(ParseCommandLine({"read-settings", "--help"}).verb, Verb::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).verb, Verb::Version);
}

TEST(CommandLine, MistakesAreUsageErrors) {
  const Arguments mistakes[] = {
      {},
      {"flash"},
      {"load-firmware"},
      {"load-firmware", "a.rom", "b.rom"},
      {"read-settings", "extra"},
      {"read-settings", "--port"},
      {"read-settings", "--port", "0"},
      {"read-settings", "--port", "33"},
      {"read-settings", "--port", "3x"},
      {"read-settings", "--port", "-1"},
      {"read-settings", "--wait", "0"},
      {"read-settings", "--wait", "soon"},
      {"read-settings", "--wait", "inf"},
      {"read-settings", "--trace=yes"},
      {"load-firmware", "a.rom", "--dir", "x"},
      {"info", "a.rom", "--port", "1"},
      {"ports", "--verbose"},
  };
  for (const auto& arguments : mistakes) {
    std::string shown;
    for (const auto& a : arguments) shown += a + " ";
    EXPECT_THROW(ParseCommandLine(arguments), UsageError) << shown;
  }
}

TEST(CommandLine, HelpNamesEveryCommandAndExitStatus) {
  const std::string help = HelpText();
  for (const char* text : {"ports", "read-settings", "load-firmware", "write-settings", "info", "--port", "--dir",
                           "--wait", "--trace", "130"}) {
    EXPECT_NE(help.find(text), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace vortaboot::cli
