#include "core/lightcontrol/LightControlEditing.h"

#include <gtest/gtest.h>

using namespace rz::lightcontrol;

TEST(LightControlEditing, IrKeyTextsStoreEightHexDigitsOrNothing)
{
    struct Case {
        std::u16string text;
        IrTextResult result;
        IrCode stored; // the key's code afterwards; it starts as 01 02 03 04
    };
    const IrCode start{0x01, 0x02, 0x03, 0x04};
    const Case cases[] = {
        {u"11 22 33 44", IrTextResult::stored, {0x11, 0x22, 0x33, 0x44}},
        {u"a0b1C2d3", IrTextResult::stored, {0xA0, 0xB1, 0xC2, 0xD3}},
        {u" FF FF FF FF ", IrTextResult::stored, {0xFF, 0xFF, 0xFF, 0xFF}},
        {u"00 00 00 00", IrTextResult::stored, {}}, // stored, and means no code
        {u"", IrTextResult::cleared, {}},
        {u"   ", IrTextResult::cleared, {}},
        {u"11 22 33 4", IrTextResult::invalid, start},
        {u"11 22 33 44 5", IrTextResult::invalid, start},
        {u"11 22 33 4G", IrTextResult::invalid, start},
        {u"11 22 33 -4", IrTextResult::invalid, start},
        {u"１１223344", IrTextResult::invalid, start}, // full-width digits
    };
    for (const Case& c : cases) {
        LightControlSettings s;
        s.effectsUnitIr[3] = start;
        EXPECT_EQ(applyIrKeyText(s, 3, c.text), c.result) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(s.effectsUnitIr[3], c.stored) << std::string(c.text.begin(), c.text.end());
    }
    LightControlSettings s;
    EXPECT_EQ(applyIrKeyText(s, 0, u""), IrTextResult::invalid);
    EXPECT_EQ(applyIrKeyText(s, 21, u"11223344"), IrTextResult::invalid);
    EXPECT_EQ(s, LightControlSettings{});
}

TEST(LightControlEditing, IrKeyTextShowsEachByteWithASpaceOrNothing)
{
    EXPECT_EQ(irKeyText({0x0A, 0x1B, 0x00, 0xFF}), u"0A 1B 00 FF ");
    EXPECT_EQ(irKeyText({0, 0, 0, 0}), u"");
    LightControlSettings s;
    s.effectsUnitIr[5] = {0xDE, 0xAD, 0xBE, 0xEF};
    const IrCode before = s.effectsUnitIr[5];
    EXPECT_EQ(applyIrKeyText(s, 5, irKeyText(before)), IrTextResult::stored) << "the shown text reads back";
    EXPECT_EQ(s.effectsUnitIr[5], before);
}

TEST(LightControlEditing, TypedNumbersOutsideTheirRangeKeepTheField)
{
    EXPECT_EQ(parseFixedDmxChannel(u"512"), 512);
    EXPECT_EQ(parseFixedDmxChannel(u"0"), 0);
    EXPECT_EQ(parseFixedDmxChannel(u"007"), 7);
    for (std::u16string_view bad : {u"600", u"513", u"-1", u"12a", u"", u" 5", u"99999999999"})
        EXPECT_EQ(parseFixedDmxChannel(bad), std::nullopt) << std::string(bad.begin(), bad.end());

    EXPECT_EQ(parseDmxLevel(u"255"), 255);
    EXPECT_EQ(parseDmxLevel(u"256"), std::nullopt);
    EXPECT_EQ(parseDmxLevel(u"x"), std::nullopt);
}

TEST(LightControlEditing, ListTexts)
{
    EXPECT_EQ(powerOnSceneEntry(0, u"whatever"), u"无");
    EXPECT_EQ(powerOnSceneEntry(5, u"动感"), u"5-动感");
    EXPECT_EQ(powerOnSceneEntry(32, u""), u"32-");
    EXPECT_EQ(micShakeText(20), u"20秒");
    EXPECT_EQ(micShakeFromText(u"20秒"), 20);
    EXPECT_EQ(micShakeFromText(u"秒"), std::nullopt);
}

TEST(LightControlEditing, DimmingDisplayCorrectsStepsAndMinimum)
{
    struct Case {
        uint8_t steps, minimum, wantSteps, wantMinimum;
    };
    const Case cases[] = {
        {0, 0, 10, 0}, {1, 40, 1, 40}, {10, 41, 10, 40}, {11, 255, 10, 40}, {5, 12, 5, 12},
    };
    for (const Case& c : cases) {
        LightControlSettings s;
        s.dimmingSteps = c.steps;
        s.dimmingMinimum = c.minimum;
        correctDimmingForDisplay(s);
        EXPECT_EQ(s.dimmingSteps, c.wantSteps) << int(c.steps);
        EXPECT_EQ(s.dimmingMinimum, c.wantMinimum) << int(c.minimum);
    }
}
