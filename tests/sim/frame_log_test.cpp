#include "sim/frame_log.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vortaboot::sim {
namespace {

TEST(FrameLog, OneLinePerFrameWithSecondsDirectionAndHexBytes) {
  std::ostringstream out;
  const std::chrono::steady_clock::time_point start{std::chrono::seconds(50)};
  FrameLog log(out, start);
  log.record("rx", {0x06, 0xF4, 0x01, 0x00, 0x01, 0x04}, start + std::chrono::milliseconds(1500));
  log.record("tx", {0x0A}, start + std::chrono::milliseconds(62003));
  EXPECT_EQ(out.str(), "     1.500 rx 06 F4 01 00 01 04\n    62.003 tx 0A\n");
}

}  // namespace
}  // namespace vortaboot::sim
