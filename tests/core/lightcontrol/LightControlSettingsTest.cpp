#include "core/lightcontrol/LightControlSettings.h"

#include <gtest/gtest.h>

using namespace rz::lightcontrol;

namespace {

LightControlSettings everythingSet()
{
    LightControlSettings s;
    s.powerOnScene = 32;
    s.exhaust1AtPowerOn = 1;
    s.channel9Exhaust1Off = 1;
    s.exhaust2AtPowerOn = 1;
    s.channel3AsExhaust2 = 1;
    s.powerOnAirCon = 3;
    s.channels678AsAirConFan = 1;
    s.channel5AsValveOpen = 1;
    s.channel4AsValveClose = 1;
    s.micShakeTime = 20;
    s.sceneRelayControl = 1;
    s.smokeMachineTime = 15;
    s.cheerBooTime = 20;
    s.denseDrumCount = 9;
    s.fixedDmxChannel = 512;
    s.fixedDmxOnValue = 255;
    s.fixedDmxOffValue = 1;
    s.fixedDmxPowerOnState = 1;
    s.vodPauseNoSceneSwitch = 1;
    s.sceneSwitchXyLimit = 10;
    s.thyristorDimming = 1;
    s.dimmingSteps = 4;
    s.dimmingFade = 1;
    s.pauseDmxOnVodPause = 1;
    s.adjustOnlyWhenSceneOpen = 1;
    s.dimmingMinimum = 40;
    s.doorPlateLightOff = 1;
    for (int k = 1; k <= kIrKeyCount; ++k)
        s.effectsUnitIr[k] = {0x11, 0x22, 0x33, static_cast<uint8_t>(k)};
    return s;
}

} // namespace

TEST(LightControlSettings, ClearKeepsOnlyTheFiveDimmingFields)
{
    LightControlSettings s = everythingSet();
    clearLightControl(s);

    LightControlSettings expected;
    expected.thyristorDimming = 1;
    expected.dimmingSteps = 4;
    expected.dimmingFade = 1;
    expected.adjustOnlyWhenSceneOpen = 1;
    expected.dimmingMinimum = 40;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.channel9Exhaust1Off, 0) << "stored inverted: a cleared record uses channel 9 for fan 1";
    for (int k = 1; k <= kIrKeyCount; ++k)
        EXPECT_FALSE(s.hasIrCode(k)) << "key " << k;
}

TEST(LightControlSettings, ValidateRepairsOnlyTheThreeGuardedFields)
{
    struct Case {
        uint8_t micShake, relayControl, denseDrum;
        uint8_t wantMicShake, wantRelayControl, wantDenseDrum;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 0, 7},
        {1, 1, 5, 1, 1, 5},
        {20, 2, 15, 20, 0, 15},
        {21, 255, 4, 21, 0, 7}, // above 20 is not guarded
        {255, 1, 16, 255, 1, 7},
        {7, 0, 255, 7, 0, 7},
    };
    for (const Case& c : cases) {
        LightControlSettings s = everythingSet();
        s.micShakeTime = c.micShake;
        s.sceneRelayControl = c.relayControl;
        s.denseDrumCount = c.denseDrum;
        LightControlSettings expected = s;
        expected.micShakeTime = c.wantMicShake;
        expected.sceneRelayControl = c.wantRelayControl;
        expected.denseDrumCount = c.wantDenseDrum;
        validateLightControl(s);
        EXPECT_EQ(s, expected) << int(c.micShake) << "/" << int(c.relayControl) << "/" << int(c.denseDrum);
    }
}

TEST(LightControlSettings, AnIrCodeOfFourZeroBytesIsNoCode)
{
    LightControlSettings s;
    s.effectsUnitIr[1] = {0, 0, 0, 1};
    s.effectsUnitIr[20] = {0x80, 0, 0, 0};
    s.effectsUnitIr[0] = {1, 1, 1, 1}; // index 0 is not a key
    EXPECT_TRUE(s.hasIrCode(1));
    EXPECT_FALSE(s.hasIrCode(2));
    EXPECT_TRUE(s.hasIrCode(20));
    EXPECT_FALSE(s.hasIrCode(0));
    EXPECT_FALSE(s.hasIrCode(21));
}
