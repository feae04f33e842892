#include "ControllerLink.h"

#include "sim/EventJson.h"

#include <algorithm>
#include <cstdio>

namespace rz::sim::program {

void JsonEventPrinter::onEvent(const ControllerEvent& event)
{
    if (filter.shouldLog(event))
        printLine(eventJson(event, link));
}

void JsonEventPrinter::printLine(const std::string& json)
{
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout); // a reader waits for each line as it happens
}

ControllerLink::ControllerLink(const std::string& name, const SimOptions& options, Clock& clock,
                               bool wholePieces, QObject* parent)
    : QObject(parent),
      clock(clock),
      controller(clock, options.faults),
      printer(name, options.everyLiveFrame),
      input(options.baud),
      output(options.baud),
      wholePieces(wholePieces)
{
    if (options.events)
        controller.setListener(&printer);
    for (const auto& [kind, bytes] : options.files)
        controller.transfer().files.preload(kind, bytes);
    for (const RdmResponder& fixture : options.rdmFixtures)
        controller.rdm().add(fixture);
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &ControllerLink::pump);
}

void ControllerLink::receive(std::span<const uint8_t> bytes)
{
    input.push(bytes, clock.nowMs());
    pump();
}

void ControllerLink::pump()
{
    std::optional<uint32_t> wait;
    // Each pass moves whatever is due now; a pass can make more due (a reply without delay).
    for (int pass = 0; pass < 8; ++pass) {
        const uint32_t now = clock.nowMs();
        for (const auto& piece : input.take(now))
            controller.receive(piece);
        for (const auto& chunk : controller.takeOutputChunks())
            output.push(chunk, now);
        for (const auto& piece : output.take(now, wholePieces)) {
            if (sender)
                sender(piece);
        }
        wait.reset();
        for (const auto w : {input.msUntilNext(now), controller.msUntilNextOutput(),
                             output.msUntilNext(now, wholePieces)}) {
            if (w)
                wait = wait ? std::min(*wait, *w) : *w;
        }
        if (!wait || *wait > 0)
            break;
    }
    if (wait)
        timer.start(static_cast<int>(std::max<uint32_t>(*wait, 1)));
    else
        timer.stop();
}

} // namespace rz::sim::program
