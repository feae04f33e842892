#include "core/rdm/DiscoveryReply.h"

#include <gtest/gtest.h>

#include <vector>

namespace rz::rdm {
namespace {

using Bytes = std::vector<uint8_t>;

// The answer of 03-11-F3-94-4E-87: preamble, separator, the UID bytes twice, checksum 086A.
const Bytes kExample{0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xAA, // preamble, separator
                     0xAB, 0x57, 0xBB, 0x55, 0xFB, 0xF7, 0xBE, 0xD5, 0xEE, 0x5F, 0xAF, 0xD7,
                     0xAA, 0x5D, 0xEA, 0x7F};
const Uid kExampleUid(0x0311, 0xF3944E87);

Bytes leadingZeros(std::size_t n, const Bytes& b)
{
    Bytes out(n, 0x00);
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

TEST(DiscoveryReply, ExampleDecodesWithUpToFiveLeadingZeros)
{
    const struct {
        std::size_t zeros;
        bool decodes;
    } cases[] = {{0, true}, {2, true}, {5, true}, {6, false}};
    for (const auto& c : cases) {
        const auto uid = decodeDiscoveryReply(leadingZeros(c.zeros, kExample));
        EXPECT_EQ(uid.has_value(), c.decodes) << c.zeros;
        if (c.decodes) {
            EXPECT_EQ(*uid, kExampleUid);
        }
    }
}

TEST(DiscoveryReply, PreambleChecksumAndLengthFaultsAreRejected)
{
    Bytes fd = kExample;
    fd[3] = 0xFD;
    Bytes separator = kExample;
    separator[7] = 0xAB;
    Bytes uidBit = kExample;
    uidBit[9] ^= 0x04; // UID byte 0 changes, the checksum no longer fits
    Bytes checksum = kExample;
    checksum[23] ^= 0x02; // a bit both halves carry
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"FD in the preamble", fd},
        {"separator", separator},
        {"an encoded bit", uidBit},
        {"checksum", checksum},
        {"23 bytes", Bytes(kExample.begin(), kExample.end() - 1)},
        {"two zeros, then 22 bytes", leadingZeros(2, Bytes(kExample.begin(), kExample.end() - 2))},
        {"nothing", {}},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(decodeDiscoveryReply(c.bytes)) << c.name;
}

TEST(DiscoveryReply, EncodingIsTheExampleAndDecodesBack)
{
    const auto bytes = encodeDiscoveryReply(kExampleUid);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), kExample);
    EXPECT_EQ(encodeDiscoveryReplyText(u"03-11-f3-94-4e-87"),
              u"FE FE FE FE FE FE FE AA AB 57 BB 55 FB F7 BE D5 EE 5F AF D7 AA 5D EA 7F ");
    for (Uid u : {Uid(0, 0), Uid::allDevices(), Uid(0x7A70, 0x80000001)})
        EXPECT_EQ(decodeDiscoveryReply(encodeDiscoveryReply(u)), u) << u.toString();
}

TEST(DiscoveryReply, EncodingTextRefusesBadUidTexts)
{
    EXPECT_EQ(encodeDiscoveryReplyText(u"03-11-f3-94-4e"), u"地址格式错误");
    EXPECT_EQ(encodeDiscoveryReplyText(u""), u"地址格式错误");
    EXPECT_EQ(encodeDiscoveryReplyText(u"03-11-f3-94-4e-8g"), u"err");
}

// Why discovery cannot trust a decoded answer: two answers OR-combined on the line form a
// valid answer of a third UID.
TEST(DiscoveryReply, CollidingAnswersCanDecodeToAThirdUid)
{
    const auto a = encodeDiscoveryReply(Uid(0x7A70, 1));
    const auto b = encodeDiscoveryReply(Uid(0x7A70, 2));
    Bytes line(a.begin(), a.end());
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] |= b[i];
    EXPECT_EQ(decodeDiscoveryReply(line), Uid(0x7A70, 3));
}

} // namespace
} // namespace rz::rdm
