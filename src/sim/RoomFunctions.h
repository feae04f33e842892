#pragma once
// The room functions and test messages of command CE: each one performed is reported as a
// RoomFunction event. Test functions on (19 88) and off (19 44) are answered with the same
// bytes; wall-panel (19 A1) and VOD (19 A2) test input comes back as a report from that port,
// as if the panel or VOD system had echoed it.
#include "sim/CommandFamily.h"

#include <string>

namespace rz::sim {

class Controller;

class RoomFunctions : public CommandFamily {
public:
    void routeInto(Controller& controller);
    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    void reset() override { testFunctions = false; }

    bool testFunctionsOn() const { return testFunctions; }

private:
    bool testFunctions = false;
};

// The event name of a CE payload; empty for one this family does not serve.
std::string roomFunctionName(std::span<const uint8_t> payload);

} // namespace rz::sim
