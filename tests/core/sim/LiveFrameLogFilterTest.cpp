// The simulator program's log keeps a live frame only when the output changes.
#include "sim/LiveFrameLogFilter.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

ControllerEvent liveFrame(uint8_t level1)
{
    ControllerEvent e;
    e.kind = EventKind::FrameReceived;
    e.command = 0x60;
    LiveOutput o;
    o.levels[1] = level1;
    e.output = o;
    return e;
}

ControllerEvent ofKind(EventKind k, uint8_t command = 0)
{
    ControllerEvent e;
    e.kind = k;
    e.command = command;
    return e;
}

TEST(LiveFrameLogFilter, LogsALiveFrameOnlyWhenTheOutputChanges)
{
    const ControllerEvent a = liveFrame(10), b = liveFrame(20);
    const struct {
        ControllerEvent event;
        bool logged;
    } steps[] = {
        {a, true},
        {a, false},
        {ofKind(EventKind::FrameReceived, 0xC1), true}, // other frames always
        {a, false},
        {ofKind(EventKind::LiveFrameRejected, 0x60), true},
        {ofKind(EventKind::FrameReceived, 0x60), true}, // a frame that did not decode
        {b, true},
        {a, true},
        {ofKind(EventKind::Restart), true},
        {a, true}, // after a restart the output was dark
        {a, false},
    };
    LiveFrameLogFilter changesOnly, everyFrame(true);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(changesOnly.shouldLog(steps[i].event), steps[i].logged);
        EXPECT_TRUE(everyFrame.shouldLog(steps[i].event));
    }
}

} // namespace
} // namespace rz::sim
