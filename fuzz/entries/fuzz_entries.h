#pragma once
// The functions the fuzzers call with each input, shared with the test that
// replays every kept input, so CI re-checks them without a fuzzing compiler.
//
// An entry returns quietly for input the code under test handles, refusals
// included, and throws FuzzFinding when the code breaks a promise it makes.
// Any other exception that escapes is a finding too.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vortaboot::fuzz {

class FuzzFinding : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

inline void Require(bool holds, const std::string& promise) {
  if (!holds) throw FuzzFinding(promise);
}

using FuzzInput = std::span<const std::uint8_t>;

// Arbitrary bytes arriving on the line while the link receives or transacts;
// the input's first bytes choose the call, the time-outs and the pace.
void FuzzReplyReader(FuzzInput input);
// Arbitrary firmware image files.
void FuzzFirmwareImage(FuzzInput input);
// The first 96 bytes are the device's range table, the rest a settings
// file; the file is taken apart, planned, and written into a simulated device.
void FuzzSettingsFile(FuzzInput input);
// The first line names a section, a key and a value, separated by tabs; the
// rest is a configuration file that is read, then written.
void FuzzIniFile(FuzzInput input);

struct FuzzEntry {
  const char* name;  // also the folder name of its corpus and regressions
  void (*run)(FuzzInput input);
};

const std::vector<FuzzEntry>& FuzzEntries();

}  // namespace vortaboot::fuzz
