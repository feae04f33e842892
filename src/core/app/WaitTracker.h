#pragma once
// Counts the waits in progress: link replies, delays, modal boxes, anything that lets the
// event loop run inside a handler. The main loop runs no periodic task while one is open,
// so its tasks never run nested inside another handler.
#include <utility>

namespace rz {

class WaitTracker {
public:
    class Scope {
    public:
        explicit Scope(WaitTracker& tracker) : tracker(&tracker) { ++tracker.depth; }
        ~Scope()
        {
            if (tracker)
                --tracker->depth;
        }
        Scope(Scope&& other) noexcept : tracker(std::exchange(other.tracker, nullptr)) {}
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope& operator=(Scope&&) = delete;

    private:
        WaitTracker* tracker;
    };

    [[nodiscard]] Scope enter() { return Scope(*this); }
    bool waiting() const { return depth > 0; }
    int waitDepth() const { return depth; }

private:
    int depth = 0;
};

} // namespace rz
