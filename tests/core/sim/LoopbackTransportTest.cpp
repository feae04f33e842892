#include "SimTestSupport.h"
#include "support/Fakes.h"
#include "sim/LoopbackTransport.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

using test::frame;

// What a PC-side user of the transport sees.
struct Pc {
    explicit Pc(link::Transport& t)
    {
        t.setReceiver([this](std::span<const uint8_t> b) {
            deliveries.emplace_back(b.begin(), b.end());
            bytes.insert(bytes.end(), b.begin(), b.end());
        });
    }
    std::vector<std::vector<uint8_t>> deliveries;
    std::vector<uint8_t> bytes;
};

TEST(LoopbackTransport, WithoutLineSpeedTheReplyArrivesAtTheNextPoll)
{
    rz::test::FakeClock clock;
    Controller controller(clock);
    LoopbackTransport transport(controller, clock);
    Pc pc(transport);

    transport.write(frame(0xC0));
    EXPECT_EQ(controller.handshake().handshakes(), 1u) << "the controller has the frame at once";
    EXPECT_TRUE(pc.bytes.empty()) << "nothing is delivered from inside write()";
    transport.poll();
    EXPECT_EQ(pc.bytes, frame(0xC0));
}

TEST(LoopbackTransport, SplitRepliesArriveAsSeparateDeliveries)
{
    rz::test::FakeClock clock;
    FaultPolicy p;
    p.splitBytes = 1;
    Controller controller(clock, p);
    LoopbackTransport transport(controller, clock);
    Pc pc(transport);
    transport.write(frame(0xC0));
    transport.poll();
    EXPECT_EQ(pc.deliveries.size(), 8u);
    EXPECT_EQ(pc.bytes, frame(0xC0));
}

TEST(LoopbackTransport, ClosedTransportNeitherSendsNorHears)
{
    rz::test::FakeClock clock;
    Controller controller(clock);
    LoopbackTransport transport(controller, clock);
    Pc pc(transport);
    transport.setOpen(false);
    transport.write(frame(0xC0));
    transport.poll();
    EXPECT_EQ(controller.counters().goodFrames, 0u);
    EXPECT_TRUE(pc.bytes.empty());
}

TEST(LoopbackTransport, HandshakeOverTheLineTakesTheWireTimeBothWays)
{
    rz::test::FakeClock clock(0xFFFFFFFEu); // line time is wrap-safe
    Controller controller(clock);
    LoopbackTransport transport(controller, clock, kLinkBaud);
    Pc pc(transport);

    // 8 bytes each way at 115200 baud, 10 bits a byte: 0.69 ms out, 0.69 ms back.
    transport.write(frame(0xC0));
    transport.poll();
    EXPECT_EQ(controller.counters().goodFrames, 0u);
    clock.advance(1);
    transport.poll();
    EXPECT_EQ(controller.handshake().handshakes(), 1u);
    EXPECT_TRUE(pc.bytes.empty());
    clock.advance(1);
    transport.poll();
    EXPECT_EQ(pc.bytes, frame(0xC0));
    EXPECT_TRUE(transport.quiet());
}

TEST(SerialLine, BytesCrossAtTenBitsPerByteAndQueueBehindEachOther)
{
    SerialLine line(kLinkBaud);
    const std::vector<uint8_t> first(1000, 0x11), second(200, 0x22);
    line.push(first, 0);
    line.push(second, 0); // waits for the first: the line carries one byte at a time

    // 1000 bytes take 86.8 ms; 1200 bytes take 104.2 ms.
    EXPECT_EQ(line.wireTimeNs(1000), 86'805'556u);
    size_t got = 0;
    for (uint32_t t = 0; t <= 86; ++t)
        for (const auto& piece : line.take(t))
            got += piece.size();
    EXPECT_EQ(got, 990u); // 86 ms carry 990.72 bytes
    EXPECT_EQ(line.msUntilNext(86, true), 1u);
    auto at87 = line.take(87);
    ASSERT_EQ(at87.size(), 2u) << "the first piece completes, the second has begun";
    EXPECT_EQ(got + at87[0].size(), first.size());

    EXPECT_TRUE(line.take(104, true).empty()) << "a whole piece is not there before its end";
    EXPECT_EQ(line.msUntilNext(104, true), 1u);
    const auto at105 = line.take(105, true);
    ASSERT_EQ(at105.size(), 1u);
    EXPECT_EQ(at105[0].size() + at87[1].size(), second.size());
    EXPECT_TRUE(line.idle());
}

TEST(SerialLine, SpeedZeroPassesEverythingAtOnce)
{
    SerialLine line(0);
    line.push(std::vector<uint8_t>(5000, 1), 10);
    const auto out = line.take(10);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].size(), 5000u);
    EXPECT_FALSE(line.msUntilNext(10));
}

} // namespace
} // namespace rz::sim
