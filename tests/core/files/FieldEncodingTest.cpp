#include "core/files/ByteImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using namespace rz::files;

namespace {

std::vector<uint8_t> written(const ByteWriter& w) { return {w.bytes().begin(), w.bytes().end()}; }

} // namespace

// One image with every encoding, written out byte by byte.
TEST(FieldEncoding, GoldenBytesOfEveryEncoding)
{
    ByteWriter w(1000);
    w.putByte(0x1A5);                      // byte keeps the low 8 bits
    w.putWord(0x12345);                    // word keeps the low 16 bits
    w.putInt24(0xFF0A0B0C);                // 24-bit keeps the low 24 bits
    w.putLong(0x89ABCDEF);
    w.putId("F1040401");
    w.putText(u"A\u706F", 20);             // "A灯"
    w.putText(u"", 20);
    const std::array<uint8_t, 3> block{0xFE, 0x00, 0x7F};
    w.putBytes(block);
    w.putZeros(2);
    const std::array<uint32_t, 2> words{0x0102, 0x1FFFF};
    w.putWordArray(words);
    const std::array<uint32_t, 2> triples{0x010203, 0xAABBCCDD};
    w.putInt24Array(triples);

    const std::vector<uint8_t> expected{
        0xA5,                               // byte
        0x23, 0x45,                         // word
        0x0A, 0x0B, 0x0C,                   // 24-bit
        0x89, 0xAB, 0xCD, 0xEF,             // long
        0xF1, 0x04, 0x04, 0x01,             // identifier "F1040401"
        0x02, 0x00, 0x41, 0x70, 0x6F,       // text: length 2, 'A', U+706F high byte first
        0x00,                               // empty text
        0xFE, 0x00, 0x7F,                   // byte block
        0x00, 0x00,                         // zeros
        0x01, 0x02, 0xFF, 0xFF,             // word array, elements 1..2
        0x01, 0x02, 0x03, 0xBB, 0xCC, 0xDD, // 24-bit array, elements 1..2
    };
    EXPECT_EQ(written(w), expected);
    EXPECT_EQ(w.cursor(), expected.size());
    EXPECT_FALSE(w.overflowed());

    ByteReader r(expected);
    EXPECT_EQ(r.getByte(), 0xA5);
    EXPECT_EQ(r.getWord(), 0x2345u);
    EXPECT_EQ(r.getInt24(), 0x0A0B0Cu);
    EXPECT_EQ(r.getLong(), 0x89ABCDEFu);
    EXPECT_EQ(r.getId(), "F1040401");
    EXPECT_EQ(r.getText(), u"A\u706F");
    EXPECT_EQ(r.getText(), u"");
    EXPECT_EQ(r.getBytes(3), std::vector<uint8_t>(block.begin(), block.end()));
    EXPECT_EQ(r.getBytes(2), std::vector<uint8_t>(2, 0));
    EXPECT_EQ(r.getWordArray(2), (std::vector<uint32_t>{0x0102, 0xFFFF}));
    EXPECT_EQ(r.getInt24Array(2), (std::vector<uint32_t>{0x010203, 0xBBCCDD}));
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(FieldEncoding, WritesAtAPositionLeaveTheCursorAndFillGapsWithZeros)
{
    ByteWriter w(100);
    w.putLong(0);
    w.putByteAt(0, 0x11);
    w.putWordAt(1, 0x2233);
    w.putInt24At(8, 0x445566);      // beyond what was written: positions 4..7 stay zero
    EXPECT_EQ(w.cursor(), 4u);
    w.putLongAt(11, 0x778899AA);
    const std::array<uint32_t, 2> words{0xBBCC, 0xDDEE};
    w.putWordArrayAt(15, words);
    const std::array<uint32_t, 1> triple{0x123456};
    w.putInt24ArrayAt(19, triple);
    EXPECT_EQ(w.cursor(), 4u);

    const std::vector<uint8_t> expected{
        0x11, 0x22, 0x33, 0x00,       // byte at 0, word at 1 over the long of zeros
        0x00, 0x00, 0x00, 0x00,       // gap
        0x44, 0x55, 0x66,             // 24-bit at 8
        0x77, 0x88, 0x99, 0xAA,       // long at 11
        0xBB, 0xCC, 0xDD, 0xEE,       // word array at 15
        0x12, 0x34, 0x56,             // 24-bit array at 19
    };
    EXPECT_EQ(written(w), expected);

    ByteReader r(expected);
    EXPECT_EQ(r.getByteAt(0), 0x11);
    EXPECT_EQ(r.getWordAt(1), 0x2233u);
    EXPECT_EQ(r.getInt24At(8), 0x445566u);
    EXPECT_EQ(r.getLongAt(11), 0x778899AAu);
    EXPECT_EQ(r.cursor(), 0u);
    EXPECT_TRUE(r.ok());
}

TEST(FieldEncoding, SignedWordIsTwosComplement)
{
    const std::vector<uint8_t> image{0xFF, 0xFF, 0x80, 0x00, 0x7F, 0xFF};
    ByteReader r(image);
    EXPECT_EQ(r.getSignedWord(), -1);
    EXPECT_EQ(r.getSignedWord(), -32768);
    EXPECT_EQ(r.getSignedWord(), 32767);
}

struct IdCase {
    const char* text;
    std::array<uint8_t, 4> bytes;
    const char* readBack;
};

TEST(FieldEncoding, IdentifiersFromEightHexDigits)
{
    const IdCase cases[] = {
        {"F10410A1", {0xF1, 0x04, 0x10, 0xA1}, "F10410A1"},
        {"00000000", {0x00, 0x00, 0x00, 0x00}, "00000000"},
        {"EEEEEEEE", {0xEE, 0xEE, 0xEE, 0xEE}, "EEEEEEEE"},
        {"f10410a1", {0xF1, 0x04, 0x10, 0xA1}, "F10410A1"}, // read back in upper case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ByteWriter w(4);
        w.putId(c.text);
        EXPECT_EQ(written(w), std::vector<uint8_t>(c.bytes.begin(), c.bytes.end()));
        ByteReader r(w.bytes());
        EXPECT_EQ(r.getId(), c.readBack);
    }
}

TEST(FieldEncodingDeathTest, MalformedIdentifierIsAProgrammingError)
{
    for (const char* bad : {"F10410A", "F10410A12", "F10410AG", ""}) {
        SCOPED_TRACE(bad);
        ByteWriter w(8);
        EXPECT_DEBUG_DEATH(w.putId(bad), "");
#ifdef NDEBUG
        // Release builds write zeros in its place and keep the layout.
        EXPECT_EQ(written(w), std::vector<uint8_t>(4, 0));
#endif
    }
}

TEST(TextField, TruncatedToTheMaximumLength)
{
    struct Case {
        std::size_t length;
        std::size_t maxLength;
        std::size_t stored;
    } const cases[] = {
        {300, 250, 250}, // length byte FA, 500 bytes
        {250, 250, 250},
        {21, 20, 20},
        {5, 20, 5},
        {3, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " units, maximum " << c.maxLength);
        std::u16string text;
        for (std::size_t i = 0; i < c.length; ++i)
            text.push_back(static_cast<char16_t>(0x4E00 + i));
        ByteWriter w(1000);
        w.putText(text, c.maxLength);
        ASSERT_EQ(w.bytes().size(), 1 + 2 * c.stored);
        EXPECT_EQ(w.bytes()[0], c.stored);
        ByteReader r(w.bytes());
        EXPECT_EQ(r.getText(), text.substr(0, c.stored));
        EXPECT_TRUE(r.ok());
    }
}

TEST(TextField, EveryCodeUnitRoundTrips)
{
    // Most Chinese characters are above 0x7FFF; none of the 16 bits may be lost or sign-extended.
    const std::u16string text{u'\u0000', u'\u007F', u'\u0080', u'\u00FF', u'\u0100', u'\u7FFF',
                              u'\u8000', u'\u9F99', u'\uFFFD', u'\uFFFF', char16_t{0xD83D}, char16_t{0xDCA1}};
    ByteWriter w(100);
    w.putText(text, 250);
    w.putByte(0x5A);
    ByteReader r(w.bytes());
    EXPECT_EQ(r.getText(), text);
    EXPECT_EQ(r.getByte(), 0x5A);
    EXPECT_TRUE(r.ok());
}

TEST(TextField, CutNeverSplitsASurrogatePair)
{
    const std::u16string text = u"ab\U0001F4A1cd"; // a b D83D DCA1 c d
    struct Case {
        std::size_t maxLength;
        std::u16string stored;
    } const cases[] = {
        {3, u"ab"},               // would end in the pair's first half
        {4, u"ab\U0001F4A1"},
        {2, u"ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxLength);
        ByteWriter w(100);
        w.putText(text, c.maxLength);
        ByteReader r(w.bytes());
        EXPECT_EQ(r.getText(), c.stored);
    }
}
