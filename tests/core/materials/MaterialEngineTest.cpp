#include "core/materials/CircleMotion.h"
#include "core/materials/MaterialEngine.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::materials;

namespace {

constexpr uint8_t kR1 = 24;
constexpr uint8_t kDimmer = 1;

// Library fixture r at `start` whose channels carry `codes`.
void addFixture(fixtures::FixtureLibrary& lib, int r, int start, std::vector<uint8_t> codes,
                std::vector<uint8_t> adjust = {})
{
    fixtures::Fixture& fx = lib.fixture(r);
    fx.startAddress = static_cast<int16_t>(start);
    fx.channelCount = static_cast<uint8_t>(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        fx.channelCode[i + 1] = codes[i];
        fx.adjustValue[i + 1] = i < adjust.size() ? adjust[i] : 0;
    }
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest()
    {
        context.currentModule = 2;
        context.currentSlot = 3;
        engine.install();
        sender.setLiveOutputMode(liveout::kModeMaterial);
    }
    Material& edited() { return store.at(2, 3); }
    liveout::DmxFrame& frame() { return sender.dmxFrame(); }

    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    int framesSent = 0;
    liveout::LiveSender sender{[this](uint8_t, std::span<const uint8_t>) { ++framesSent; },
                               [] { return false; }};
    MaterialEngine engine{store, library, context, sender};
};

} // namespace

