// Fader positions and values, the wheel's one-notch rule, wheel focus ranges and the arrow keys.
#include "core/app/FaderMath.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;

namespace {

constexpr int kHeight = 2800; // travel 2550: ten units per level at faderMax 255

TEST(FaderMath, ValueAtEndsAndMiddle)
{
    EXPECT_EQ(faderValueAt(255, kHeight, 0), 255);
    EXPECT_EQ(faderValueAt(255, kHeight, 2550), 0);
    EXPECT_EQ(faderValueAt(255, kHeight, 1280), 127);
    EXPECT_EQ(faderValueAt(100, 1250, 500), 50);
    // Past either end the value stays in range.
    EXPECT_EQ(faderValueAt(255, kHeight, -400), 255);
    EXPECT_EQ(faderValueAt(255, kHeight, 9000), 0);
}

TEST(FaderMath, EveryValueSurvivesTheRoundTripThroughItsKnobPosition)
{
    // Any fader with at least one unit of travel per level.
    for (int height : {505, 1000, 2800, 4001})
        for (int v = 0; v <= 255; ++v)
            ASSERT_EQ(faderValueAt(255, height, faderKnobTopFor(255, height, v)), v) << height << " " << v;
}

TEST(FaderMath, DraggingKeepsTheKnobOnTheFader)
{
    struct Case {
        int pointerY;
        int expectedTop;
        int expectedValue;
    };
    const Case cases[] = {
        {-1000, 0, 255},     // above the top
        {125, 0, 255},       // knob centre at the pointer
        {1405, 1280, 127},
        {2675, 2550, 0},
        {99999, 2550, 0},    // below the bottom
    };
    for (const Case& c : cases) {
        const int top = faderKnobTopWhileDragging(kHeight, c.pointerY);
        EXPECT_EQ(top, c.expectedTop) << c.pointerY;
        EXPECT_EQ(faderValueAt(255, kHeight, top), c.expectedValue) << c.pointerY;
    }
}

TEST(FaderMath, FaderWithoutTravelDoesNotDivideByZero)
{
    EXPECT_EQ(faderValueAt(255, 250, 0), 255);
    EXPECT_EQ(faderValueAt(255, 100, 30), 0);
    EXPECT_EQ(faderKnobTopFor(255, 200, 100), 0);
    EXPECT_EQ(faderKnobTopWhileDragging(200, 500), 0);
}

TEST(WheelRules, OnlyOneNotchWithoutModifiersIsAStep)
{
    struct Case {
        int delta;
        bool modifier, disabled, closing;
        WheelStep expected;
    };
    const Case cases[] = {
        {120, false, false, false, WheelStep::up},
        {-120, false, false, false, WheelStep::down},
        {-240, false, false, false, WheelStep::none},
        {240, false, false, false, WheelStep::none},
        {60, false, false, false, WheelStep::none},
        {0, false, false, false, WheelStep::none},
        {120, true, false, false, WheelStep::none},
        {-120, false, true, false, WheelStep::none},
        {120, false, false, true, WheelStep::none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wheelStepFor(c.delta, c.modifier, c.disabled, c.closing), c.expected) << c.delta;
}

TEST(WheelRules, FocusRangesChooseThePage)
{
    struct Case {
        int32_t focus;
        WheelPage page;
        int channel;
    };
    const Case cases[] = {
        {0, WheelPage::none, 0},       {999, WheelPage::none, 0},
        {1000, WheelPage::fixtureLibrary, 0}, {1005, WheelPage::fixtureLibrary, 5},
        {1999, WheelPage::fixtureLibrary, 999}, {2032, WheelPage::material, 32},
        {2999, WheelPage::material, 999}, {3000, WheelPage::none, 0}, {-1000, WheelPage::none, 0},
    };
    for (const Case& c : cases) {
        const WheelTarget t = wheelTargetFor(c.focus);
        EXPECT_EQ(t.page, c.page) << c.focus;
        EXPECT_EQ(t.channel, c.channel) << c.focus;
    }
}

TEST(WheelRules, StepsStayWithinByteRange)
{
    EXPECT_EQ(steppedLevel(255, WheelStep::up), 255);
    EXPECT_EQ(steppedLevel(0, WheelStep::down), 0);
    EXPECT_EQ(steppedLevel(7, WheelStep::up), 8);
    EXPECT_EQ(steppedLevel(7, WheelStep::down), 6);
    EXPECT_EQ(steppedLevel(7, WheelStep::none), 7);
}

TEST(WheelRules, ArrowKeysActAsWheelSteps)
{
    test::FakeKeyState keys;
    EXPECT_EQ(keyboardScrollStep(keys), WheelStep::none);

    keys.states[kVirtualKeyDown] = 0x0001; // tapped between two looks: one step only
    EXPECT_EQ(keyboardScrollStep(keys), WheelStep::down);
    EXPECT_EQ(keyboardScrollStep(keys), WheelStep::none);

    keys.states[kVirtualKeyUp] = 0x8000; // held: a step on every look
    EXPECT_EQ(keyboardScrollStep(keys), WheelStep::up);
    EXPECT_EQ(keyboardScrollStep(keys), WheelStep::up);
}

} // namespace
