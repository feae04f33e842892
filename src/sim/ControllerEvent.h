#pragma once
// What the simulated controller tells its observers: one event per frame received or thrown
// away, per reply and per change of its state. Events own their data, so a listener may keep
// them.
#include "sim/Faults.h"
#include "sim/FrameReader.h"
#include "sim/LiveFrame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rz::sim {

enum class EventKind {
    FrameReceived,     // command, payload; output for a good live frame
    FrameDropped,      // dropReason, length = bytes thrown away
    LiveFrameRejected, // a live frame whose content could not be taken apart: liveError
    ReplySent,         // command, payload, fate
    Handshake,         // a connect request was answered; count = handshakes so far
    Restart,           // count = restarts so far
    OutputChanged,     // output = what the controller now outputs
    RoomFunction,      // a CE room function or test message was performed: function, payload
};

struct ControllerEvent {
    EventKind kind = EventKind::FrameReceived;
    uint8_t command = 0;
    std::vector<uint8_t> payload;
    std::size_t length = 0;
    DropReason dropReason = DropReason::BadChecksum;
    LiveFrameError liveError = LiveFrameError::None;
    ReplyFate fate = ReplyFate::Sent;
    uint32_t count = 0;
    std::optional<LiveOutput> output;
    std::string function; // RoomFunction: its name ("cheer", "wall-panel-test", ...)
};

class ControllerListener {
public:
    virtual ~ControllerListener() = default;
    virtual void onEvent(const ControllerEvent& event) = 0;
};

} // namespace rz::sim
