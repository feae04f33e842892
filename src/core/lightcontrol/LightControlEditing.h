#pragma once
// What the light-control page does to the settings, apart from its widgets: list texts, the
// texts typed into its boxes, and the display corrections of the dimming fields.
#include "core/lightcontrol/LightControlSettings.h"

#include "core/app/Universe.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rz::lightcontrol {

inline constexpr std::u16string_view kNoPowerOnScene = u"无";
inline constexpr int kPowerOnSceneChoices = 32; // scenes 1..32 can start the room
inline constexpr std::array<std::u16string_view, 4> kAirConStateNames{u"关闭", u"低风", u"中风", u"高风"};
inline constexpr std::array<std::u16string_view, 2> kSceneRelayControlNames{u"使用电脑设置", u"使用手动设置"};
inline constexpr std::array<std::u16string_view, 2> kFixedDmxPowerOnNames{u"关", u"开"};
inline constexpr std::array<uint8_t, 8> kRunTimeChoices{0, 2, 4, 6, 8, 10, 15, 20}; // smoke, cheer/boo
inline constexpr std::u16string_view kSecondsSuffix = u"秒";
inline constexpr uint8_t kMaxMicShakeTime = 20;
inline constexpr uint8_t kMaxDimmingSteps = 10;
inline constexpr uint8_t kMaxDimmingMinimum = 40;
inline constexpr uint16_t kMaxFixedDmxChannel = kUniverseSize;

// The power-on list entry of scene n: "无" for 0, else "n-name" (also with an empty name).
std::u16string powerOnSceneEntry(int scene, std::u16string_view sceneName);

// "5秒"; and back: the number left when "秒" is removed, nothing for any other text.
std::u16string micShakeText(uint8_t seconds);
std::optional<uint8_t> micShakeFromText(std::u16string_view text);

// A typed number within 0..max (decimal digits only); nothing otherwise, so the field keeps
// its value ("600" for the DMX channel, "-1", "12a", "").
std::optional<uint16_t> parseFixedDmxChannel(std::u16string_view text);
std::optional<uint8_t> parseDmxLevel(std::u16string_view text);

// The editor shows dimmingSteps 0 or above 10 as 10 and dimmingMinimum above 40 as 40, and
// stores what it shows.
void correctDimmingForDisplay(LightControlSettings& settings);

// Key k's box: each code byte as two upper-case hexadecimal digits and a space ("0A 1B 2C 3D "),
// empty when the key has no code.
std::u16string irKeyText(const IrCode& code);

enum class IrTextResult {
    stored,  // eight hexadecimal digits: the code is stored
    cleared, // empty: the key has no code any more
    invalid, // anything else: nothing stored, the box turns light red
};
// A changed box text, spaces ignored. Keys outside 1..20 are invalid.
IrTextResult applyIrKeyText(LightControlSettings& settings, int key, std::u16string_view text);

} // namespace rz::lightcontrol
