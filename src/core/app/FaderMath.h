#pragma once
// The arithmetic of the on-screen faders and of the mouse-wheel and arrow-key steps that
// nudge the level of the fader under the pointer.
#include "core/app/Seams.h"

#include <cstdint>

namespace rz {

// Fader geometry in the layout's units: the knob is 250 high and its top moves in 0..H-250.
inline constexpr int kFaderKnobHeight = 250;
inline constexpr int kDefaultFaderMax = 255;

// faderMax * (1 - y / (H - 250)), rounded to the nearest whole value and kept in 0..faderMax.
// A fader no taller than its knob has no travel: the top gives faderMax, anything lower 0.
int faderValueAt(int faderMax, int height, int knobTop);
// The knob top that shows `value` (the inverse of faderValueAt).
int faderKnobTopFor(int faderMax, int height, int value);
// While dragging the knob's centre follows the pointer: top = y - 125, kept on the fader.
int faderKnobTopWhileDragging(int height, int pointerY);

enum class WheelStep { none, up, down };

inline constexpr int kWheelNotch = 120;
// Exactly one notch without modifier keys is a step; two notches at once, a fraction of a
// notch, or any modifier is ignored, as is everything while the wheel is off or the program is
// closing.
WheelStep wheelStepFor(int delta, bool anyModifier, bool wheelDisabled, bool closing);

// Which page's fader the wheel acts on (wheelFocus).
enum class WheelPage { none, fixtureLibrary, material };
struct WheelTarget {
    WheelPage page = WheelPage::none;
    int channel = 0;
};
inline constexpr int32_t kFixtureWheelFocusBase = 1000;
inline constexpr int32_t kMaterialWheelFocusBase = 2000;
WheelTarget wheelTargetFor(int32_t wheelFocus);

// A level after one step, kept in 0..255.
uint8_t steppedLevel(uint8_t level, WheelStep step);

// Keyboard scrolling (every 50 ms): Up or Down held or pressed since the last look is one
// step; Up wins when both are.
inline constexpr int kVirtualKeyUp = 0x26;
inline constexpr int kVirtualKeyDown = 0x28;
WheelStep keyboardScrollStep(KeyState& keys);

} // namespace rz
