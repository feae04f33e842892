#pragma once
// The live frame (0x60): the controller outputs the decoded universe, relays and dimmers in
// place of its own show until it restarts.
#include "sim/CommandFamily.h"
#include "sim/LiveFrame.h"

namespace rz::sim {

class LiveOutputFamily : public CommandFamily {
public:
    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    void reset() override;

    const LiveOutput& output() const { return current; }
    uint32_t framesApplied() const { return applied; }
    uint32_t framesRejected() const { return rejected; }

private:
    LiveOutput current;
    uint32_t applied = 0;
    uint32_t rejected = 0;
};

} // namespace rz::sim
