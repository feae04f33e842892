#include "core/app/GbkTable.h"
#include "core/app/TextEncoding.h"

#include <gtest/gtest.h>

using namespace rz;

namespace {

// "灯光备份" as the older Windows tool writes it.
const std::string kLightBackupGbk = "\xB5\xC6\xB9\xE2\xB1\xB8\xB7\xDD";

TEST(TextEncoding, EveryGbkCharacterRoundTrips)
{
    for (const gbk::UnicodeToGbk& entry : gbk::kFromUnicode) {
        const std::string bytes{static_cast<char>(entry.gbk >> 8), static_cast<char>(entry.gbk & 0xFF)};
        ASSERT_EQ(fromGbk(bytes), std::u16string(1, entry.unicode)) << std::hex << entry.gbk;
        ASSERT_EQ(toGbk(std::u16string(1, entry.unicode)), bytes) << std::hex << static_cast<int>(entry.unicode);
    }
    EXPECT_EQ(fromGbk(kLightBackupGbk), u"灯光备份");
    EXPECT_EQ(toGbk(u"a=灯光备份\r\n"), "a=" + kLightBackupGbk + "\r\n");
}

TEST(TextEncoding, BadGbkBytesBecomeReplacementCharacters)
{
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\x80", u"\uFFFD"},                 // no one-byte euro sign
        {"\xFF" "A", u"\uFFFD" "A"},         // never a lead byte
        {"a\xB5", u"a\uFFFD"},               // lead byte cut off at the end
        {"\xB5\x7F", u"\uFFFD\x7F"},         // 0x7F is never a trail byte; it is kept
        {"\xB5\x0A" "b", u"\uFFFD\nb"},      // a line end after a bad lead byte survives
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromGbk(c.bytes), c.text) << c.bytes;
}

TEST(TextEncoding, CharactersWithoutAGbkFormAreRefusedNotReplaced)
{
    EXPECT_EQ(toGbk(u"\u20AC"), std::nullopt);
    EXPECT_EQ(toGbk(u"灯\U0001F600"), std::nullopt);
    EXPECT_EQ(encodeText(u"\u20AC", TextEncoding::Utf8), "\xE2\x82\xAC");
    EXPECT_EQ(toGbk(u"plain"), "plain");
}

TEST(TextEncoding, ValidUtf8IsUtf8AndAnythingElseGbk)
{
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"key=1\r\n", true},
        {"\xE7\x81\xAF\xE5\x85\x89", true}, // "灯光"
        {"\xF0\x9F\x98\x80", true},
        {"\xC0\x80", false},                 // overlong
        {"\xED\xA0\x80", false},             // encoded surrogate
        {"\xF4\x90\x80\x80", false},         // above U+10FFFF
        {"\xE7\x81", false},                 // cut off
        {"\x81", false},
        {kLightBackupGbk, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
        EXPECT_EQ(detectEncoding(c.bytes), c.valid ? TextEncoding::Utf8 : TextEncoding::Gbk) << c.bytes;
    }
    EXPECT_EQ(decodeText(kLightBackupGbk, detectEncoding(kLightBackupGbk)), u"灯光备份");
}

} // namespace
