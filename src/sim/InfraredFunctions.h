#pragma once
// The controller's room functions the light-control pages drive: infrared reception for the
// effects-unit keys (CE 50) and the air-conditioner codes (CE 24). Each function performed is
// reported as one room event. What the room itself produces (a code from a remote control, a
// learned air-conditioner code) comes in through the inject functions.
#include "sim/CommandFamily.h"

#include <array>
#include <cstdint>
#include <optional>

namespace rz::sim {

inline constexpr uint8_t kRoomCommand = 0xCE;
inline constexpr uint8_t kInfraredSub = 0x50;
inline constexpr uint8_t kAirConSub = 0x24;

class InfraredFunctions : public CommandFamily {
public:
    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    void reset() override;

    // A remote control's code reached the receiver: reported as CE 50 66 c1..c4 while
    // reception is on; otherwise the controller ignores it. True when reported.
    bool receiveInfraredCode(const std::array<uint8_t, 4>& code, FamilyContext& context);
    // The air conditioner's remote was pressed while learning: reports CE 24 02 with the
    // learning state. True when a learning was running.
    bool learnAirConCode(FamilyContext& context);

    bool infraredReceptionOn() const { return reception; }
    // The state being learned, none when not learning.
    std::optional<uint8_t> airConLearning() const { return learning; }
    // On (the default): a learn request is answered with its CE 24 02 report at once, as if
    // the remote control had been pressed straight away.
    void setAutoLearn(bool on) { autoLearn = on; }
    bool autoLearnOn() const { return autoLearn; }
    // The state last test-sent, none before the first.
    std::optional<uint8_t> lastAirConTest() const { return tested; }

private:
    void handleInfrared(const ReceivedFrame& frame, FamilyContext& context);
    void handleAirCon(const ReceivedFrame& frame, FamilyContext& context);

    bool reception = false;
    bool autoLearn = true;
    std::optional<uint8_t> learning;
    std::optional<uint8_t> tested;
};

} // namespace rz::sim
