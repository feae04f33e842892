#include "core/materials/MaterialStore.h"
#include "core/materials/StepEditing.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::materials;

namespace {

// Step i of a material whose level (1, 1) is i * 10, with a distinguishable time and flags.
Material numberedSteps(int count)
{
    Material m;
    m.fixtureCount = 2;
    m.channelCount = 3;
    m.stepCount = static_cast<int16_t>(count);
    for (int i = 1; i <= count; ++i) {
        MaterialStep& s = m.editStep(i);
        s.setLevel(1, 1, static_cast<uint8_t>(i * 10));
        s.stepTime = static_cast<int16_t>(100 + i);
        s.fadeToNext = static_cast<uint8_t>(i % 2);
        s.stepMark = static_cast<uint8_t>(i == 3);
    }
    return m;
}

std::vector<int> firstLevels(const Material& m)
{
    std::vector<int> v;
    for (int i = 1; i <= m.stepCount; ++i)
        v.push_back(m.step(i).level(1, 1));
    return v;
}

} // namespace

TEST(MaterialNumber, InverseFollowsModuleMajorNumbering)
{
    struct Case {
        int number, module, slot;
    } cases[] = {{1, 1, 1}, {12, 1, 12}, {13, 2, 1}, {240, 20, 12}, {131, 11, 11}};
    for (const Case& c : cases) {
        EXPECT_EQ(materialFromNumber(c.number), (MaterialAddress{c.module, c.slot})) << c.number;
        EXPECT_EQ(materialNumber(c.module, c.slot), c.number);
    }
    EXPECT_FALSE(materialFromNumber(0));
    EXPECT_FALSE(materialFromNumber(241));
}

TEST(MaterialValidity, NeedsStepsFixturesAndChannels)
{
    MaterialStore store;
    Material& m = store.at(3, 4);
    m.stepCount = 1;
    m.fixtureCount = 1;
    EXPECT_FALSE(store.isValid(3, 4));
    EXPECT_FALSE(store.moduleHasValid(3));
    m.channelCount = 1;
    EXPECT_TRUE(store.isValid(3, 4));
    EXPECT_TRUE(store.moduleHasValid(3));
    EXPECT_FALSE(store.moduleHasValid(4));
    EXPECT_EQ(store.validCount(), 1);
}

TEST(MaterialSteps, AllZeroLooksOnlyAtTheUsedFixturesAndChannels)
{
    Material m = numberedSteps(2);
    m.editStep(1).setLevel(1, 1, 0);
    m.editStep(1).setLevel(3, 1, 9); // fixture 3 is not in use
    m.editStep(1).setLevel(1, 4, 9); // nor is channel 4
    EXPECT_TRUE(m.stepIsAllZero(1));
    EXPECT_FALSE(m.stepIsAllZero(2));
    m.fixtureCount = 0;
    EXPECT_TRUE(m.stepIsAllZero(2));
    EXPECT_EQ(numberedSteps(5).countMarkedSteps(), 1);
}

