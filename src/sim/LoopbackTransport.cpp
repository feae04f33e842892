#include "sim/LoopbackTransport.h"

namespace rz::sim {

LoopbackTransport::LoopbackTransport(Controller& controller, Clock& clock, uint32_t baud)
    : controller(controller), clock(clock), toController(baud), toPc(baud)
{
}

void LoopbackTransport::pumpToController()
{
    for (const auto& piece : toController.take(clock.nowMs()))
        controller.receive(piece);
}

void LoopbackTransport::write(std::span<const uint8_t> bytes)
{
    if (!open)
        return;
    written += bytes.size();
    toController.push(bytes, clock.nowMs());
    pumpToController();
}

void LoopbackTransport::poll()
{
    pumpToController();
    const uint32_t now = clock.nowMs();
    for (const auto& chunk : controller.takeOutputChunks())
        toPc.push(chunk, now);
    for (const auto& piece : toPc.take(now)) {
        // A closed port hears nothing; the controller talks into the void.
        if (!open)
            continue;
        delivered += piece.size();
        deliver(piece);
    }
}

bool LoopbackTransport::quiet()
{
    return toController.idle() && toPc.idle() && !controller.msUntilNextOutput();
}

} // namespace rz::sim
