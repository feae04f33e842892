#include "core/effects/EffectPreview.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::effects;
using liveout::JumpRequest;
using materials::Material;

namespace {

class EffectPreviewTest : public ::testing::Test {
protected:
    EffectPreviewTest()
    {
        context.currentEffect = 4;
        preview.install();
        sender.setLiveOutputMode(liveout::kModeEffect);
    }

    Effect& effect() { return table.effect(4); }

    // Material (m, s) plays `level` (step 1) then level + 1, ... on DMX address `address`
    // through a one-channel library fixture of its own.
    Material& materialOn(int m, int s, int address, uint8_t level, int steps = 1)
    {
        fixtures::Fixture& fx = library.fixture(address);
        fx.startAddress = static_cast<int16_t>(address);
        fx.channelCount = 1;
        fx.channelCode[1] = 1;
        Material& mat = store.at(m, s);
        mat.stepCount = static_cast<int16_t>(steps);
        mat.uniformTime = 1;
        mat.fixtureCount = 1;
        mat.channelCount = 1;
        mat.channelCodes[1] = 1;
        mat.patch[1][address] = 1;
        for (int i = 1; i <= steps; ++i)
            mat.setLevel(i, 1, 1, static_cast<uint8_t>(level + i - 1));
        return mat;
    }

    const liveout::DmxFrame& tick()
    {
        sender.liveTick();
        return sender.dmxFrame();
    }

    EffectTable table;
    materials::MaterialStore store;
    fixtures::FixtureLibrary library;
    materials::EditingContext context;
    BarPosition position;
    liveout::LiveSender sender{[](uint8_t, std::span<const uint8_t>) {}, [] { return false; }};
    materials::MaterialEngine engine{store, library, context, sender};
    EffectPreview preview{table, store, context, position, engine, sender};
};

} // namespace

TEST_F(EffectPreviewTest, MaterialsPlayOnTheirCellsAndOnTheAllBeatFlagsOfTheCurrentMode)
{
    materialOn(1, 1, 1, 11); // cells: no-bass bar 2 beat 3, bass bar 1 beat 1
    materialOn(1, 2, 2, 12); // every no-bass beat
    materialOn(1, 3, 3, 13); // every bass beat
    materialOn(1, 4, 4, 14); // every beat
    materialOn(1, 5, 5, 15); // nothing
    effect().beatGrid.setCell(kNoBassMode, 2, 3, 1, 1, true);
    effect().beatGrid.setCell(kBassMode, 1, 1, 1, 1, true);
    effect().modules[1].allNoBassBeats[2] = 1;
    effect().modules[1].allBassBeats[3] = 1;
    effect().modules[1].allBeats[4] = 1;

    struct Case {
        uint8_t barIndex, beat;
        std::array<uint8_t, 5> addresses1to5;
    } cases[] = {
        {2, 3, {11, 12, 0, 14, 0}},
        {2, 2, {0, 12, 0, 14, 0}},
        {2, 0, {0, 12, 0, 14, 0}},  // no beat: no cell, flags still play
        {18, 1, {0, 0, 13, 14, 0}}, // bass bar 2: the bass bar 1 cell is not its
        {17, 1, {11, 0, 13, 14, 0}},
        {17, 0, {0, 0, 13, 14, 0}},
    };
    for (const Case& c : cases) {
        position = {c.barIndex, c.beat};
        const liveout::DmxFrame& f = tick();
        for (int a = 1; a <= 5; ++a)
            EXPECT_EQ(f[a], c.addresses1to5[a - 1]) << "bar index " << int(c.barIndex) << " beat "
                                                    << int(c.beat) << " address " << a;
    }
}

