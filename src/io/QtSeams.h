#pragma once
// Qt implementations of the core's time and event-loop seams.
#include "core/app/Seams.h"

#include <QElapsedTimer>

namespace rz::io {

class QtClock : public Clock {
public:
    QtClock() { timer.start(); }
    uint32_t nowMs() override { return static_cast<uint32_t>(timer.elapsed()); }

private:
    QElapsedTimer timer;
};

// Runs pending events, so that socket and serial data arrive during a wait.
class QtYield : public Yield {
public:
    void yield() override;
};

} // namespace rz::io
