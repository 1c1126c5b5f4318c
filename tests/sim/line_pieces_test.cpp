// The pieces between the line and the device: cutting frames out of what
// arrives, and pacing what leaves.

#include <gtest/gtest.h>

#include "sim/frame_assembler.h"
#include "sim/paced_output.h"
#include "sim_frames.h"

namespace vortaboot::sim {
namespace {

using namespace std::chrono_literals;
using testing::request;
using Time = std::chrono::steady_clock::time_point;

const Time t0{std::chrono::seconds(100)};

TEST(FrameAssembler, CutsFramesByTheirLengthByteHoweverTheBytesArrive) {
  const Bytes first = request(1);
  const Bytes second = request(5, {3, 0});
  Bytes both = first;
  both.insert(both.end(), second.begin(), second.end());
  FrameAssembler assembler;
  EXPECT_EQ(assembler.add(std::span(both).first(4), t0), std::vector<Bytes>{});
  EXPECT_EQ(assembler.add(std::span(both).subspan(4, 5), t0 + 1ms), std::vector<Bytes>{first});
  EXPECT_EQ(assembler.add(std::span(both).subspan(9), t0 + 2ms), std::vector<Bytes>{second});
  FrameAssembler atOnce;
  EXPECT_EQ(atOnce.add(both, t0), (std::vector<Bytes>{first, second}));
}

TEST(FrameAssembler, ALengthByteOfZeroStandsFor256Bytes) {
  Bytes longest(256, 0x11);
  longest[0] = 0;
  FrameAssembler assembler;
  EXPECT_EQ(assembler.add(std::span(longest).first(255), t0), std::vector<Bytes>{});
  EXPECT_EQ(assembler.add(std::span(longest).subspan(255), t0), std::vector<Bytes>{longest});
}

TEST(FrameAssembler, DropsAnIncompleteFrameAfterTheLineWentIdleAndStartsAfresh) {
  const Bytes frame = request(1);
  FrameAssembler assembler;
  assembler.add(std::span(frame).first(3), t0);
  EXPECT_EQ(assembler.dropStale(t0 + FrameAssembler::kIdleLimit), Bytes{}) << "not idle long enough";
  ASSERT_TRUE(assembler.staleAt());
  EXPECT_EQ(assembler.dropStale(*assembler.staleAt()), Bytes(frame.begin(), frame.begin() + 3));
  EXPECT_FALSE(assembler.staleAt());
  EXPECT_EQ(assembler.add(frame, t0 + 1s), std::vector<Bytes>{frame});
}

TEST(PacedOutput, UnpacedBytesAreDueAtOnce) {
  PacedOutput output(std::nullopt);
  EXPECT_EQ(output.enqueue({1, 2, 3}, t0), t0);
  EXPECT_EQ(output.takeDue(t0), (Bytes{1, 2, 3}));
  EXPECT_FALSE(output.nextDue());
}

TEST(PacedOutput, EachByteTakesElevenBitTimesAndFramesQueueBehindEachOther) {
  PacedOutput output(1100u);  // 10 ms a byte
  EXPECT_EQ(output.enqueue({1, 2, 3}, t0), t0);
  EXPECT_EQ(output.enqueue({4, 5}, t0 + 5ms), t0 + 30ms) << "starts when the line is free";
  EXPECT_EQ(output.takeDue(t0 + 9ms), Bytes{});
  EXPECT_EQ(output.nextDue(), t0 + 10ms);
  EXPECT_EQ(output.takeDue(t0 + 20ms), (Bytes{1, 2}));
  EXPECT_EQ(output.takeDue(t0 + 49ms), (Bytes{3, 4}));
  EXPECT_EQ(output.takeDue(t0 + 50ms), Bytes{5});
  EXPECT_EQ(output.enqueue({6}, t0 + 80ms), t0 + 80ms) << "an idle line starts at once";
}

TEST(PacedOutput, AtTheLinksRateAByteTakesJustOverHalfAMillisecond) {
  PacedOutput output(19200u);
  output.enqueue(Bytes(96, 0), t0);
  EXPECT_EQ(output.takeDue(t0 + 54ms).size(), 94u);
  EXPECT_EQ(output.takeDue(t0 + 55ms).size(), 2u) << "96 × 11 / 19200 s = 55 ms";
}

}  // namespace
}  // namespace vortaboot::sim
