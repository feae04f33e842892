#include "core/materials/CircleMotion.h"

#include <gtest/gtest.h>

using namespace rz::materials;

namespace {

Material circleMaterial(int fixtures, int channels)
{
    Material m;
    m.fixtureCount = static_cast<uint8_t>(fixtures);
    m.channelCount = static_cast<uint8_t>(channels);
    m.motionType = kMotionCircle;
    m.motionGlobal[kSpeedParameter] = 10;
    for (int f = 1; f <= fixtures; ++f) {
        auto& p = m.motionPerFixture[f];
        p[kCentreX] = 127;
        p[kScaleX] = 100;
        p[kCentreY] = 127;
        p[kScaleY] = 100;
        p[kRadius] = 100;
    }
    return m;
}

} // namespace

TEST(CirclePoint, FollowsTheCircleWithClampingLocksAndDirection)
{
    struct Case {
        const char* what;
        int parameter, value; // one per-fixture change, 0 = none
        double phase;
        int x, y;
    } cases[] = {
        {"phase 90 with pi as 3.14", 0, 0, 90, 127, 227},
        {"phase 0", 0, 0, 0, 227, 127},
        {"radius 200 clamps high", kRadius, 200, 0, 255, 127},
        {"radius 200 clamps low", kRadius, 200, 180, 0, 127},
        {"lock X keeps the centre", kLockX, 1, 0, 127, 127},
        {"lock Y keeps the centre", kLockY, 1, 90, 127, 127},
        {"reversed: 90 becomes 270", kDirection, 1, 90, 127, 27},
        {"a scale of 0 counts as 100", kScaleX, 0, 0, 227, 127},
        {"half scale", kScaleY, 50, 90, 127, 177},
        {"offset past a turn wraps", kAngleOffset, 360, 90, 127, 227},
    };
    for (const Case& c : cases) {
        Material m = circleMaterial(1, 2);
        if (c.parameter != 0)
            m.motionPerFixture[1][c.parameter] = c.value;
        const CirclePoint p = circlePoint(m, 1, c.phase);
        EXPECT_EQ(p.channel1, c.x) << c.what;
        EXPECT_EQ(p.channel2, c.y) << c.what;
    }
}

TEST(GenerateMotion, OneTurnAtTheMaterialSpeed)
{
    struct Case {
        int speed, steps;
    } cases[] = {{10, 37}, {1, 361}, {255, 2}, {360, 2}, {361, 1}};
    for (const Case& c : cases) {
        Material m = circleMaterial(2, 3);
        m.motionGlobal[kSpeedParameter] = c.speed;
        ASSERT_TRUE(generateMotionSteps(m));
        EXPECT_EQ(m.stepCount, c.steps) << "speed " << c.speed;
    }

    Material m = circleMaterial(2, 3);
    m.editStep(1).setLevel(1, 3, 99);
    m.editStep(1).stepTime = 42;
    ASSERT_TRUE(generateMotionSteps(m));
    EXPECT_EQ(m.step(9).level(1, 1), circlePoint(m, 1, 90).channel1);
    EXPECT_EQ(m.step(9).level(2, 2), 227);
    EXPECT_EQ(m.step(1).level(1, 3), 0); // channels past Y are zeroed
    EXPECT_EQ(m.step(1).stepTime, 42);   // times are left alone
    // The last step is at phase 370, which the wrap maps to 10 degrees.
    EXPECT_EQ(m.step(37).level(1, 1), m.step(1).level(1, 1));
    EXPECT_EQ(m.step(37).level(1, 2), m.step(1).level(1, 2));
}

TEST(GenerateMotion, RefusesASpeedThatNeverCompletesATurn)
{
    for (int speed : {0, -5}) {
        Material m = circleMaterial(1, 2);
        m.stepCount = 3;
        m.motionGlobal[kSpeedParameter] = speed;
        int16_t current = 2;
        EXPECT_FALSE(generateMotion(m, current));
        EXPECT_EQ(m.stepCount, 3);
        EXPECT_EQ(current, 2);
    }
}

TEST(GenerateMotion, EditorButtonMakesOneTickFadingSteps)
{
    Material m = circleMaterial(1, 2);
    m.perStepTimeMode = 1;
    int16_t current = 0;
    ASSERT_TRUE(generateMotion(m, current));
    EXPECT_EQ(current, 1);
    EXPECT_EQ(m.allStepsFade, 1);
    EXPECT_EQ(m.perStepTimeMode, 0);
    EXPECT_EQ(m.uniformTime, 1);

    m.motionType = kMotionNone;
    EXPECT_FALSE(generateMotion(m, current));
}

TEST(MotionParameters, OutOfRangeValuesFallBackToTheirDefaults)
{
    Material m;
    m.motionGlobal[kSpeedParameter] = 0;
    auto& p = m.motionPerFixture[3];
    p[kCentreX] = 300;
    p[kScaleX] = 0;
    p[kLockY] = 2;
    p[kRadius] = 0;
    p[kAngleOffset] = 360;
    p[kCentreY] = 0;
    normaliseMotionParameters(m, 3);
    EXPECT_EQ(m.motionGlobal[kSpeedParameter], 10);
    EXPECT_EQ(p[kCentreX], 127);
    EXPECT_EQ(p[kScaleX], 100);
    EXPECT_EQ(p[kLockY], 0);
    EXPECT_EQ(p[kRadius], 10);
    EXPECT_EQ(p[kAngleOffset], 360); // in range
    EXPECT_EQ(p[kCentreY], 0);
    EXPECT_EQ(m.motionPerFixture[4][kRadius], 0); // other fixtures are not touched
}