TEST(AddStep, OnAnEmptyMaterialMakesStepOneCurrent)
{
    Material m;
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.editStep(0).setLevel(1, 1, 77); // typed into the scratch step
    m.editStep(0).stepTime = 10;
    int16_t current = 0;
    test::RecordingPrompt prompt;
    ASSERT_TRUE(addStep(m, current, true, 0, prompt));
    EXPECT_EQ(m.stepCount, 1);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(m.step(1).level(1, 1), 77);
    EXPECT_EQ(m.step(1).stepTime, 10);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(AddStep, CopyInTheMiddleDuplicatesTheCurrentStepAndMovesTheRest)
{
    Material m = numberedSteps(5);
    int16_t current = 2;
    test::RecordingPrompt prompt;
    ASSERT_TRUE(addStep(m, current, true, 0, prompt));
    EXPECT_EQ(current, 3);
    EXPECT_EQ(m.stepCount, 6);
    EXPECT_EQ(firstLevels(m), (std::vector<int>{10, 20, 20, 30, 40, 50}));
    EXPECT_EQ(m.step(3).stepTime, 102);
    // Later steps moved with their times, fade flags and marks.
    EXPECT_EQ(m.step(4).stepTime, 103);
    EXPECT_EQ(m.step(4).fadeToNext, 1);
    EXPECT_EQ(m.step(4).stepMark, 1);
    EXPECT_EQ(m.step(6).stepTime, 105);
}

TEST(AddStep, PlainAddInsertsAZeroStepWithTheTypedTime)
{
    Material m = numberedSteps(3);
    int16_t current = 1;
    test::RecordingPrompt prompt;
    ASSERT_TRUE(addStep(m, current, false, 25, prompt));
    EXPECT_EQ(firstLevels(m), (std::vector<int>{10, 0, 20, 30}));
    EXPECT_EQ(m.step(2).stepTime, 25);
    EXPECT_EQ(m.step(2).fadeToNext, 0); // not the flags of the step that was moved away
    EXPECT_EQ(current, 2);

    current = 4; // at the end nothing moves
    ASSERT_TRUE(addStep(m, current, false, 7, prompt));
    EXPECT_EQ(firstLevels(m), (std::vector<int>{10, 0, 20, 30, 0}));
}

TEST(AddStep, RefusesTheSixHundredFirstStep)
{
    Material m = numberedSteps(599);
    int16_t current = 599;
    test::RecordingPrompt prompt;
    EXPECT_TRUE(addStep(m, current, true, 0, prompt));
    EXPECT_EQ(m.stepCount, 600);

    current = 300;
    const std::vector<int> before = firstLevels(m);
    EXPECT_FALSE(addStep(m, current, true, 0, prompt));
    EXPECT_EQ(m.stepCount, 600);
    EXPECT_EQ(current, 300);
    EXPECT_EQ(firstLevels(m), before);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], u"已经是最大步数!!!");
}

TEST(DeleteStep, CurrentStepFollowsTheRules)
{
    struct Case {
        int count, current;
        std::vector<int> levels;
        int currentAfter;
    } cases[] = {
        {4, 4, {10, 20, 30}, 3},      // the last step: current moves back
        {4, 2, {10, 30, 40}, 2},      // a middle step: current shows the former next step
        {1, 1, {}, 0},                // the only step
    };
    for (const Case& c : cases) {
        Material m = numberedSteps(c.count);
        int16_t current = static_cast<int16_t>(c.current);
        deleteStep(m, current);
        EXPECT_EQ(firstLevels(m), c.levels) << c.count << "/" << c.current;
        EXPECT_EQ(current, c.currentAfter);
        EXPECT_EQ(m.stepCount, static_cast<int>(c.levels.size()));
    }
}

TEST(DeleteStep, RemovedStepsLeaveTheirTimesAndZeroLevelsBehind)
{
    Material m = numberedSteps(3);
    int16_t current = 1;
    deleteStep(m, current);
    EXPECT_EQ(m.step(3).level(1, 1), 0);
    EXPECT_EQ(m.step(3).stepTime, 103); // beyond stepCount, never read
    EXPECT_EQ(m.step(1).stepTime, 102);
}