TEST(OutputMapBuild, SendsEachVirtualChannelToEveryMatchingChannel)
{
    fixtures::FixtureLibrary lib;
    addFixture(lib, 1, 1, {1, kR1, 3});
    addFixture(lib, 2, 10, {5, kR1});
    addFixture(lib, 3, 0, {kR1});          // no start address: not valid
    addFixture(lib, 4, 30, {kR1, 7, kR1}); // two channels of the same code
    Material m;
    m.fixtureCount = 2;
    m.channelCount = 2;
    m.channelCodes[1] = kR1;
    m.channelCodes[2] = 0; // maps nowhere
    m.patch[1][1] = m.patch[1][2] = m.patch[1][3] = 1;
    m.patch[2][4] = 1;

    const OutputMap map = buildOutputMap(m, lib);
    EXPECT_EQ(std::vector<uint16_t>(map.addrs(1, 1).begin(), map.addrs(1, 1).end()),
              (std::vector<uint16_t>{2, 11}));
    EXPECT_EQ(map.realFixtures[1], (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(map.addrCount(1, 2), 0);
    EXPECT_EQ(std::vector<uint16_t>(map.addrs(2, 1).begin(), map.addrs(2, 1).end()),
              (std::vector<uint16_t>{30, 32}));
    EXPECT_EQ(map.addrTableBytes, 8);
    EXPECT_EQ(map.largestAddrCount(), 2);
}

TEST(OutputMapBuild, CacheFollowsChangesOfTheMaterialAndTheLibrary)
{
    fixtures::FixtureLibrary lib;
    addFixture(lib, 1, 1, {kR1});
    Material m;
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = 1;
    OutputMapCache cache;
    EXPECT_EQ(cache.get(5, m, lib).addrs(1, 1)[0], 1);
    lib.fixture(1).startAddress = 40;
    EXPECT_EQ(cache.get(5, m, lib).addrs(1, 1)[0], 40);
    m.patch[1][1] = 0;
    EXPECT_EQ(cache.get(5, m, lib).addrCount(1, 1), 0);
    EXPECT_EQ(cache.get(6, Material{}, lib).addrTableBytes, 0);
}

TEST_F(EngineTest, PreviewWritesTheCurrentStepToEveryPatchedFixture)
{
    addFixture(library, 1, 1, {kR1, 2});
    addFixture(library, 2, 10, {2, kR1});
    Material& m = edited();
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = m.patch[1][2] = 1;
    m.stepCount = 2;
    m.editStep(2).setLevel(1, 1, 99);
    context.currentStep = 2;
    sender.liveTick();
    EXPECT_EQ(frame()[1], 99);
    EXPECT_EQ(frame()[11], 99);
    EXPECT_EQ(frame()[2], 0);
    EXPECT_EQ(frame()[10], 0);
}

TEST_F(EngineTest, TemporaryChannelsOverrideTheMaterialsOwnLevels)
{
    addFixture(library, 1, 1, {kR1, 7}, {200, 55});
    Material& m = edited();
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = 1;
    m.stepCount = 1;
    m.editStep(1).setLevel(1, 1, 99);
    context.currentStep = 1;
    m.tempChannels[5] = kR1;
    m.tempChannels[6] = 7;
    addFixture(library, 2, 20, {kR1}, {90}); // valid but not patched
    addFixture(library, 3, 0, {kR1}, {90});  // patched but not valid
    m.patch[1][3] = 1;
    sender.liveTick();
    EXPECT_EQ(frame()[1], 200);
    EXPECT_EQ(frame()[2], 55);
    EXPECT_EQ(frame()[20], 0);
    EXPECT_EQ(frame()[0], 0);
}

TEST_F(EngineTest, AddressesPastTheBufferAreDropped)
{
    addFixture(library, 1, 590, std::vector<uint8_t>(32, kR1), std::vector<uint8_t>(32, 9));
    Material& m = edited();
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = 1;
    m.stepCount = 1;
    m.editStep(1).setLevel(1, 1, 44);
    m.tempChannels[1] = kR1;
    context.currentStep = 1;
    sender.liveTick();
    EXPECT_EQ(frame()[590], 9);
    EXPECT_EQ(frame()[600], 9);
    m.tempChannels[1] = 0;
    sender.liveTick();
    EXPECT_EQ(frame()[600], 44);
}

TEST_F(EngineTest, ChannelOneDimsTheTemporaryChannelsInThePreview)
{
    addFixture(library, 1, 1, {kDimmer, kR1}, {0, 200});
    Material& m = edited();
    m.dimmingRole = kChannelOneIsMaster;
    m.fixtureCount = 1;
    m.channelCount = 2;
    m.channelCodes[1] = kDimmer;
    m.channelCodes[2] = kR1;
    m.patch[1][1] = 1;
    m.stepCount = 1;
    m.editStep(1).setLevel(1, 1, 128);
    m.editStep(1).setLevel(1, 2, 77); // not output: channel 2 only scales what lies beneath
    m.tempChannels[1] = kR1;
    context.currentStep = 1;
    sender.liveTick();
    EXPECT_EQ(frame()[2], 100); // round-half-to-even(200 x 128 / 255)
    EXPECT_EQ(frame()[1], 0);   // channel 1's own address is not written
}

TEST_F(EngineTest, EffectUseRoutesDimmedMaterialsThroughTheDimmableLayer)
{
    addFixture(library, 1, 1, {kDimmer, kR1});
    Material& layer = store.at(1, 1);
    layer.dimmingRole = kDimmedByMaster;
    layer.fixtureCount = 1;
    layer.channelCount = 2;
    layer.channelCodes[1] = kDimmer;
    layer.channelCodes[2] = kR1;
    layer.patch[1][1] = 1;
    layer.stepCount = 1;
    layer.editStep(1).setLevel(1, 2, 250);
    Material master = layer;
    master.dimmingRole = kChannelOneIsMaster;
    master.editStep(1).setLevel(1, 1, 51);
    store.at(1, 2) = master;

    liveout::LiveBuffers buffers;
    engine.applyLevels(1, 1, engine.playMaterialTick(1, 1), false, buffers);
    EXPECT_EQ(buffers.dimmableLayer[2], 250);
    EXPECT_EQ(buffers.frame[2], 0);
    engine.applyLevels(1, 2, engine.playMaterialTick(1, 2), false, buffers);
    EXPECT_EQ(buffers.frame[2], 50); // 250 x 51 / 255

    // In the editor a dimmed material writes the frame directly.
    liveout::LiveBuffers editor;
    engine.applyLevels(1, 1, stepLevels(layer, 1), true, editor);
    EXPECT_EQ(editor.frame[2], 250);
    EXPECT_EQ(editor.dimmableLayer[2], 0);
}

TEST_F(EngineTest, LaterFixturesWinOnASharedAddress)
{
    addFixture(library, 1, 1, {kR1});
    Material& m = edited();
    m.fixtureCount = 2;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = m.patch[2][1] = 1;
    m.stepCount = 1;
    m.editStep(1).setLevel(1, 1, 10);
    m.editStep(1).setLevel(2, 1, 20);
    context.currentStep = 1;
    sender.liveTick();
    EXPECT_EQ(frame()[1], 20);
}

TEST_F(EngineTest, DemoPlaysInTimeAndHonoursJumpRequests)
{
    addFixture(library, 1, 1, {kR1});
    Material& m = edited();
    m.fixtureCount = 1;
    m.channelCount = 1;
    m.channelCodes[1] = kR1;
    m.patch[1][1] = 1;
    m.stepCount = 4;
    m.uniformTime = 2;
    m.jumpInterval = 2;
    for (int i = 1; i <= 4; ++i)
        m.editStep(i).setLevel(1, 1, static_cast<uint8_t>(i));
    engine.startDemo();
    EXPECT_EQ(sender.liveOutputMode(), liveout::kModeMaterialDemo);

    std::vector<int> shown;
    for (int t = 0; t < 6; ++t) {
        sender.liveTick();
        shown.push_back(frame()[1]);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 1, 2, 2, 2, 2})); // waits at the interval end
    EXPECT_EQ(engine.demoStepText(), u"步2/4   时长2/2");
    sender.requestJump();
    sender.liveTick();
    sender.liveTick();
    EXPECT_EQ(frame()[1], 3);
    EXPECT_EQ(engine.demoStepText(), u"步3/4   时长2/2");

    engine.startDemo(); // starts over
    sender.liveTick();
    EXPECT_EQ(frame()[1], 1);
    engine.stopDemo();
    EXPECT_EQ(sender.liveOutputMode(), liveout::kModeMaterial);
}

