#include "core/app/Utf.h"

#include <gtest/gtest.h>

using namespace rz;

namespace {

TEST(Utf, RoundTripsEveryPlane)
{
    const std::u16string texts[] = {
        u"",
        u"LoSet=1",
        u"开发模式_功能开启",
        u"ü©",
        u"\U0001F4A1 lamp", // outside the basic plane: a surrogate pair
        u"\uFFFF\u0800\u07FF",
    };
    for (const auto& t : texts)
        EXPECT_EQ(fromUtf8(toUtf8(t)), t);
    EXPECT_EQ(toUtf8(u"通道"), "\xE9\x80\x9A\xE9\x81\x93");
    EXPECT_EQ(toUtf8(u"\U0001F4A1"), "\xF0\x9F\x92\xA1");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"StrayContinuation", "a\x80z", u"a\uFFFDz"},
        {"InvalidByte", "a\xFFz", u"a\uFFFDz"},
        {"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"AboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"TruncatedAtEnd", "ok\xE4\xB8", u"ok\uFFFD"},
        {"TruncatedBeforeAscii", "\xE4\xB8z", u"\uFFFDz"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromUtf8(c.bytes), c.text) << c.name;
}

TEST(Utf, LoneSurrogatesAreReplaced)
{
    EXPECT_EQ(toUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(toUtf8(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
    EXPECT_EQ(toUtf8(std::u16string{char16_t(0xD800)}), "\xEF\xBF\xBD");
}

} // namespace