TEST(ClearMaterial, ResetsEveryFieldButLeavesUnusedLevelsStale)
{
    Material m = numberedSteps(3);
    m.name = u"abc";
    m.uniformTime = 12;
    m.dimmingRole = 2;
    m.channelCodes[2] = 24;
    m.patch[1][5] = 1;
    for (int k = 1; k <= kTempChannelEntries; ++k)
        m.tempChannels[k] = static_cast<uint8_t>(k);
    m.motionType = 1;
    m.motionGlobal[1] = 10;
    m.motionPerFixture[2][7] = 50;
    m.editStep(2).setLevel(5, 1, 99); // fixture 5 is outside fixtureCount 2
    m.editStep(0).stepTime = 10;

    clearMaterial(m);
    EXPECT_EQ(m.name, u"");
    EXPECT_EQ(m.stepCount, 0);
    EXPECT_EQ(m.uniformTime, 0);
    EXPECT_EQ(m.dimmingRole, 0);
    EXPECT_EQ(m.fixtureCount, 0);
    EXPECT_EQ(m.channelCodes[2], 0);
    EXPECT_EQ(m.patch[1][5], 0);
    for (int k = 1; k <= kTempChannelEntries; ++k)
        EXPECT_EQ(m.tempChannels[k], 0);
    EXPECT_EQ(m.motionType, 0);
    EXPECT_EQ(m.motionGlobal[1], 0);
    EXPECT_EQ(m.motionPerFixture[2][7], 0);
    EXPECT_EQ(m.step(1).level(1, 1), 0);
    EXPECT_EQ(m.step(2).stepTime, 0);
    EXPECT_EQ(m.step(3).fadeToNext, 0);
    EXPECT_EQ(m.step(2).level(5, 1), 99); // as a fixed table would keep it
    EXPECT_EQ(m.step(0).stepTime, 10);    // the scratch step is not a step 1..600
}

TEST(ClearSteps, KeepsTheSettingsAndEmptiesTheSteps)
{
    Material m = numberedSteps(4);
    m.uniformTime = 5;
    m.channelCodes[1] = 3;
    clearSteps(m);
    EXPECT_EQ(m.stepCount, 0);
    EXPECT_EQ(m.uniformTime, 5);
    EXPECT_EQ(m.channelCodes[1], 3);
    EXPECT_EQ(m.fixtureCount, 2);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(m.step(i).level(1, 1), 0);
        EXPECT_EQ(m.step(i).stepTime, 0);
        EXPECT_EQ(m.step(i).stepMark, 0);
    }
}

TEST(TimeDefaults, ZeroTimesBecomeOneSecondOnEveryStep)
{
    Material m = numberedSteps(2);
    m.editStep(2).stepTime = 0;
    applyTimeDefaults(m);
    EXPECT_EQ(m.uniformTime, 10);
    EXPECT_EQ(m.step(1).stepTime, 101);
    EXPECT_EQ(m.step(2).stepTime, 10);
    EXPECT_EQ(m.step(0).stepTime, 10);
    EXPECT_EQ(m.step(600).stepTime, 10);
    m.uniformTime = 3;
    applyTimeDefaults(m);
    EXPECT_EQ(m.uniformTime, 3);
}

TEST(OpenForEditing, StartsOnTheFirstStepOrOnTheScratchStep)
{
    Material m = numberedSteps(3);
    int16_t current = 3;
    openForEditing(m, current);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(m.uniformTime, 10);
    Material empty;
    openForEditing(empty, current);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(empty.step(0).stepTime, 10);
}

TEST(StepStorage, GrowsOnlyWhereSomethingIsStored)
{
    MaterialStore store;
    Material& m = store.at(1, 1);
    applyTimeDefaults(m); // every step gets a time, without storing 601 steps
    EXPECT_EQ(m.storedSteps(), 0);
    m.fixtureCount = 20;
    m.channelCount = 32;
    m.setLevel(500, 20, 32, 0); // a zero where nothing is stored yet stores nothing
    EXPECT_EQ(m.storedSteps(), 0);
    clearSteps(m);
    clearStepLevels(m, 400);
    EXPECT_EQ(m.storedSteps(), 1); // step 0 holds its own time now

    // A full material still works.
    m.stepCount = kMaxSteps;
    for (int i = 1; i <= kMaxSteps; ++i)
        for (int f = 1; f <= 20; ++f)
            for (int c = 1; c <= 32; ++c)
                m.setLevel(i, f, c, static_cast<uint8_t>(i + f + c));
    EXPECT_EQ(m.step(600).level(20, 32), static_cast<uint8_t>(652));
    int16_t current = 600;
    test::RecordingPrompt prompt;
    EXPECT_FALSE(addStep(m, current, true, 0, prompt));

    store.clearAll();
    EXPECT_EQ(m.storedSteps(), 0);
    EXPECT_EQ(m.step(600).level(20, 32), 0);
}