TEST(DemoDisplay, ShowsThreeDigitValuesThirtyTwoToALine)
{
    liveout::DmxFrame f{};
    f[1] = 7;
    f[32] = 255;
    f[33] = 42;
    const std::u16string text = MaterialEngine::demoFrameText(f);
    EXPECT_EQ(text.substr(0, 8), u"007 000 ");
    EXPECT_EQ(text.substr(31 * 4, 6), u"255 \n0");
    EXPECT_EQ(text.substr(32 * 4 + 1, 4), u"042 ");
    EXPECT_EQ(text.size(), 512u * 4 + 15);
}

TEST_F(EngineTest, MotionPreviewRunsTheCircleAndIgnoresTheSteps)
{
    addFixture(library, 1, 1, {1, 2, 3});
    Material& m = edited();
    m.fixtureCount = 1;
    m.channelCount = 3;
    m.channelCodes = {0, 1, 2, 3};
    m.patch[1][1] = 1;
    m.motionType = kMotionCircle;
    m.motionGlobal[kSpeedParameter] = 90;
    auto& p = m.motionPerFixture[1];
    p[kCentreX] = p[kCentreY] = 127;
    p[kRadius] = 100;
    m.stepCount = 1;
    m.editStep(1).setLevel(1, 3, 99);
    context.currentStep = 1;
    sender.liveTick();
    EXPECT_EQ(engine.motionPhase(), 90);
    EXPECT_EQ(frame()[1], 127);
    EXPECT_EQ(frame()[2], 227);
    EXPECT_EQ(frame()[3], 0);
    for (int i = 0; i < 4; ++i)
        sender.liveTick();
    EXPECT_EQ(engine.motionPhase(), 90); // 450 wraps to 90
}
