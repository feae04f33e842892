#include "sim/LiveFrameLogFilter.h"

namespace rz::sim {

bool LiveFrameLogFilter::shouldLog(const ControllerEvent& event)
{
    if (event.kind == EventKind::Restart) {
        lastLogged.reset(); // the output went dark: the next frame is news again
        return true;
    }
    // Only decoded live frames carry an output; a rejected one is always worth a line.
    if (everyLiveFrame || event.kind != EventKind::FrameReceived || !event.output)
        return true;
    if (lastLogged == event.output)
        return false;
    lastLogged = event.output;
    return true;
}

} // namespace rz::sim
