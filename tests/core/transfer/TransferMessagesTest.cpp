#include "core/transfer/TransferMessages.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SizeText, KilobytesWithOneDecimal)
{
    const struct {
        uint64_t bytes;
        std::u16string text;
    } cases[] = {
        {0, u"0.0K"},         {51, u"0.0K"},   {52, u"0.1K"},       {1023, u"1.0K"},
        {12800, u"12.5K"},    {1075, u"1.0K"}, {1076, u"1.1K"},     {102400, u"100.0K"},
        {1048576, u"1024.0K"}, {4294967295u, u"4194304.0K"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeInKText(c.bytes), c.text) << c.bytes;
}

TEST(Checksum16, WrapsAtSixtyFiveThousandFiveHundredThirtySix)
{
    EXPECT_EQ(checksum16(Bytes(257, 0xFF)), (257 * 255) % 65536);
    EXPECT_EQ(checksum16(Bytes(300, 0xFF)), (300 * 255) % 65536);
    EXPECT_EQ(checksum16({}), 0);
}

TEST(TransferMessages, StartMessageIsLengthChecksumKindBigEndian)
{
    EXPECT_EQ(downloadStartPayload(0x01020304, 0xA1B2, 3), (Bytes{1, 2, 3, 4, 0xA1, 0xB2, 3}));
    EXPECT_EQ(firmwareStartPayload(0xFFFF, 0x1234), (Bytes{0xFF, 0xFF, 0x12, 0x34}));
    EXPECT_EQ(uploadBlockRequest(0x01000200, 512), (Bytes{1, 0, 2, 0, 2, 0}));
}

TEST(TransferMessages, BlockRoundTripsAndBrokenBlocksAreRefused)
{
    const Bytes block{0, 0, 0, 7, 0xFE, 0, 9};
    const Bytes payload = downloadBlockPayload(block);
    const auto parsed = parseDownloadBlock(payload);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->bytes, block);

    Bytes wrongRaw = payload;
    wrongRaw[1] = 8;
    Bytes wrongEncoded = payload;
    wrongEncoded[3] += 1;
    Bytes badRun{0, 2, 0, 2, 0xFE, 0xFB}; // a run count above 250
    for (const Bytes& p : {wrongRaw, wrongEncoded, badRun, Bytes{0, 1}, Bytes{}})
        EXPECT_FALSE(parseDownloadBlock(p));
}

TEST(TransferMessages, ShortRepliesDoNotParse)
{
    const Bytes info = uploadInfoPayload({2, 1, 0x02000000, 1025});
    ASSERT_EQ(info.size(), kUploadInfoSize);
    const auto parsed = parseUploadInfo(info);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->baseAddress, 0x02000000u);
    EXPECT_EQ(parsed->length, 1025u);
    EXPECT_FALSE(parseUploadInfo(std::span(info).first(9)));

    const Bytes status = statusReplyPayload({0x50, 70000});
    EXPECT_EQ(parseStatusReply(status)->bytesHeld, 70000u);
    EXPECT_FALSE(parseStatusReply(std::span(status).first(4)));

    EXPECT_FALSE(parseDownloadStart(Bytes(6, 0)));
    EXPECT_FALSE(parseUploadBlockRequest(Bytes(5, 0)));
    EXPECT_FALSE(parseFirmwareStart(Bytes(3, 0)));
    EXPECT_FALSE(parseFirmwareBlock(Bytes{0, 3, 1, 2}));
    EXPECT_EQ(parseFirmwareBlock(Bytes{0, 2, 1, 2}), (Bytes{1, 2}));
}

} // namespace
} // namespace rz::transfer
