#include "core/liveout/LiveSender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz::liveout;

namespace {

struct SentFrame {
    uint8_t command;
    std::vector<uint8_t> payload;
};

struct SenderTest : ::testing::Test {
    bool online = true;
    std::vector<SentFrame> sent;
    LiveSender sender{[this](uint8_t c, std::span<const uint8_t> p) {
                          sent.push_back({c, {p.begin(), p.end()}});
                      },
                      [this] { return online; }};

    std::size_t framesAfterTicks(int ticks)
    {
        sent.clear();
        for (int t = 0; t < ticks; ++t)
            sender.liveTick();
        return sent.size();
    }
};

} // namespace

TEST_F(SenderTest, ModesWithoutPerTickWorkSendTwoFramesModesThatStreamSendEveryTick)
{
    const struct {
        int mode;
        std::size_t framesInFiveTicks;
    } cases[] = {{1, 2}, {3, 2}, {4, 5}, {5, 5}, {6, 2}, {7, 5},  {8, 5},
                 {9, 5}, {10, 2}, {11, 2}, {12, 2}, {0, 2}, {2, 2}, {99, 2}};
    for (const auto& c : cases) {
        sender.setLiveOutputMode(c.mode);
        EXPECT_EQ(framesAfterTicks(5), c.framesInFiveTicks) << "mode " << c.mode;
        EXPECT_EQ(sender.liveOutputMode(), c.mode);
    }
    for (const SentFrame& f : sent)
        EXPECT_EQ(f.command, 0x60);
}

TEST_F(SenderTest, RequestedFramesWaitForTheConnection)
{
    sender.setLiveOutputMode(kModeDownload);
    online = false;
    EXPECT_EQ(framesAfterTicks(3), 0u);
    EXPECT_EQ(sender.pendingFrames(), 2);
    online = true;
    EXPECT_EQ(framesAfterTicks(1), 1u);
    EXPECT_EQ(sender.pendingFrames(), 1);
    EXPECT_EQ(framesAfterTicks(3), 1u);

    sender.requestLiveFrames();
    EXPECT_EQ(framesAfterTicks(4), 2u);
}

TEST_F(SenderTest, PerTickWorkRunsBeforeTheFrameIsBuilt)
{
    int calls = 0;
    sender.setModeWork(kModeMaterial, [&](LiveBuffers& b) {
        ++calls;
        b.frame[1] = static_cast<uint8_t>(calls);
    });
    sender.setLiveOutputMode(kModeMaterial);
    framesAfterTicks(2);
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].payload[2], 2) << "address 1 carries this tick's level";

    sender.setLiveOutputMode(kModeDownload);
    framesAfterTicks(2);
    EXPECT_EQ(calls, 2) << "only the selected mode's work runs";

    online = false; // work runs whether or not anything is sent
    sender.setLiveOutputMode(kModeMaterial);
    framesAfterTicks(3);
    EXPECT_EQ(calls, 5);
}

TEST_F(SenderTest, ModeChangeClearsBothBuffersAndSwitchesTestFunctionsOff)
{
    int testOff = 0;
    sender.switchTestFunctionsOff = [&] { ++testOff; };
    sender.dmxFrame()[600] = 1;
    sender.dimmableLayer()[1] = 1;
    sender.setLiveOutputMode(kModeScene);
    EXPECT_EQ(sender.dmxFrame(), DmxFrame{});
    EXPECT_EQ(sender.dimmableLayer(), DmxFrame{});
    EXPECT_EQ(testOff, 1);
    sender.setLiveOutputMode(kModeTest);
    EXPECT_EQ(testOff, 1) << "the test page keeps its functions";

    sender.dmxFrame()[5] = 5;
    sender.dimmableLayer()[5] = 5;
    sender.clearLiveBuffers();
    EXPECT_EQ(sender.dmxFrame(), DmxFrame{});
    EXPECT_EQ(sender.dimmableLayer(), DmxFrame{});
}

TEST_F(SenderTest, ChaseWindowIsHiddenOnEveryTickExceptBesideTheMaterialPage)
{
    int hidden = 0;
    sender.hideChaseWindow = [&] { ++hidden; };
    sender.setLiveOutputMode(kModeMaterial);
    framesAfterTicks(3);
    EXPECT_EQ(hidden, 0);
    sender.setLiveOutputMode(kModeEffect);
    framesAfterTicks(3);
    EXPECT_EQ(hidden, 3);
}

TEST_F(SenderTest, JumpRequestIsActiveForExactlyOneTick)
{
    std::vector<JumpRequest> seen;
    sender.setModeWork(kModeMaterial, [&](LiveBuffers&) { seen.push_back(sender.jumpRequest()); });
    sender.setLiveOutputMode(kModeMaterial);
    sender.liveTick();
    sender.requestJump();
    EXPECT_EQ(sender.jumpRequest(), JumpRequest::requested);
    sender.liveTick();
    EXPECT_EQ(sender.jumpRequest(), JumpRequest::none);
    sender.liveTick();
    EXPECT_EQ(seen, (std::vector<JumpRequest>{JumpRequest::none, JumpRequest::active,
                                              JumpRequest::none}));
}

TEST_F(SenderTest, RoomOutputsAreTakenWhenEachFrameIsBuilt)
{
    RoomOutputs room;
    int asked = 0;
    LiveSender withRoom(
        [this](uint8_t c, std::span<const uint8_t> p) { sent.push_back({c, {p.begin(), p.end()}}); },
        [] { return true; },
        [&] {
            ++asked;
            return room;
        });
    room.thyristorDimming = true;
    room.dimmers[1] = 0x33;
    withRoom.sendLiveFrame();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(asked, 1);
    // The dimmer block closes the frame: A8, dimmer 1, six zeros packed, the last one literal.
    const std::vector<uint8_t>& p = sent[0].payload;
    const std::vector<uint8_t> tail(p.end() - 5, p.end());
    EXPECT_EQ(tail, (std::vector<uint8_t>{0xA8, 0x33, 0xFE, 0x06, 0x00}));
}
