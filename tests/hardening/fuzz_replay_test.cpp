// Every input the fuzzers kept, seeds and found faults alike, fed again to
// the same checks, so the suite re-checks them on every build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_entries.h"

namespace vortaboot::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzFolder = VORTABOOT_FUZZ_DIR;

std::vector<fs::path> KeptInputs(const std::string& target) {
  std::vector<fs::path> files;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path folder = kFuzzFolder / kind / target;
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  return files;
}

std::vector<std::uint8_t> Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public ::testing::TestWithParam<FuzzEntry> {};

TEST_P(FuzzReplay, EveryKeptInputPassesItsChecks) {
  const auto inputs = KeptInputs(GetParam().name);
  ASSERT_FALSE(inputs.empty()) << "no seed inputs for " << GetParam().name << " under " << kFuzzFolder;
  for (const auto& file : inputs) {
    const auto bytes = Contents(file);
    try {
      GetParam().run(bytes);
    } catch (const std::exception& error) {
      ADD_FAILURE() << file << ": " << error.what();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(FuzzEntries()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vortaboot::fuzz
