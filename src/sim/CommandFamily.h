#pragma once
// One family of commands the controller serves (handshake, live output, and later file
// transfer, firmware, queries, RDM). The controller routes each good frame to the family
// registered for its command (or command and first payload byte); the family answers and
// reports through the context.
#include "sim/ControllerEvent.h"
#include "sim/FrameReader.h"

#include <cstdint>
#include <span>

namespace rz::sim {

class FamilyContext {
public:
    virtual ~FamilyContext() = default;
    // Sends a checked frame back to the PC (subject to the fault policy).
    virtual void reply(uint8_t command, std::span<const uint8_t> payload) = 0;
    // Reports a state change; listeners see it right after the frame that caused it.
    virtual void report(ControllerEvent event) = 0;
    // Attaches what a live frame decoded to the frame's own event.
    virtual void describeOutput(const LiveOutput& output) = 0;
    // Restarts the whole controller: every family is reset.
    virtual void restart() = 0;
    virtual uint32_t nowMs() = 0;
};

class CommandFamily {
public:
    virtual ~CommandFamily() = default;
    virtual void handle(const ReceivedFrame& frame, FamilyContext& context) = 0;
    // The controller restarted: forget what a restart forgets.
    virtual void reset() {}
};

} // namespace rz::sim
