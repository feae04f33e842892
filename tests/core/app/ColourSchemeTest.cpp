// The colour file: where it is looked for, the blue default, key matching and the switches.
#include "core/app/ColourScheme.h"
#include "core/app/Utf.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
namespace ck = rz::colourkeys;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

TEST(ColourSchemeFile, NoFileMeansPersonalizationOff)
{
    test::TempDir dir;
    const ColourScheme s = loadPersonalization(dir.path());
    EXPECT_FALSE(s.on());
    EXPECT_FALSE(s.colourFileFound());
    EXPECT_FALSE(s.caption().on);
    EXPECT_FALSE(s.noButtonLineBreaks());
}

TEST(ColourSchemeFile, PicIsPreferredOverPicAll)
{
    test::TempDir dir;
    const auto sys = dir / "AppSet" / "Sys_config";
    test::writeText(sys / "PicAll" / "color.ini", "公用Text背景颜色=00FF00\r\n");
    EXPECT_EQ(loadPersonalization(dir.path()).colour(ck::kTextBack), 0x00FF00u);
    EXPECT_EQ(loadPersonalization(dir.path()).folder(), sys / "PicAll");

    test::writeText(sys / "Pic" / "color.ini", "公用Text背景颜色=FFFFFF\r\n");
    const ColourScheme s = loadPersonalization(dir.path());
    EXPECT_EQ(s.colour(ck::kTextBack), kWhite);
    EXPECT_EQ(s.folder(), sys / "Pic");
}

TEST(ColourSchemeFile, OneLineMakesTextBoxesWhiteAndEverythingElseBlue)
{
    const ColourScheme s = ColourScheme::fromText("公用Text背景颜色=FFFFFF\r\n");
    EXPECT_TRUE(s.on());
    for (auto key : knownColourKeys())
        EXPECT_EQ(s.colour(key), key == ck::kTextBack ? kWhite : kPersonalDefaultColour)
            << toUtf8(key);
    EXPECT_GE(knownColourKeys().size(), 60u);
}

TEST(ColourSchemeFile, GbkFileFromTheWindowsToolIsRead)
{
    // "公用Text背景颜色=FFFFFF" in GBK.
    const ColourScheme s =
        ColourScheme::fromText("\xB9\xAB\xD3\xC3" "Text" "\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB" "=FFFFFF\r\n");
    EXPECT_EQ(s.colour(ck::kTextBack), kWhite);
}

TEST(ColourSchemeFile, PersonalizationSwitchZeroLeavesBuiltInLook)
{
    const ColourScheme s = ColourScheme::fromText("公用Text背景颜色=FFFFFF\r\n开启自定义=0\r\n"
                                                  "显示软件版本=KTV-Pro\r\n禁止ButtonCrlf=1\r\n");
    EXPECT_FALSE(s.on());
    EXPECT_FALSE(s.caption().on);
    EXPECT_FALSE(s.noButtonLineBreaks());
}

struct LineCase {
    const char* name;
    const char* text;
    uint32_t expectedTextBack;
};

class ColourSchemeLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ColourSchemeLines, TextBackColour)
{
    EXPECT_EQ(ColourScheme::fromText(GetParam().text).colour(ck::kTextBack), GetParam().expectedTextBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColourSchemeLines,
    ::testing::Values(
        LineCase{"spacesRemoved", " 公用Text 背景颜色 = FF FFFF \r\n", kWhite},
        LineCase{"lowerCaseHex", "公用Text背景颜色=ffffff", kWhite},
        LineCase{"vbHexPrefix", "公用Text背景颜色=&HFFFFFF&", kWhite},
        LineCase{"lastLineWins", "公用Text背景颜色=1\n公用Text背景颜色=FFFFFF\n", kWhite},
        LineCase{"lfOnlyLineEnds", "x=1\n公用Text背景颜色=FFFFFF", kWhite},
        LineCase{"byteOrderMark", "\xEF\xBB\xBF公用Text背景颜色=FFFFFF\r\n", kWhite},
        LineCase{"longerKeyDoesNotMatch", "公用Text背景颜色2=FFFFFF\r\n", kPersonalDefaultColour},
        LineCase{"prefixKeyDoesNotMatch", "公用Text背景=FFFFFF\r\n", kPersonalDefaultColour},
        LineCase{"notHexKeepsDefault", "公用Text背景颜色=white\r\n", kPersonalDefaultColour},
        LineCase{"emptyValueKeepsDefault", "公用Text背景颜色=\r\n", kPersonalDefaultColour},
        LineCase{"widerThanColourIgnored", "公用Text背景颜色=1FFFFFF\r\n", kPersonalDefaultColour},
        LineCase{"noEqualsSign", "公用Text背景颜色 FFFFFF\r\n", kPersonalDefaultColour}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColourSchemeFile, LinesPast3000AreNotRead)
{
    std::string text;
    for (int i = 0; i < 2999; ++i)
        text += "filler=1\r\n";
    text += "公用Label背景颜色=FFFFFF\r\n"; // line 3000
    text += "公用Text背景颜色=FFFFFF\r\n";  // line 3001
    const ColourScheme s = ColourScheme::fromText(text);
    EXPECT_EQ(s.colour(ck::kLabelBack), kWhite);
    EXPECT_EQ(s.colour(ck::kTextBack), kPersonalDefaultColour);
}

TEST(ColourSchemeFile, CaptionAndButtonSwitches)
{
    const ColourScheme s = ColourScheme::fromText("显示软件版本=KTV 灯控\r\n使用原来版本号=1\r\n"
                                                  "禁止ButtonCrlf=1\r\nlogo=隐藏\r\n");
    const CaptionPersonalization c = s.caption();
    EXPECT_TRUE(c.on);
    EXPECT_EQ(c.versionText, u"KTV灯控"); // spaces go before matching, values included
    EXPECT_EQ(c.useOriginalVersion, 1);
    EXPECT_TRUE(s.noButtonLineBreaks());
    EXPECT_TRUE(s.logoHidden());
    EXPECT_EQ(withoutLineBreaks(u"另存\r\n单个"), u"另存单个");

    EXPECT_FALSE(ColourScheme::fromText("禁止ButtonCrlf=0\r\n").noButtonLineBreaks());
    EXPECT_FALSE(ColourScheme::fromText("").logoHidden());
}

} // namespace
