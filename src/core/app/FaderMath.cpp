#include "core/app/FaderMath.h"

#include <algorithm>

namespace rz {

int faderValueAt(int faderMax, int height, int knobTop)
{
    const int travel = height - kFaderKnobHeight;
    if (travel <= 0)
        return knobTop <= 0 ? faderMax : 0;
    const int y = std::clamp(knobTop, 0, travel);
    // Rounded integer form of faderMax * (travel - y) / travel.
    const int64_t scaled = static_cast<int64_t>(faderMax) * (travel - y);
    return static_cast<int>((scaled + travel / 2) / travel);
}

int faderKnobTopFor(int faderMax, int height, int value)
{
    const int travel = height - kFaderKnobHeight;
    if (travel <= 0 || faderMax <= 0)
        return 0;
    const int v = std::clamp(value, 0, faderMax);
    const int64_t scaled = static_cast<int64_t>(travel) * (faderMax - v);
    return static_cast<int>((scaled + faderMax / 2) / faderMax);
}

int faderKnobTopWhileDragging(int height, int pointerY)
{
    const int travel = std::max(0, height - kFaderKnobHeight);
    return std::clamp(pointerY - kFaderKnobHeight / 2, 0, travel);
}

WheelStep wheelStepFor(int delta, bool anyModifier, bool wheelDisabled, bool closing)
{
    if (wheelDisabled || closing || anyModifier)
        return WheelStep::none;
    if (delta == kWheelNotch)
        return WheelStep::up;
    if (delta == -kWheelNotch)
        return WheelStep::down;
    return WheelStep::none;
}

WheelTarget wheelTargetFor(int32_t wheelFocus)
{
    if (wheelFocus >= kFixtureWheelFocusBase && wheelFocus < kFixtureWheelFocusBase + 1000)
        return {WheelPage::fixtureLibrary, wheelFocus - kFixtureWheelFocusBase};
    if (wheelFocus >= kMaterialWheelFocusBase && wheelFocus < kMaterialWheelFocusBase + 1000)
        return {WheelPage::material, wheelFocus - kMaterialWheelFocusBase};
    return {};
}

uint8_t steppedLevel(uint8_t level, WheelStep step)
{
    if (step == WheelStep::up && level < 255)
        return static_cast<uint8_t>(level + 1);
    if (step == WheelStep::down && level > 0)
        return static_cast<uint8_t>(level - 1);
    return level;
}

WheelStep keyboardScrollStep(KeyState& keys)
{
    constexpr uint16_t kDownNow = 0x8000;
    constexpr uint16_t kPressedSince = 0x0001;
    // Both keys are read every time so that a press of the other one is not kept for later.
    const uint16_t up = keys.asyncKeyState(kVirtualKeyUp);
    const uint16_t down = keys.asyncKeyState(kVirtualKeyDown);
    if (up & (kDownNow | kPressedSince))
        return WheelStep::up;
    if (down & (kDownNow | kPressedSince))
        return WheelStep::down;
    return WheelStep::none;
}

} // namespace rz
