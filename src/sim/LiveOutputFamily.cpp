#include "sim/LiveOutputFamily.h"

namespace rz::sim {

void LiveOutputFamily::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    LiveFrameDecode decoded = decodeLiveFrame(frame.payload);
    if (!decoded.output) {
        // A frame the controller cannot take apart leaves the output as it was.
        ++rejected;
        ControllerEvent e;
        e.kind = EventKind::LiveFrameRejected;
        e.command = frame.command;
        e.length = frame.payload.size();
        e.liveError = decoded.error;
        context.report(std::move(e));
        return;
    }
    ++applied;
    context.describeOutput(*decoded.output);
    if (*decoded.output == current)
        return;
    current = *decoded.output;
    ControllerEvent e;
    e.kind = EventKind::OutputChanged;
    e.output = current;
    context.report(std::move(e));
}

void LiveOutputFamily::reset()
{
    // After a restart the controller runs its own show again; live output starts from dark.
    current = LiveOutput{};
}

} // namespace rz::sim
