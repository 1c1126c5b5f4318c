#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>
#include <vector>

#include "link/link_error.h"
#include "link/qv_bi.h"

namespace vortaboot::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The codec alone; sending belongs to the concrete link.
class Codec : public TQVBaseInterface {
 public:
  void Transact() override {}

  Bytes frame() const { return Bytes(TxBuffer.begin(), TxBuffer.begin() + TxLength + 1); }
  void receive(const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), RxBuffer.begin());
    RxPosition = 5;
  }
};

TEST(FrameCodec, FinishFrameWritesLengthAndChecksum) {
  Codec codec;
  codec.BeginFrame();
  codec.FinishFrame();
  EXPECT_EQ(codec.TxLength, 1);
  EXPECT_EQ(codec.frame(), (Bytes{0x02, 0xFE}));

  codec.BeginFrame();
  codec.AddByte(244);
  codec.AddWord(1);
  codec.AddByte(1);
  codec.FinishFrame();
  EXPECT_EQ(codec.TxLength, 5);
  EXPECT_EQ(codec.frame(), (Bytes{0x06, 0xF4, 0x01, 0x00, 0x01, 0x04}));
}

TEST(FrameCodec, LittleEndianAppenders) {
  Codec codec;
  codec.BeginFrame();
  codec.AddWord(258);
  codec.AddInteger(258);
  codec.AddInteger(0x12345678);
  codec.FinishFrame();
  const Bytes body(codec.TxBuffer.begin() + 1, codec.TxBuffer.begin() + codec.TxLength);
  EXPECT_EQ(body, (Bytes{0x02, 0x01, 0x02, 0x01, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12}));
}

TEST(FrameCodec, LongestFrameHas256BytesAndLengthByteZero) {
  Codec codec;
  codec.BeginFrame();
  for (int i = 1; i < 255; ++i) codec.AddByte(static_cast<std::uint8_t>(i * 7));
  codec.FinishFrame();
  EXPECT_EQ(codec.TxLength, 255);
  EXPECT_EQ(codec.TxBuffer[0], 0);
  const Bytes frame = codec.frame();
  ASSERT_EQ(frame.size(), 256u);
  EXPECT_EQ(std::accumulate(frame.begin(), frame.end(), 0u) % 256, 0u);
}

TEST(FrameCodec, AppendingBeyondTheLongestFrameIsRefused) {
  Codec codec;
  codec.BeginFrame();
  for (int i = 1; i < 255; ++i) codec.AddByte(0);
  EXPECT_THROW(codec.AddByte(0), std::logic_error);
  EXPECT_EQ(codec.TxLength, 255);
}

TEST(FrameCodec, CheckReplyDetectsAnyChangedByte) {
  const Bytes good{0x06, 0xF4, 0x01, 0x00, 0x01, 0x04};
  Codec codec;
  codec.receive(good);
  EXPECT_TRUE(codec.CheckReply());
  for (std::size_t i = 1; i < good.size(); ++i) {
    Bytes bad = good;
    bad[i] ^= 0x10;
    codec.receive(bad);
    EXPECT_FALSE(codec.CheckReply()) << "byte " << i;
  }
  codec.receive({0x00, 0x55});
  EXPECT_TRUE(codec.CheckReply()) << "an empty sum is zero";
}

TEST(FrameCodec, ReadsPayloadInOrder) {
  Codec codec;
  codec.receive({0x09, 0xF4, 0x01, 0x00, 0x00, 0x07, 0x02, 0x01, 0xF8});
  EXPECT_EQ(codec.ReadByte(), 0x07);
  EXPECT_EQ(codec.ReadWord(), 258);
  EXPECT_EQ(codec.RxPosition, 8);
}

TEST(FrameCodec, ReadingPastThePayloadIsALinkErrorNotStaleData) {
  Codec codec;
  codec.RxBuffer.fill(0xEE);  // left over from an earlier, longer frame
  codec.receive({0x08, 0xF4, 0x01, 0x00, 0x00, 0x11, 0x22, 0xD0});
  EXPECT_EQ(codec.ReadByte(), 0x11);
  EXPECT_EQ(codec.ReadByte(), 0x22);
  try {
    codec.ReadByte();
    FAIL() << "read the checksum byte as payload";
  } catch (const LinkError& error) {
    EXPECT_STREQ(error.what(), "RS232. Ошибка обмена.(5)");
  }
  codec.RxPosition = 6;
  EXPECT_THROW(codec.ReadWord(), LinkError) << "a word straddling the checksum";
}

}  // namespace
}  // namespace vortaboot::link
