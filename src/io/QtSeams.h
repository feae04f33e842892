#pragma once
// Qt implementations of the core's time and event-loop seams.
#include "core/app/Seams.h"
#include "core/app/WaitTracker.h"

#include <QElapsedTimer>

namespace rz::io {

class QtClock : public Clock {
public:
    QtClock() { timer.start(); }
    uint32_t nowMs() override { return static_cast<uint32_t>(timer.elapsed()); }

private:
    QElapsedTimer timer;
};

// Runs pending events, so that socket and serial data arrive during a wait. Every event run
// here happens inside a wait: the tracker says so to the main loop.
class QtYield : public Yield {
public:
    explicit QtYield(WaitTracker* tracker = nullptr) : tracker(tracker) {}
    void setWaitTracker(WaitTracker* t) { tracker = t; }

    void yield() override;
    // Sleeps in the event loop until an event arrives (a datagram, serial bytes, a click) or
    // `maxMs` pass; no spinning between frames.
    void yieldUntilEvent(uint32_t maxMs) override;

private:
    WaitTracker* tracker;
};

} // namespace rz::io
