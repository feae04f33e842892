#include "core/materials/MaterialEditing.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::materials;

TEST(LinkedLevels, LinkedFixturesFollowOneChannelOrAll)
{
    for (bool all : {false, true}) {
        Material m;
        m.fixtureCount = 4;
        m.channelCount = 3;
        m.stepCount = 1;
        m.editStep(1).setLevel(1, 1, 11);
        m.editStep(1).setLevel(3, 1, 33);
        LinkedFixtures linked;
        linked.set(3);
        setLinkedLevel(m, 1, 1, linked, all, 2, 200);
        const MaterialStep& s = m.step(1);
        EXPECT_EQ(s.level(1, 2), 200);
        EXPECT_EQ(s.level(3, 2), 200);
        EXPECT_EQ(s.level(2, 2), 0);
        EXPECT_EQ(s.level(4, 2), 0);
        EXPECT_EQ(s.level(3, 1), all ? 11 : 33) << (all ? "all channels linked" : "one channel");
    }
}

TEST(TempChannels, ToggleAndTheTwentyEntryLimit)
{
    Material m;
    test::RecordingPrompt prompt;
    for (int code = 1; code <= 20; ++code)
        ASSERT_TRUE(toggleTempChannel(m, static_cast<uint8_t>(code), prompt));
    EXPECT_FALSE(toggleTempChannel(m, 21, prompt));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], u"最多支持20个通道");

    m.tempChannels[9] = 5; // a duplicate from a file: every copy goes
    ASSERT_TRUE(toggleTempChannel(m, 5, prompt));
    EXPECT_EQ(m.tempChannels[5], 0);
    EXPECT_EQ(m.tempChannels[9], 0);
    ASSERT_TRUE(toggleTempChannel(m, 21, prompt));
    EXPECT_EQ(m.tempChannels[5], 21); // the first empty entry
}

TEST(Patching, RefusesAPatchTheFileCouldNotCount)
{
    fixtures::FixtureLibrary library;
    for (int r = 1; r <= 100; ++r) {
        fixtures::Fixture& fx = library.fixture(r);
        fx.startAddress = 1;
        fx.channelCount = 32;
        fx.channelCode.fill(24); // 32 addresses per fixture for a code-24 channel
    }
    Material m;
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = 24;
    test::RecordingPrompt prompt;
    for (int r = 1; r <= 7; ++r)
        ASSERT_TRUE(togglePatch(m, 1, r, library, prompt)); // 224 addresses
    EXPECT_FALSE(togglePatch(m, 1, 8, library, prompt));    // 256 would not fit a byte
    EXPECT_EQ(m.patch[1][8], 0);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], u"配接的地址过多，每个通道最多255个地址!!!");
    EXPECT_TRUE(togglePatch(m, 1, 7, library, prompt)); // unpatching always works
    EXPECT_EQ(m.patch[1][7], 0);
    EXPECT_TRUE(outputMapFitsRecord(m, library));
}

TEST(Patching, GroupPatchesExactlyItsValidMembers)
{
    fixtures::FixtureLibrary library;
    for (int r : {2, 5, 9}) {
        library.fixture(r).startAddress = static_cast<int16_t>(r);
        library.fixture(r).channelCount = 1;
    }
    fixtures::FixtureGroups groups;
    for (int r : {2, 5, 7}) // 7 is not a valid fixture
        groups.setMember(4, r, true);
    Material m;
    m.fixtureCount = 2;
    m.patch[2][9] = 1;
    m.patch[1][9] = 1;
    test::RecordingPrompt prompt;
    ASSERT_TRUE(patchGroup(m, 2, groups, 4, library, prompt));
    for (int r = 1; r <= 100; ++r)
        EXPECT_EQ(m.patch[2][r], r == 2 || r == 5 ? 1 : 0) << r;
    EXPECT_EQ(m.patch[1][9], 1); // other virtual fixtures keep theirs
}
