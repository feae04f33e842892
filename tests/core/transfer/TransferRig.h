#pragma once
// The PC side (link, transfer objects, log box) wired to the in-process simulated controller
// on a fake clock: every wait of the core steps time by 1 ms and lets the controller answer.
#include "core/link/Link.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace rz::transfer::test {

using Bytes = std::vector<uint8_t>;

// What the controller received and how its replies fared.
class ControllerRecorder : public sim::ControllerListener {
public:
    struct Frame {
        uint8_t command;
        Bytes payload;
    };
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived)
            received.push_back({e.command, e.payload});
        if (e.kind == sim::EventKind::ReplySent && e.fate == sim::ReplyFate::Dropped)
            droppedReplies.push_back(e.command);
    }
    std::vector<Frame> framesOf(uint8_t command) const
    {
        std::vector<Frame> out;
        for (const Frame& f : received)
            if (f.command == command)
                out.push_back(f);
        return out;
    }
    bool replyDropped(uint8_t command) const
    {
        return std::find(droppedReplies.begin(), droppedReplies.end(), command) != droppedReplies.end();
    }
    std::vector<Frame> received;
    std::vector<uint8_t> droppedReplies;
};

// A stand-in for one of the controller's command families, to script misbehaviour.
class ScriptedFamily : public sim::CommandFamily {
public:
    using Script = std::function<void(const sim::ReceivedFrame&, sim::FamilyContext&)>;
    explicit ScriptedFamily(Script s = {}) : script(std::move(s)) {}
    void handle(const sim::ReceivedFrame& f, sim::FamilyContext& c) override
    {
        if (script)
            script(f, c);
    }
    Script script;
};

struct Rig {
    explicit Rig(const sim::FaultPolicy& faults = {}) : controller(clock, faults)
    {
        controller.setListener(&recorder);
        link.setTransport(&transport);
    }
    ~Rig() { link.setTransport(nullptr); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    sim::FileStore& store() { return controller.transfer().files; }
    sim::Loader& loader() { return controller.transfer().loader; }
    // Restarts the controller as a power cycle would (an empty C4 reaching it).
    void restartController() { controller.receive(link::buildFrame(0xC4, {})); }

    rz::test::FakeClock clock{5000};
    rz::test::FakeYield yield{clock};
    ControllerRecorder recorder;
    sim::Controller controller;
    sim::LoopbackTransport transport{controller, clock};
    link::Link link{clock, yield};
    rz::test::StringLogBox box;
    rz::test::TempDir dir;
};

// Bytes with some zero runs, as parameter files have them.
inline Bytes sampleFile(std::size_t n, uint32_t seed = 7)
{
    Bytes b(n);
    uint32_t x = seed;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        b[i] = (x >> 16) % 3 == 0 ? 0 : static_cast<uint8_t>(x >> 24);
    }
    return b;
}

} // namespace rz::transfer::test