TEST_F(EffectPreviewTest, LinkedModulePlaysOnlyTheFirstMaterialWithStepsOfEachGroup)
{
    effect().modules[2].fourMaterialLink = 1;
    for (int s = 1; s <= kSlots; ++s)
        effect().modules[2].allBeats[s] = 1;
    store.at(2, 1).stepCount = 0;  // first of group 1 without steps: skipped
    materialOn(2, 2, 2, 22);       // the leading material of group 1
    materialOn(2, 3, 3, 23);       // follows it: never played here
    materialOn(2, 9, 9, 29);       // group 3's leader, after two empty slots
    materialOn(2, 12, 12, 32);
    // Group 2 (slots 5..8) has no material with steps: nothing plays for it.
    const liveout::DmxFrame& f = tick();
    EXPECT_EQ(f[2], 22);
    EXPECT_EQ(f[3], 0);
    EXPECT_EQ(f[9], 29);
    EXPECT_EQ(f[12], 0);

    // Steps are what counts, not validity: a leader without channels plays nothing, and still
    // hides the rest of its group.
    store.at(2, 1).stepCount = 1;
    EXPECT_EQ(tick()[2], 0);
}

TEST_F(EffectPreviewTest, ChannelOneDimmersScaleTheCompleteLayerOfEveryModule)
{
    // Library fixture 50: channel 1 (code 1) at 50, channel 2 (code 2) at 51.
    fixtures::Fixture& fx = library.fixture(50);
    fx.startAddress = 50;
    fx.channelCount = 2;
    fx.channelCode[1] = 1;
    fx.channelCode[2] = 2;
    auto onFixture50 = [&](int m, int s, uint8_t role, uint8_t ch1, uint8_t ch2) {
        Material& mat = store.at(m, s);
        mat.stepCount = 1;
        mat.uniformTime = 1;
        mat.fixtureCount = 1;
        mat.channelCount = 2;
        mat.channelCodes[1] = 1;
        mat.channelCodes[2] = 2;
        mat.patch[1][50] = 1;
        mat.dimmingRole = role;
        mat.setLevel(1, 1, 1, ch1);
        mat.setLevel(1, 1, 2, ch2);
        effect().modules[m].allBeats[s] = 1;
    };
    onFixture50(1, 1, materials::kChannelOneIsMaster, 128, 0); // first in module order
    onFixture50(20, 12, materials::kDimmedByMaster, 9, 200);    // last: into the layer

    const liveout::DmxFrame& f = tick();
    EXPECT_EQ(f[51], 100) << "round-half-to-even(200 x 128 / 255)";
    EXPECT_EQ(f[50], 0) << "the master's own address is not written";
    EXPECT_EQ(sender.dimmableLayer()[51], 200);
}

TEST_F(EffectPreviewTest, MaterialsWithAStartModeAreNeverPreviewed)
{
    materialOn(1, 1, 1, 10).startMode = 1;
    effect().modules[1].allBeats[1] = 1;
    effect().modules[1].allNoBassBeats[1] = 1;
    effect().beatGrid.setCell(0, 1, 1, 1, 1, true);
    position = {1, 1};
    EXPECT_EQ(tick()[1], 0);
}

TEST_F(EffectPreviewTest, DimmingRolesAboveTheMastersAreNeverOutput)
{
    // Role 0 plays in the first pass; 3 and above only come from foreign files.
    const uint8_t roles[] = {0, 3, 200};
    for (int i = 0; i < 3; ++i) {
        materialOn(1, i + 1, 10 + i, 50).dimmingRole = roles[i];
        effect().modules[1].allBeats[i + 1] = 1;
    }
    const liveout::DmxFrame& f = tick();
    EXPECT_EQ(f[10], 50);
    EXPECT_EQ(f[11], 0);
    EXPECT_EQ(f[12], 0);
}

TEST_F(EffectPreviewTest, EachTickStartsFromClearedBuffersAndNoEffectOutputsNothing)
{
    materialOn(1, 1, 1, 10);
    effect().modules[1].allBeats[1] = 1;
    sender.dmxFrame()[7] = 99;
    sender.dimmableLayer()[8] = 99;
    tick();
    EXPECT_EQ(sender.dmxFrame()[7], 0);
    EXPECT_EQ(sender.dimmableLayer()[8], 0);
    EXPECT_EQ(sender.dmxFrame()[1], 10);

    context.currentEffect = 0;
    EXPECT_EQ(tick()[1], 0);
}

