#pragma once
// One busy gate for work on the controller link. A transfer, an upgrade, a handshake or an
// RDM search waits for replies while the event loop runs, so a second click could start a
// second operation inside the first one's wait; the gate refuses it with a typed status.
#include "core/app/Notifier.h"

#include <cstdint>
#include <utility>

namespace rz::link {

enum class LinkOperation : uint8_t {
    None,
    Connect,
    Download,
    Upload,
    FirmwareUpgrade,
    Query,
    RdmSearch,
    RdmRequest,
    Learning,
};

enum class GateStatus : uint8_t {
    Started, // the caller holds the link until its hold goes
    Busy,    // another operation holds it: nothing may be sent that waits
};

class LinkGate {
public:
    // Held for as long as the operation runs; releases the gate when destroyed.
    class Hold {
    public:
        Hold() = default;
        ~Hold() { release(); }
        Hold(Hold&& other) noexcept
            : gate(std::exchange(other.gate, nullptr)), state(other.state)
        {
        }
        Hold& operator=(Hold&& other) noexcept
        {
            if (this != &other) {
                release();
                gate = std::exchange(other.gate, nullptr);
                state = other.state;
            }
            return *this;
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

        GateStatus status() const { return state; }
        explicit operator bool() const { return state == GateStatus::Started; }
        void release()
        {
            if (gate)
                std::exchange(gate, nullptr)->end();
        }

    private:
        friend class LinkGate;
        Hold(LinkGate* gate, GateStatus status) : gate(gate), state(status) {}
        LinkGate* gate = nullptr;
        GateStatus state = GateStatus::Busy;
    };

    [[nodiscard]] Hold tryBegin(LinkOperation operation)
    {
        if (running != LinkOperation::None)
            return Hold(nullptr, GateStatus::Busy);
        running = operation;
        changed.notify(running);
        return Hold(this, GateStatus::Started);
    }

    bool busy() const { return running != LinkOperation::None; }
    LinkOperation current() const { return running; }

    // The running operation changed (None when the link became free).
    Notifier<LinkOperation> changed;

private:
    void end()
    {
        running = LinkOperation::None;
        changed.notify(running);
    }

    LinkOperation running = LinkOperation::None;
};

} // namespace rz::link
