#pragma once
// Learning the effects-unit infrared codes from the controller. While key k's box has focus
// the page keeps asking the controller to learn (every 500 ms); a code the controller reports
// is stored for key k. Leaving the box tells the controller once to stop.
//
// The page owns the poll timer and the link; this class decides the timer interval, what to
// send on each tick, and what a received frame means.
#include "core/lightcontrol/LightControlSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace rz::lightcontrol {

inline constexpr uint8_t kIrLearningCommand = 0xCE;
inline constexpr std::array<uint8_t, 2> kIrLearningOn{0x50, 0x01};
inline constexpr std::array<uint8_t, 2> kIrLearningOff{0x50, 0x00};
inline constexpr uint32_t kIrFocusIntervalMs = 100;
inline constexpr uint32_t kIrRepeatIntervalMs = 500;

class IrLearning {
public:
    // Box k (1..17) gained focus; other numbers are ignored.
    void focusGained(int key);
    void focusLost();

    // One tick of the poll timer. `canSend`: the live link is on and the live page is the
    // light-control page; otherwise nothing happens. The payload to send with command CE,
    // if any: learning on (then the timer repeats every 500 ms) or, once, learning off (then
    // the timer stops).
    std::optional<std::array<uint8_t, 2>> tick(bool canSend);

    // A received frame: while a key is learning, command CE with the 6 data bytes 50 66 c1 c2
    // c3 c4 stores c1..c4 for that key. Returns the key whose box must be redrawn, or 0.
    int receive(uint8_t command, std::span<const uint8_t> data, LightControlSettings& settings) const;

    int learningKey() const { return key; }
    // 0 = stopped.
    uint32_t timerIntervalMs() const { return interval; }

private:
    int key = 0;
    uint32_t interval = 0;
};

} // namespace rz::lightcontrol
