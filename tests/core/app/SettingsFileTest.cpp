#include "core/app/SettingsFile.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace rz;

namespace {

class SettingsFile : public testing::Test {
protected:
    std::filesystem::path file() const { return dir / "AppSet" / "SYSTEM.INI"; }
    void given(const std::string& bytes) { test::writeText(file(), bytes); }
    std::string bytes() const { return test::readText(file()); }

    test::TempDir dir;
};

TEST_F(SettingsFile, LastMatchWinsOnReadAndEveryMatchIsReplacedOnWrite)
{
    given("a=1\r\nb=2\r\na=3\r\n");
    EXPECT_EQ(readKey(file(), u"a"), u"3");
    EXPECT_EQ(readKey(file(), u"b"), u"2");

    ASSERT_TRUE(writeKey(file(), u"a", u"5"));
    EXPECT_EQ(bytes(), "a=5\r\nb=2\r\na=5\r\n");
}

TEST_F(SettingsFile, KeysMatchExactlyAndValuesAreTakenWhole)
{
    given("WIFI_IPX=10.0.0.9\r\n"
          "wifi_ip=lower\r\n"
          "WIFI_IP =spaced\r\n"
          "URL=http://h/?a=b\r\n"
          "Pad=  x  \r\n"
          "Empty=\r\n"
          "a=b=c\r\n"
          "不自动备份=1\r\n");
    struct Case {
        std::u16string_view key;
        std::u16string_view value;
    };
    const Case cases[] = {
        {u"WIFI_IP", u""},             // neither the longer key, another case nor "key ="
        {u"WIFI_IPX", u"10.0.0.9"},
        {u"URL", u"http://h/?a=b"},    // everything after the first "=" after the key
        {u"Pad", u"  x  "},            // untrimmed
        {u"Empty", u""},
        {u"不自动备份", u"1"},
        {u"a", u"b=c"},
        {u"a=b", u"c"},                // a key may itself hold "="
        {u"Missing", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readKey(file(), c.key), c.value) << testing::PrintToString(std::u16string(c.key));
}

TEST_F(SettingsFile, MissingFileReadsEmptyAndIsCreatedWithOneLine)
{
    EXPECT_EQ(readKey(file(), u"LoSet"), u"");
    EXPECT_FALSE(std::filesystem::exists(file())); // reading creates nothing

    ASSERT_TRUE(writeKey(file(), u"升级文件路径", u"C:\\fw\\固件.bin"));
    EXPECT_EQ(bytes(), "\xE5\x8D\x87\xE7\xBA\xA7\xE6\x96\x87\xE4\xBB\xB6\xE8\xB7\xAF\xE5\xBE\x84=C:\\fw\\"
                       "\xE5\x9B\xBA\xE4\xBB\xB6.bin\r\n");
    EXPECT_EQ(readKey(file(), u"升级文件路径"), u"C:\\fw\\固件.bin");
}

TEST_F(SettingsFile, RewriteKeepsOtherLinesByteForByteWithCrLfEnds)
{
    struct Case {
        const char* name;
        std::string before;
        std::string after; // once "k" is written as "9"
    };
    const Case cases[] = {
        {"LfEnds", "x=1\nk=0\ny=2\n", "x=1\r\nk=9\r\ny=2\r\n"},
        {"NoEndOnLastLine", "x=1\r\ny=2", "x=1\r\ny=2\r\nk=9\r\n"},
        {"EmptyFile", "", "k=9\r\n"},
        {"BlankLinesKept", "\r\nx=1\r\n\r\n", "\r\nx=1\r\n\r\nk=9\r\n"},
        {"NotAnEntry", "[section]\r\n; note\r\nk\r\n", "[section]\r\n; note\r\nk\r\nk=9\r\n"},
        // Bytes that are not UTF-8 (an older file in a local code page) pass through.
        {"ForeignBytes", "\xB2\xBB\xD7\xD4=1\r\nk=0\r\n", "\xB2\xBB\xD7\xD4=1\r\nk=9\r\n"},
        {"ByteOrderMarkKept", "\xEF\xBB\xBFk=0\r\n", "\xEF\xBB\xBFk=9\r\n"},
    };
    for (const auto& c : cases) {
        given(c.before);
        ASSERT_TRUE(writeKey(file(), u"k", u"9")) << c.name;
        EXPECT_EQ(bytes(), c.after) << c.name;
        EXPECT_EQ(readKey(file(), u"k"), u"9") << c.name;
    }
}

TEST_F(SettingsFile, LongFilesAreKeptWhole)
{
    std::string content;
    for (int i = 1; i <= 600; ++i)
        content += "line" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    given(content);
    ASSERT_TRUE(writeKey(file(), u"line550", u"x"));
    ASSERT_TRUE(writeKey(file(), u"new", u"y"));

    std::string expected = content;
    expected.replace(expected.find("line550=550"), 11, "line550=x");
    expected += "new=y\r\n";
    EXPECT_EQ(bytes(), expected);
}

TEST_F(SettingsFile, RefusedWritesLeaveTheFileUntouched)
{
    given("k=0\r\n");
    struct Case {
        std::u16string_view key;
        std::u16string_view value;
    };
    const Case refused[] = {
        {u"", u"1"},
        {u"k", u"1\r\nLoSet=1"}, // a value may not smuggle in another line
        {u"k", u"1\n"},
        {u"k\r", u"1"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(writeKey(file(), c.key, c.value)) << testing::PrintToString(std::u16string(c.value));
        EXPECT_EQ(bytes(), "k=0\r\n");
    }
}

TEST_F(SettingsFile, AFolderInPlaceOfTheFileReadsEmptyAndIsNotReplaced)
{
    std::filesystem::create_directories(file());
    EXPECT_EQ(readKey(file(), u"k"), u"");
    EXPECT_FALSE(writeKey(file(), u"k", u"1"));
    EXPECT_TRUE(std::filesystem::is_directory(file()));
}

TEST_F(SettingsFile, WriteLeavesNoTemporaryFileBeside)
{
    given("a=1\r\n");
    ASSERT_TRUE(writeKey(file(), u"a", u"2"));
    std::vector<std::filesystem::path> names;
    for (const auto& e : std::filesystem::directory_iterator(file().parent_path()))
        names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::filesystem::path>{"SYSTEM.INI"});
}

TEST(SettingNumber, WholeDecimalNumbersOnly)
{
    struct Case {
        std::u16string_view text;
        std::optional<int64_t> number;
    };
    const Case cases[] = {
        {u"12", 12},
        {u" -3\t", -3},
        {u"+7", 7},
        {u"007", 7},
        {u"9223372036854775807", std::numeric_limits<int64_t>::max()},
        {u"-9223372036854775808", std::numeric_limits<int64_t>::min()},
        {u"9223372036854775808", std::nullopt},
        {u"", std::nullopt},
        {u"  ", std::nullopt},
        {u"-", std::nullopt},
        {u"1.5", std::nullopt},
        {u"1 2", std::nullopt},
        {u"abc", std::nullopt},
        {u"1a", std::nullopt},
        {u"１", std::nullopt}, // full-width digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSettingNumber(c.text), c.number) << testing::PrintToString(std::u16string(c.text));
}

TEST_F(SettingsFile, TypedReadersKeepThePreviousValueOnBadText)
{
    struct Case {
        std::string line; // the file's only line
        uint8_t byteValue;
        int32_t longValue;
    };
    // The previous values are 7 for both readers.
    const Case cases[] = {
        {"v=3", 3, 3},
        {"v=255", 255, 255},
        {"v=256", 7, 256},
        {"v=-1", 7, -1},
        {"v=2147483648", 7, 7},
        {"v=-2147483648", 7, std::numeric_limits<int32_t>::min()},
        {"v=", 7, 7},
        {"v=yes", 7, 7},
        {"other=1", 7, 7},
    };
    for (const auto& c : cases) {
        given(c.line + "\r\n");
        EXPECT_EQ(readByteKey(file(), u"v", 7), c.byteValue) << c.line;
        EXPECT_EQ(readInt32Key(file(), u"v", 7), c.longValue) << c.line;
    }
    EXPECT_EQ(readByteKey(dir / "missing", u"v", 9), 9);
    EXPECT_EQ(readInt32Key(dir / "missing", u"v", -9), -9);
}

} // namespace

namespace {

// "灯光" and "自定义" in GBK, as the older Windows tool writes them.
const std::string kLightsGbk = "\xB5\xC6\xB9\xE2";
const std::string kCustomGbk = "\xD7\xD4\xB6\xA8\xD2\xE5";

TEST_F(SettingsFile, GbkFilesAreReadAndRewrittenInGbk)
{
    given("a=1\r\n" + kLightsGbk + "=" + kCustomGbk + "\r\n91T=" + kLightsGbk + "\r\n");
    EXPECT_EQ(readKey(file(), u"灯光"), u"自定义");
    EXPECT_EQ(readKey(file(), u"91T"), u"灯光");

    ASSERT_TRUE(writeKey(file(), u"灯光", u"灯光2"));
    ASSERT_TRUE(writeKey(file(), u"92T", u"自定义"));
    EXPECT_EQ(bytes(), "a=1\r\n" + kLightsGbk + "=" + kLightsGbk + "2\r\n91T=" + kLightsGbk + "\r\n92T=" +
                           kCustomGbk + "\r\n");

    // A name GBK cannot hold is refused rather than written as something else.
    const std::string before = bytes();
    EXPECT_FALSE(writeKey(file(), u"93T", u"\u20AC"));
    EXPECT_EQ(bytes(), before);
}

TEST_F(SettingsFile, Utf8FilesStayUtf8AndNewFilesAreUtf8)
{
    ASSERT_TRUE(writeKey(file(), u"91T", u"灯光"));
    EXPECT_EQ(bytes(), "91T=\xE7\x81\xAF\xE5\x85\x89\r\n");
    ASSERT_TRUE(writeKey(file(), u"92T", u"\u20AC"));
    EXPECT_EQ(readKey(file(), u"91T"), u"灯光");
    EXPECT_EQ(readKey(file(), u"92T"), u"\u20AC");
}

} // namespace
