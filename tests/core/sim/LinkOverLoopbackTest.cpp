// The PC's link talking to the simulated controller through the loopback transport, with
// the fake clock: what a core test of a later feature will do.
#include "SimTestSupport.h"
#include "core/link/Link.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

struct HandshakeCase {
    const char* name;
    FaultPolicy faults;
    uint32_t baud;
    bool answered;
    uint32_t elapsedMs; // fake time the wait took
};

FaultPolicy delayed(uint32_t ms)
{
    FaultPolicy p;
    p.delayMs = ms;
    return p;
}

FaultPolicy splitInto(std::size_t bytes)
{
    FaultPolicy p;
    p.splitBytes = bytes;
    return p;
}

FaultPolicy corrupted()
{
    FaultPolicy p;
    p.corruptShare = 1.0;
    return p;
}

const HandshakeCase kHandshakeCases[] = {
    {"Immediate", {}, 0, true, 0},
    // 8 bytes out and 8 back at 115200 baud: 1.4 ms, seen at the 2nd ms.
    {"OverTheLine", {}, kLinkBaud, true, 2},
    {"SplitIntoSingleBytes", splitInto(1), kLinkBaud, true, 2},
    {"DelayedWithinTheTimeOut", delayed(999), 0, true, 999},
    // The wait gives up once more than 1000 ms have passed.
    {"DelayedPastTheTimeOut", delayed(1002), 0, false, 1001},
    {"Corrupted", corrupted(), 0, false, 1001},
};

class HandshakeOverLoopback : public ::testing::TestWithParam<HandshakeCase> {};

TEST_P(HandshakeOverLoopback, WaitReplySeesTheAnswerAsTheLineAndFaultsAllow)
{
    const HandshakeCase& c = GetParam();
    rz::test::FakeClock clock(5000);
    rz::test::FakeYield yield(clock);
    Controller controller(clock, c.faults);
    LoopbackTransport transport(controller, clock, c.baud);
    link::Link link(clock, yield);
    link.setTransport(&transport);

    link.send(0xC0, {});
    const uint32_t start = clock.nowMs();
    EXPECT_EQ(link.waitReply(0xC0, link::kConnectReplyTimeoutMs), c.answered);
    EXPECT_EQ(clock.nowMs() - start, c.elapsedMs);
    EXPECT_EQ(controller.handshake().handshakes(), 1u);
    link.setTransport(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Faults, HandshakeOverLoopback, ::testing::ValuesIn(kHandshakeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinkOverLoopback, DroppedFirstReplyFailsOneHandshakeOnly)
{
    rz::test::FakeClock clock;
    rz::test::FakeYield yield(clock);
    FaultPolicy p;
    p.dropNth = 1;
    Controller controller(clock, p);
    LoopbackTransport transport(controller, clock, kLinkBaud);
    link::Link link(clock, yield);
    link.setTransport(&transport);

    link.send(0xC0, {});
    EXPECT_FALSE(link.waitReply(0xC0, link::kConnectReplyTimeoutMs));
    link.send(0xC0, {});
    EXPECT_TRUE(link.waitReply(0xC0, link::kConnectReplyTimeoutMs));
    link.setTransport(nullptr);
}

} // namespace
} // namespace rz::sim
