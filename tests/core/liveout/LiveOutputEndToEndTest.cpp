// The live sender against the simulated controller: what the page computes is what the
// controller outputs.
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/link/Frame.h"
#include "core/liveout/FixtureTestOutput.h"
#include "core/liveout/LiveSender.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::liveout;

namespace {

struct EndToEnd : ::testing::Test {
    test::FakeClock clock;
    sim::Controller controller{clock};
    sim::LoopbackTransport transport{controller, clock};
    bool online = true;
    RoomOutputs room;
    fixtures::FixtureLibrary library;
    fixtures::FixtureGroups groups;
    fixtures::FixtureTestOptions options;
    LiveSender sender{
        [this](uint8_t command, std::span<const uint8_t> payload) {
            transport.write(link::buildFrame(command, payload));
        },
        [this] { return online; }, [this] { return room; }};

    void SetUp() override
    {
        installFixtureTestOutput(sender, library, groups, [this] { return options; });
        fixtures::Fixture& f = library.fixture(3);
        f.startAddress = 10;
        f.channelCount = 4;
        const uint8_t tests[] = {0, 255, 1, 128, 77};
        for (int c = 1; c <= 4; ++c) {
            f.testValue[c] = tests[c];
            f.adjustValue[c] = static_cast<uint8_t>(c);
        }
    }

    void tick()
    {
        clock.advance(100);
        sender.liveTick();
        transport.poll();
    }
    uint32_t framesSeen() const { return controller.framesReceived(kLiveFrameCommand); }
};

} // namespace

TEST_F(EndToEnd, FixtureLibraryModeShowsTheTestValuesAtTheFixturesAddresses)
{
    sender.setLiveOutputMode(kModeFixtureLibrary);
    tick();
    ASSERT_EQ(framesSeen(), 1u);
    const sim::LiveOutput& out = controller.output();
    EXPECT_EQ(out.levels[9], 0);
    EXPECT_EQ(out.levels[10], 255);
    EXPECT_EQ(out.levels[11], 1);
    EXPECT_EQ(out.levels[12], 128);
    EXPECT_EQ(out.levels[13], 77);
    EXPECT_EQ(out.levels[14], 0);

    // The page's next change shows on the next tick.
    library.presetSelector = fixtures::PresetSelector::adjustValue;
    tick();
    EXPECT_EQ(framesSeen(), 2u);
    EXPECT_EQ(controller.output().levels[10], 1);
    EXPECT_EQ(controller.output().levels[13], 4);

    options.groupMode = true; // the group panel shows, and group 1 is empty
    options.currentGroup = 1;
    tick();
    EXPECT_EQ(controller.output().levels[10], 0);
    EXPECT_EQ(controller.counters().badChecksums, 0u);
}

TEST_F(EndToEnd, RelaysAndDimmersArriveAsTheRoomSaysAndTheDebugRelayWins)
{
    room.sceneRelays[1] = 1;
    room.sceneRelays[3] = 0;
    room.debugRelays[3] = 255;
    room.dimmers[2] = 90;
    sender.setLiveOutputMode(kModeScene);
    tick();
    EXPECT_EQ(controller.output().relays[1], 1);
    EXPECT_EQ(controller.output().relays[3], 255);
    EXPECT_FALSE(controller.output().dimmerBlock) << "thyristor dimming is off";

    room.thyristorDimming = true;
    tick();
    EXPECT_TRUE(controller.output().dimmerBlock);
    EXPECT_EQ(controller.output().dimmers[2], 90);
    EXPECT_EQ(controller.live().framesRejected(), 0u);
}

TEST_F(EndToEnd, AModeWithoutPerTickWorkSendsExactlyTwoFrames)
{
    sender.setLiveOutputMode(kModeDownload);
    for (int t = 0; t < 10; ++t)
        tick();
    EXPECT_EQ(framesSeen(), 2u);

    // Offline, the request waits; after reconnecting the two frames go out one per tick.
    online = false;
    sender.requestLiveFrames();
    for (int t = 0; t < 5; ++t)
        tick();
    EXPECT_EQ(framesSeen(), 2u);
    online = true;
    tick();
    EXPECT_EQ(framesSeen(), 3u);
    for (int t = 0; t < 5; ++t)
        tick();
    EXPECT_EQ(framesSeen(), 4u);
}
