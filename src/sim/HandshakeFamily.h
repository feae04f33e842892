#pragma once
// Connect, keep-alive, poll and restart: C0 is answered with C0, C1 and CE 13 are only
// counted, an empty C4 restarts the controller.
#include "sim/CommandFamily.h"

namespace rz::sim {

inline constexpr uint8_t kConnectCommand = 0xC0;
inline constexpr uint8_t kKeepAliveCommand = 0xC1;
inline constexpr uint8_t kRestartCommand = 0xC4;
inline constexpr uint8_t kEventCommand = 0xCE;
inline constexpr uint8_t kPollSubCommand = 0x13;

class HandshakeFamily : public CommandFamily {
public:
    void handle(const ReceivedFrame& frame, FamilyContext& context) override;

    uint32_t handshakes() const { return answered; }

private:
    uint32_t answered = 0;
};

} // namespace rz::sim
