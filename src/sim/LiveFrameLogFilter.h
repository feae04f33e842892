#pragma once
// Which events the simulator program logs. The tool streams ten live frames a second even
// while nothing changes, so by default a received live frame is logged only when its output
// differs from the last live frame logged; every other event is always logged.
#include "sim/ControllerEvent.h"

#include <optional>

namespace rz::sim {

class LiveFrameLogFilter {
public:
    explicit LiveFrameLogFilter(bool everyLiveFrame = false) : everyLiveFrame(everyLiveFrame) {}

    bool shouldLog(const ControllerEvent& event);

private:
    bool everyLiveFrame;
    std::optional<LiveOutput> lastLogged;
};

} // namespace rz::sim
