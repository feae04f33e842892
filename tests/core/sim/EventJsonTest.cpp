// The JSON lines are what scripts and the integration tests read: exact texts.
#include "sim/EventJson.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

ControllerEvent ofKind(EventKind k)
{
    ControllerEvent e;
    e.kind = k;
    return e;
}

TEST(EventJson, EveryKindHasItsFixedShape)
{
    ControllerEvent frame = ofKind(EventKind::FrameReceived);
    frame.command = 0xCE;
    frame.payload = {0x13, 0xAB};
    frame.length = 2;

    ControllerEvent dropped = ofKind(EventKind::FrameDropped);
    dropped.dropReason = DropReason::BadChecksum;
    dropped.length = 9;

    ControllerEvent rejected = ofKind(EventKind::LiveFrameRejected);
    rejected.command = 0x60;
    rejected.length = 5;
    rejected.liveError = LiveFrameError::BadPacking;

    ControllerEvent reply = ofKind(EventKind::ReplySent);
    reply.command = 0xC0;
    reply.fate = ReplyFate::Corrupted;

    ControllerEvent restart = ofKind(EventKind::Restart);
    restart.count = 3;

    const struct {
        ControllerEvent event;
        const char* link;
        const char* json;
    } cases[] = {
        {frame, "", R"({"event":"frame","command":"CE","length":2,"payload":"13AB"})"},
        {frame, "udp", R"({"event":"frame","link":"udp","command":"CE","length":2,"payload":"13AB"})"},
        {dropped, "pty", R"({"event":"dropped","link":"pty","reason":"checksum","length":9})"},
        {rejected, "", R"({"event":"liveRejected","command":"60","length":5,"reason":"packing"})"},
        {reply, "", R"({"event":"reply","command":"C0","length":0,"fate":"corrupted"})"},
        {restart, "", R"({"event":"restart","count":3})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eventJson(c.event, c.link), c.json);
}

TEST(EventJson, LiveFrameListsNonZeroLevelsAllRelaysAndTheDimmersWhenPresent)
{
    ControllerEvent e = ofKind(EventKind::FrameReceived);
    e.command = 0x60;
    e.length = 20;
    LiveOutput o;
    o.levels[1] = 255;
    o.levels[300] = 0xFE;
    o.levels[512] = 7;
    o.relays[1] = 1;
    o.relays[24] = 255;
    e.output = o;
    const std::string relays = R"("relays":[1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,255])";
    EXPECT_EQ(eventJson(e), R"({"event":"frame","command":"60","length":20,)"
                            R"("levels":{"1":255,"300":254,"512":7},)" +
                                relays + R"(,"dimmers":null})");

    o.dimmerBlock = true;
    o.dimmers[1] = 10;
    o.dimmers[8] = 80;
    ControllerEvent changed = ofKind(EventKind::OutputChanged);
    changed.output = o;
    EXPECT_EQ(eventJson(changed), R"({"event":"output","levels":{"1":255,"300":254,"512":7},)" +
                                      relays + R"(,"dimmers":[10,0,0,0,0,0,0,80]})");
}

} // namespace
} // namespace rz::sim
