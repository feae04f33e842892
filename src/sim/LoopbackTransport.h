#pragma once
// An in-process transport to a simulated controller, for core tests and benchmarks. write()
// hands the bytes to the controller (through the line model when a speed is set); poll()
// delivers what the controller has sent and what has crossed the line by the clock's time.
#include "core/app/Seams.h"
#include "core/link/Transport.h"
#include "sim/Controller.h"
#include "sim/SerialLine.h"

#include <cstdint>
#include <span>

namespace rz::sim {

class LoopbackTransport : public link::Transport {
public:
    // baud 0: bytes reach the controller at once and its output at the next poll().
    LoopbackTransport(Controller& controller, Clock& clock, uint32_t baud = 0);

    bool isOpen() const override { return open; }
    void setOpen(bool isOpen) { open = isOpen; }
    void write(std::span<const uint8_t> bytes) override;
    void poll() override;

    // True when nothing is on its way in either direction or waiting in the controller.
    bool quiet();
    uint64_t bytesWritten() const { return written; }
    uint64_t bytesDelivered() const { return delivered; }

private:
    void pumpToController();

    Controller& controller;
    Clock& clock;
    SerialLine toController;
    SerialLine toPc;
    bool open = true;
    uint64_t written = 0;
    uint64_t delivered = 0;
};

} // namespace rz::sim
