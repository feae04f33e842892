#include "sim/HandshakeFamily.h"

namespace rz::sim {

void HandshakeFamily::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    switch (frame.command) {
    case kConnectCommand: {
        context.reply(kConnectCommand, {});
        ControllerEvent e;
        e.kind = EventKind::Handshake;
        e.count = ++answered;
        context.report(std::move(e));
        break;
    }
    case kRestartCommand:
        // C4 with a payload belongs to the firmware loader, not to a restart.
        if (frame.payload.empty())
            context.restart();
        break;
    default: // C1 and CE 13 need no answer; the controller counts every frame anyway.
        break;
    }
}

} // namespace rz::sim
