#pragma once
// The controller's room-wide settings: power-on scene, exhaust fans, air conditioner, smoke
// machine, cheer/boo, mic shake, dense drum hits, one DMX channel with fixed values, VOD pause,
// thyristor dimming, and the infrared codes sent to the effects unit. Every field is unsigned
// and as wide as in the file; check-box fields are 0/1.
#include <array>
#include <cstdint>
#include <string_view>

namespace rz::lightcontrol {

inline constexpr int kIrKeyCount = 20;         // keys 1..20; 18..20 are stored but not edited
inline constexpr int kEditableIrKeys = 17;
inline constexpr std::size_t kIrCodeSize = 4;  // all four bytes 0 = no code
inline constexpr uint8_t kDefaultMicShakeTime = 1;
inline constexpr uint8_t kMinDenseDrumCount = 5;
inline constexpr uint8_t kMaxDenseDrumCount = 15;
inline constexpr uint8_t kDefaultDenseDrumCount = 7;

using IrCode = std::array<uint8_t, kIrCodeSize>;

struct LightControlSettings {
    uint8_t powerOnScene = 0;        // 0 none, 1..32
    uint8_t exhaust1AtPowerOn = 0;
    uint8_t channel9Exhaust1Off = 0; // stored inverted: 0 = channel 9 serves as exhaust fan 1
    uint8_t exhaust2AtPowerOn = 0;
    uint8_t channel3AsExhaust2 = 0;
    uint8_t powerOnAirCon = 0;       // 0 off, 1 low, 2 medium, 3 high fan
    uint8_t channels678AsAirConFan = 0;
    uint8_t channel5AsValveOpen = 0;
    uint8_t channel4AsValveClose = 0;
    uint8_t micShakeTime = 0;        // seconds, 1..20
    uint8_t sceneRelayControl = 0;   // 0 PC settings, 1 manual settings
    uint8_t smokeMachineTime = 0;    // 0, 2, 4, 6, 8, 10, 15 or 20; 0 = press on, press off
    uint8_t cheerBooTime = 0;        // as smokeMachineTime
    uint8_t denseDrumCount = 0;      // 5..15
    uint16_t fixedDmxChannel = 0;    // 0..512
    uint8_t fixedDmxOnValue = 0;
    uint8_t fixedDmxOffValue = 0;
    uint8_t fixedDmxPowerOnState = 0; // 0 off, 1 on
    uint8_t vodPauseNoSceneSwitch = 0;
    uint8_t sceneSwitchXyLimit = 0;  // 0..10
    uint8_t thyristorDimming = 0;
    uint8_t dimmingSteps = 0;        // 1..10
    uint8_t dimmingFade = 0;
    uint8_t pauseDmxOnVodPause = 0;
    uint8_t adjustOnlyWhenSceneOpen = 0;
    uint8_t dimmingMinimum = 0;      // 0..40
    uint8_t doorPlateLightOff = 0;
    // Indexed by key 1..20; entry 0 is never used.
    std::array<IrCode, kIrKeyCount + 1> effectsUnitIr{};

    // True when key k (1..20) holds a code; false for an all-zero code or another number.
    bool hasIrCode(int key) const;

    bool operator==(const LightControlSettings&) const = default;
};

// Every field 0 and every IR code cleared, except the five dimming fields (thyristorDimming,
// dimmingSteps, dimmingFade, adjustOnlyWhenSceneOpen, dimmingMinimum), which keep their values.
void clearLightControl(LightControlSettings& settings);

// micShakeTime 0 becomes 1, sceneRelayControl 2 or more becomes 0, denseDrumCount outside
// 5..15 becomes 7.
void validateLightControl(LightControlSettings& settings);

// Labels of the effects-unit keys 1..17 (index 0 unused). Keys 8..13 carry the sound programs
// a scene selects with effectsUnitSound 1..6.
inline constexpr std::array<std::u16string_view, kEditableIrKeys + 1> kIrKeyLabels{
    u"",     u"音乐+", u"音乐-", u"麦克风+", u"麦克风-", u"升调",  u"原调",
    u"降调", u"整蛊",  u"唱将",  u"和声",    u"搞怪",    u"迪曲",  u"电影",
    u"音源1", u"音源2", u"音源3", u"音源4"};

} // namespace rz::lightcontrol
