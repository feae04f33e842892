#include "core/app/Conversions.h"

#include <gtest/gtest.h>

#include <random>

using namespace rz;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes zeros(std::size_t n, Bytes tail = {})
{
    Bytes b(n, 0);
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

struct EncodeCase {
    const char* name;
    Bytes source;
    Bytes encoded;
};

class ZeroRunsEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(ZeroRunsEncode, GivesExactBytesAndDecodesBack)
{
    const auto& c = GetParam();
    EXPECT_EQ(encodeZeroRuns(c.source), c.encoded);
    EXPECT_EQ(decodeZeroRuns(c.encoded), c.source);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroRunsEncode,
    testing::Values(
        EncodeCase{"SingleByte", {0x07}, {0x07}},
        EncodeCase{"SingleZero", {0x00}, {0x00}},
        // The first zero opens a run of one; the last byte is copied as it is.
        EncodeCase{"TwoZeros", {0x00, 0x00}, {0xFE, 0x01, 0x00}},
        EncodeCase{"Mixed", {0x05, 0x00, 0x00, 0x00, 0xFE, 0x07}, {0x05, 0xFE, 0x03, 0xFE, 0xFF, 0x07}},
        EncodeCase{"LoneZeroStaysLiteral", {0x01, 0x00, 0x02}, {0x01, 0x00, 0x02}},
        EncodeCase{"ZeroBeforeEscapeByteStaysLiteral", {0x00, 0xFE}, {0x00, 0xFE}},
        EncodeCase{"RunThenByte", {0x00, 0x00, 0x00, 0x05}, {0xFE, 0x03, 0x05}},
        EncodeCase{"TrailingZerosOfARun", {0x05, 0x00, 0x00}, {0x05, 0xFE, 0x01, 0x00}},
        EncodeCase{"TrailingEscapeByteNotEscaped", {0x05, 0xFE}, {0x05, 0xFE}},
        EncodeCase{"LeadingEscapeByte", {0xFE, 0x05}, {0xFE, 0xFF, 0x05}},
        EncodeCase{"EscapeBytesOnly", {0xFE, 0xFE, 0xFE}, {0xFE, 0xFF, 0xFE, 0xFF, 0xFE}},
        EncodeCase{"RunOfExactly250", zeros(250, {0x07}), {0xFE, 0xFA, 0x07}},
        // The run closes at 250; the 251st zero is followed by 07 with no run open.
        EncodeCase{"RunOf251", zeros(251, {0x07}), {0xFE, 0xFA, 0x00, 0x07}},
        EncodeCase{"RunOf252OpensASecondRun", zeros(252, {0x07}), {0xFE, 0xFA, 0xFE, 0x02, 0x07}},
        EncodeCase{"RunOf300", zeros(300, {0x07}), {0xFE, 0xFA, 0xFE, 0x32, 0x07}},
        EncodeCase{"AllZeroUniverse", zeros(512), {0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x0B, 0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZeroRuns, EmptyInputGivesEmptyOutput)
{
    EXPECT_TRUE(encodeZeroRuns({}).empty());
    EXPECT_EQ(decodeZeroRuns({}), Bytes{});
}

TEST(ZeroRuns, DecodeRefusesCountsTheEncoderNeverWrites)
{
    const Bytes bad[] = {
        {0xFE, 0x00},             // a run of no zeros
        {0x01, 0xFE, 0xFB, 0x02}, // longer than 250
        {0xFE, 0xFE, 0x01},       // escape byte as a count
        {0xFE, 0xFD},
    };
    for (const auto& b : bad)
        EXPECT_FALSE(decodeZeroRuns(b).has_value()) << testing::PrintToString(b);
}

// Random blocks rich in zero runs and escape bytes survive the round trip and never grow
// beyond twice their size.
TEST(ZeroRuns, RandomBlocksRoundTrip)
{
    std::mt19937 rng(760);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 1200)(rng);
        Bytes src;
        while (src.size() < n) {
            const int kind = std::uniform_int_distribution<int>(0, 3)(rng);
            const std::size_t len = std::uniform_int_distribution<std::size_t>(1, kind == 0 ? 600 : 4)(rng);
            const uint8_t value = kind == 0   ? 0x00
                                  : kind == 1 ? 0xFE
                                              : static_cast<uint8_t>(rng());
            src.insert(src.end(), std::min(len, n - src.size()), value);
        }
        const auto enc = encodeZeroRuns(src);
        ASSERT_LE(enc.size(), 2 * src.size());
        const auto dec = decodeZeroRuns(enc);
        ASSERT_TRUE(dec.has_value()) << "trial " << trial;
        ASSERT_EQ(*dec, src) << "trial " << trial;
    }
}

} // namespace
