// One libFuzzer target: hands every input to the entry named at build time.
// A finding leaves as an exception, which ends the process and makes
// libFuzzer keep the input.

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "fuzz_entries.h"

namespace {

vortaboot::fuzz::FuzzEntry EntryOfThisTarget() {
  for (const auto& entry : vortaboot::fuzz::FuzzEntries()) {
    if (std::strcmp(entry.name, VORTABOOT_FUZZ_TARGET) == 0) return entry;
  }
  throw std::logic_error("no fuzz entry named " VORTABOOT_FUZZ_TARGET);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto entry = EntryOfThisTarget();
  entry.run({data, size});
  return 0;
}
