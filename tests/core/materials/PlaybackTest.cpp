#include "core/materials/Playback.h"

#include <gtest/gtest.h>

using namespace rz::materials;

namespace {

// One fixture, one channel; step i holds the given level.
Material singleChannel(std::vector<int> levels, int16_t uniformTime)
{
    Material m;
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.uniformTime = uniformTime;
    m.stepCount = static_cast<int16_t>(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        m.editStep(static_cast<int>(i) + 1).setLevel(1, 1, static_cast<uint8_t>(levels[i]));
    return m;
}

struct Player {
    const Material& m;
    PlaybackState state{};
    int32_t duration = 0;
    int tick(bool jump = false) { return playMaterialTick(m, state, jump, duration).at(1, 1); }
    std::vector<int> ticks(int n)
    {
        std::vector<int> v;
        for (int i = 0; i < n; ++i)
            v.push_back(tick());
        return v;
    }
};

} // namespace

TEST(StepLevels, BrightnessRoundsHalvesToEven)
{
    struct Case {
        int level, reduction, expected;
    } cases[] = {{255, 50, 128}, {1, 50, 0}, {3, 50, 2}, {5, 50, 2}, {200, 0, 200}, {255, 100, 0}, {100, 30, 70}};
    for (const Case& c : cases) {
        Material m = singleChannel({c.level}, 10);
        m.brightnessReduction = static_cast<uint8_t>(c.reduction);
        EXPECT_EQ(stepLevels(m, 1).at(1, 1), c.expected) << c.level << " at " << 100 - c.reduction << "%";
    }
    Material none = singleChannel({9}, 10);
    none.stepCount = 0;
    EXPECT_EQ(stepLevels(none, 1), StepLevels{});
}

TEST(PlayMaterial, UniformTimeShowsEachStepForItsTicks)
{
    Material m = singleChannel({1, 2, 3}, 10);
    Player p{m, {}, 0};
    const std::vector<int> out = p.ticks(31);
    for (int t = 1; t <= 31; ++t) {
        const int expected = t <= 10 ? 1 : t <= 20 ? 2 : t <= 30 ? 3 : 1;
        EXPECT_EQ(out[t - 1], expected) << "tick " << t;
    }
    EXPECT_EQ(p.duration, 10);
}

TEST(PlayMaterial, PerStepTimesAndShortSteps)
{
    Material m = singleChannel({1, 2, 3}, 10);
    m.perStepTimeMode = 1;
    m.editStep(1).stepTime = 2;
    m.editStep(2).stepTime = 0; // lasts one tick
    m.editStep(3).stepTime = 1;
    Player p{m, {}, 0};
    EXPECT_EQ(p.ticks(6), (std::vector<int>{1, 1, 2, 3, 1, 1}));
}

TEST(PlayMaterial, FadesFollowTheRoundedFraction)
{
    struct Case {
        int from, to, duration;
        std::vector<int> out;
    } cases[] = {
        {0, 255, 10, {25, 51, 76, 102, 127, 153, 178, 204, 229, 255}},
        {200, 100, 4, {175, 150, 125, 100}},
    };
    for (const Case& c : cases) {
        Material m = singleChannel({c.from, c.to}, static_cast<int16_t>(c.duration));
        m.editStep(1).fadeToNext = 1;
        Player p{m, {}, 0};
        EXPECT_EQ(p.ticks(c.duration), c.out) << c.from << "->" << c.to;
        EXPECT_EQ(p.tick(), c.to); // step 2 does not fade
    }
}

TEST(PlayMaterial, AllStepsFadeWrapsFromTheLastStepToTheFirst)
{
    Material m = singleChannel({0, 100}, 2);
    m.allStepsFade = 1;
    Player p{m, {}, 0};
    EXPECT_EQ(p.ticks(4), (std::vector<int>{50, 100, 50, 0}));
}

TEST(PlayMaterial, FadingStepOfNoDurationShowsTheNextStep)
{
    Material m = singleChannel({0, 200, 7}, 0);
    m.editStep(1).fadeToNext = 1;
    Player p{m, {}, 0};
    EXPECT_EQ(p.ticks(3), (std::vector<int>{200, 200, 7}));
}

TEST(PlayMaterial, ShortenedFadingStepDoesNotOvershoot)
{
    Material m = singleChannel({0, 100}, 10);
    m.editStep(1).fadeToNext = 1;
    Player p{m, {}, 0};
    p.ticks(6);
    m.uniformTime = 4; // edited while playing: tick 7 of a 4-tick step
    EXPECT_EQ(p.tick(), 100);
}

TEST(PlayMaterial, JumpIntervalsWaitAtTheirEndUntilAJump)
{
    Material m = singleChannel({1, 2, 3, 4, 5, 6, 7, 8}, 1);
    m.jumpInterval = 4;
    Player p{m, {}, 0};
    EXPECT_EQ(p.ticks(8), (std::vector<int>{1, 2, 3, 4, 4, 4, 4, 4}));
    EXPECT_EQ(p.tick(true), 4);
    EXPECT_EQ(p.ticks(7), (std::vector<int>{5, 6, 7, 8, 8, 8, 8}));
    EXPECT_EQ(p.tick(true), 8);
    EXPECT_EQ(p.tick(), 1);
}

TEST(PlayMaterial, JumpInTheMiddleSkipsToTheNextInterval)
{
    for (uint8_t endOnly : {0, 1}) {
        Material m = singleChannel({1, 2, 3, 4, 5, 6, 7, 8}, 3);
        m.jumpInterval = 4;
        m.jumpAtIntervalEndOnly = endOnly;
        Player p{m, {}, 0};
        p.ticks(3);
        EXPECT_EQ(p.tick(true), 2); // step 2, tick 1 of 3
        if (endOnly) {
            EXPECT_EQ(p.ticks(3), (std::vector<int>{2, 2, 3})) << "the request is dropped";
        } else {
            EXPECT_EQ(p.ticks(3), (std::vector<int>{5, 5, 5}));
        }
    }
}

TEST(PlayMaterial, EndOnlyJumpLeavesTheWaitingIntervalEnd)
{
    Material m = singleChannel({1, 2, 3, 4, 5}, 2);
    m.jumpInterval = 2;
    m.jumpAtIntervalEndOnly = 1;
    Player p{m, {}, 0};
    EXPECT_EQ(p.ticks(6), (std::vector<int>{1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(p.tick(true), 2);
    // A last interval shorter than the jump interval does not wait.
    EXPECT_EQ(p.ticks(4), (std::vector<int>{3, 3, 4, 4}));
    EXPECT_EQ(p.tick(true), 4);
    EXPECT_EQ(p.ticks(3), (std::vector<int>{5, 5, 1}));
}

TEST(PlayMaterial, StepsDeletedWhilePlayingWrapToTheFirstStep)
{
    Material m = singleChannel({1, 2, 3, 4}, 1);
    Player p{m, {}, 0};
    p.ticks(3); // now on step 4
    m.stepCount = 2;
    EXPECT_EQ(p.tick(), 4); // the stale step, once
    EXPECT_EQ(p.tick(), 1);
}