TEST_F(EffectPreviewTest, DrumHitAdvancesADrumTriggeredMaterialOnTheNextTickOnly)
{
    Material& m = materialOn(1, 1, 1, 10, 3);
    m.jumpInterval = 1; // waits on every step for a hit
    effect().modules[1].allBeats[1] = 1;
    EXPECT_EQ(tick()[1], 10);
    EXPECT_EQ(tick()[1], 10);
    preview.sendDrumHit();
    EXPECT_EQ(sender.jumpRequest(), JumpRequest::requested);
    EXPECT_EQ(tick()[1], 10); // the hit's tick still shows the step it leaves
    EXPECT_EQ(sender.jumpRequest(), JumpRequest::none);
    EXPECT_EQ(tick()[1], 11);
    EXPECT_EQ(tick()[1], 11);
}

TEST_F(EffectPreviewTest, BassDisabledSuppressesManualAndAutomaticHits)
{
    for (uint8_t disabled : {0, 1}) {
        effect().bassDisabled = disabled;
        preview.sendDrumHit();
        EXPECT_EQ(sender.jumpRequest() == JumpRequest::requested, disabled == 0) << int(disabled);
        EXPECT_EQ(preview.flashCounter(), disabled ? 0 : kDrumFlashPeriods);
        tick();
        while (preview.drumFlashTick()) {
        }
    }
    effect().bassDisabled = 1;
    preview.cycleAutoDrum();
    for (int t = 0; t < 20; ++t) {
        tick();
        EXPECT_EQ(sender.jumpRequest(), JumpRequest::none) << t;
        EXPECT_EQ(preview.flashCounter(), 0) << t;
    }
}

TEST_F(EffectPreviewTest, AutomaticHitsComeOnTheSixthTickThenEveryFifthOrEveryTenth)
{
    struct Case {
        int presses;
        AutoDrum mode;
        std::u16string_view caption;
        std::vector<int> hitTicks;
    } cases[] = {
        {1, AutoDrum::everyHalfSecond, u"自动0.5秒", {6, 11, 16, 21}},
        {2, AutoDrum::everySecond, u"自动1秒", {11, 21}},
        {3, AutoDrum::stopped, u"自动停止", {}},
    };
    EXPECT_EQ(preview.autoDrumCaption(), u"自动停止");
    for (const Case& c : cases) {
        sender.autoDrumCounter() = 0;
        for (int p = 0; p < c.presses; ++p)
            preview.cycleAutoDrum();
        EXPECT_EQ(preview.autoDrumCaption(), c.caption);
        std::vector<int> hits;
        for (int t = 1; t <= 22; ++t) {
            tick();
            if (sender.jumpRequest() == JumpRequest::requested) // set during this tick
                hits.push_back(t);
        }
        EXPECT_EQ(hits, c.hitTicks) << int(c.mode);
        while (preview.autoDrum() != AutoDrum::stopped)
            preview.cycleAutoDrum();
    }
}

TEST_F(EffectPreviewTest, AHitFlashesTheIndicatorForTenPeriods)
{
    EXPECT_FALSE(preview.drumFlashTick());
    preview.sendDrumHit();
    for (int p = 1; p <= 10; ++p)
        EXPECT_TRUE(preview.drumFlashTick()) << p;
    EXPECT_FALSE(preview.drumFlashTick());
}

TEST_F(EffectPreviewTest, TheDisplayTickTellsOnlyWhenTheIndicatorChanges)
{
    std::vector<bool> told;
    const Subscription sub = preview.drumIndicatorChanged.subscribe([&](bool lit) { told.push_back(lit); });
    preview.drumDisplayTick();
    EXPECT_TRUE(told.empty());
    preview.sendDrumHit();
    for (int p = 1; p <= 12; ++p)
        preview.drumDisplayTick();
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    EXPECT_FALSE(preview.drumIndicatorLit());

    int warnings = 0;
    const Subscription due = preview.correspondenceWarningDue.subscribe([&] { ++warnings; });
    preview.correspondenceWarningTick();
    EXPECT_EQ(warnings, 1);
}
