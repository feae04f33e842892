#include "core/materials/MaterialEditorSession.h"
#include "core/materials/StepEditing.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz;
using namespace rz::materials;

namespace {

struct Session {
    explicit Session(int fixtures, int channels = 2)
    {
        context.currentModule = 3;
        context.currentSlot = 4;
        store.at(3, 4).fixtureCount = static_cast<uint8_t>(fixtures);
        store.at(3, 4).channelCount = static_cast<uint8_t>(channels);
        session.open();
    }
    Material& m() { return store.at(3, 4); }
    MaterialStore store;
    EditingContext context;
    test::RecordingPrompt prompt;
    MaterialEditorSession session{store, context, prompt};
};

} // namespace

TEST(MaterialEditorSession, FirstLevelOfAnEmptyMaterialBecomesStepOne)
{
    Session s(2);
    EXPECT_EQ(s.context.currentStep, 0);
    s.session.setLevel(2, 99);
    EXPECT_EQ(s.m().stepCount, 1);
    EXPECT_EQ(s.context.currentStep, 1);
    EXPECT_EQ(s.m().step(1).level(1, 2), 99);
    s.session.setLevel(1, 5); // a second edit adds no step
    EXPECT_EQ(s.m().stepCount, 1);
}

TEST(MaterialEditorSession, FocusShortcuts)
{
    struct Case {
        int fixtures;
        void (MaterialEditorSession::*shortcut)();
        int focus;
        std::vector<int> linked;
    };
    const Case cases[] = {
        {2, &MaterialEditorSession::linkEven, 1, {}},
        {5, &MaterialEditorSession::linkEven, 2, {4}},
        {5, &MaterialEditorSession::linkOdd, 1, {3, 5}},
        {0, &MaterialEditorSession::linkAll, 1, {}},
        {3, &MaterialEditorSession::linkAll, 1, {2, 3}},
    };
    for (const Case& c : cases) {
        Session s(c.fixtures);
        (s.session.*c.shortcut)();
        LinkedFixtures expected;
        for (int i : c.linked)
            expected.set(static_cast<std::size_t>(i));
        EXPECT_EQ(s.session.focus(), c.focus) << c.fixtures;
        EXPECT_EQ(s.session.links(), expected) << c.fixtures;
    }
}

TEST(MaterialEditorSession, TypedNumbersOutsideTheirRangesStoreNothing)
{
    Session s(2);
    s.session.setLevel(1, 1);
    EXPECT_FALSE(s.session.typeLevel(1, u"256"));
    EXPECT_FALSE(s.session.typeFixtureCount(u"21"));
    EXPECT_FALSE(s.session.typeChannelCount(u"33"));
    EXPECT_FALSE(s.session.typeJumpInterval(u"-1"));
    for (const char16_t* bad : {u"60000", u"32768", u"-5", u"x", u""})
        EXPECT_FALSE(s.session.typeStepTime(bad)) << std::u16string(bad).size();
    EXPECT_EQ(s.m().step(1).level(1, 1), 1);
    EXPECT_EQ(s.m().fixtureCount, 2);
    EXPECT_EQ(s.m().channelCount, 2);
    EXPECT_EQ(s.m().jumpInterval, 0);
    EXPECT_EQ(s.m().step(1).stepTime, 10); // the one-second default of opening
    EXPECT_TRUE(s.session.typeStepTime(u"32767"));
    EXPECT_EQ(s.m().step(1).stepTime, 32767);
}

TEST(MaterialEditorSession, MotionParametersFollowTheLinks)
{
    for (bool all : {false, true}) {
        Session s(3);
        s.m().motionPerFixture[1][1] = 50;
        s.session.toggleLink(3);
        s.session.allChannelsLinked = all;
        EXPECT_FALSE(s.session.typeMotionParameter(7, u"0")); // radius 1..255
        EXPECT_TRUE(s.session.typeMotionParameter(7, u"120"));
        EXPECT_EQ(s.m().motionPerFixture[3][7], 120);
        EXPECT_EQ(s.m().motionPerFixture[2][7], 0);
        EXPECT_EQ(s.m().motionPerFixture[3][1], all ? 50 : 0);
    }
}

TEST(MaterialEditorSession, StepSixHundredOneIsRefused)
{
    Session s(1);
    s.session.setLevel(1, 1);
    s.m().stepCount = kMaxSteps;
    s.context.currentStep = kMaxSteps;
    EXPECT_FALSE(s.session.addStep(false, 10));
    EXPECT_EQ(s.m().stepCount, kMaxSteps);
    EXPECT_EQ(s.prompt.messages, std::vector<std::u16string>{std::u16string(kMsgMaxSteps)});
}
