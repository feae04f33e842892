#include "core/liveout/DebugRelays.h"
#include "core/show/ShowRoom.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;

TEST(ShowRoom, TheCurrentScenesRelaysAndDimmersGoToTheLiveFrame)
{
    show::Show s;
    s.currentScene = 3;
    s.scenes.scene(3).relays[1] = 1;
    s.scenes.scene(3).relays[24] = 7; // any non-zero level is on
    s.scenes.scene(3).dimmers[2] = 40;
    s.scenes.scene(3).dimmers[8] = 100; // as stored
    s.scenes.scene(4).relays[2] = 1;

    liveout::RoomOutputs room = show::roomOutputsOf(s, nullptr);
    EXPECT_EQ(room.sceneRelays[1], 1);
    EXPECT_EQ(room.sceneRelays[2], 0);
    EXPECT_EQ(room.sceneRelays[24], 1);
    EXPECT_EQ(room.dimmers[2], 40);
    EXPECT_EQ(room.dimmers[8], 100);
    EXPECT_FALSE(room.thyristorDimming);

    s.lightControl.thyristorDimming = 1;
    s.currentScene = 4;
    room = show::roomOutputsOf(s, nullptr);
    EXPECT_TRUE(room.thyristorDimming);
    EXPECT_EQ(room.sceneRelays[1], 0);
    EXPECT_EQ(room.sceneRelays[2], 1);
    EXPECT_EQ(room.dimmers[2], 0);

    // No scene selected yet: nothing switched.
    s.currentScene = 0;
    room = show::roomOutputsOf(s, nullptr);
    EXPECT_EQ(room.sceneRelays, (std::array<uint8_t, liveout::kRelayCount + 1>{}));
}

TEST(ShowRoom, DebugRelaysTravelAlongside)
{
    test::TempDir dir;
    liveout::DebugRelays debug(dir.path() / "work.ini");
    debug.toggle(5);
    show::Show s;
    const liveout::RoomOutputs room = show::roomOutputsOf(s, &debug);
    EXPECT_EQ(room.debugRelays[5], 255);
    EXPECT_EQ(room.debugRelays[4], 0);
}
