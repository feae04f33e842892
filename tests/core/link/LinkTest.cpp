#include "core/link/Link.h"

#include "FakeTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz;
using namespace rz::link;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes frame(uint8_t command, Bytes payload = {})
{
    return buildFrame(command, payload);
}

class LinkTest : public ::testing::Test {
protected:
    LinkTest() { link.setTransport(&transport); }
    ~LinkTest() override { link.setTransport(nullptr); }

    test::FakeClock clock{1000};
    test::FakeYield yield{clock};
    test::FakeTransport transport;
    Link link{clock, yield};
};

} // namespace

TEST_F(LinkTest, SendWritesTheFrameKeepsItsTextAndCountsIt)
{
    int counted = 0;
    link.onFrameSent = [&] { ++counted; };
    link.send(0xC4, {});
    ASSERT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(hexText(transport.writes[0]), "FAF5AA550008C44C");
    EXPECT_EQ(link.lastSentFrameText(), "FAF5AA550008C44C");
    EXPECT_EQ(counted, 1);

    // Without a transport nothing leaves, but the frame is still built and counted.
    link.setTransport(nullptr);
    const Bytes payload{0x13};
    link.send(0xCE, payload);
    EXPECT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(link.lastSentFrameText(), "FAF5AA550009CE136A");
    EXPECT_EQ(counted, 2);
}

TEST_F(LinkTest, PayloadLongerThanTheSendBufferIsRefused)
{
    int counted = 0;
    link.onFrameSent = [&] { ++counted; };
    link.send(0xD1, Bytes(kMaxSendPayload, 0xAB));
    EXPECT_EQ(transport.writes.back().size(), kMaxSendPayload + 8);
    link.send(0xD1, Bytes(kMaxSendPayload + 1, 0xAB));
    EXPECT_EQ(transport.writes.size(), 1u);
    EXPECT_EQ(counted, 1);
    EXPECT_EQ(link.lastSentFrameText().size(), (kMaxSendPayload + 8) * 2);
}

TEST_F(LinkTest, SendSaysWhetherTheFrameWentOrWasRefused)
{
    EXPECT_EQ(link.send(0xD1, Bytes(kMaxSendPayload, 0x01)), SendStatus::sent);
    EXPECT_EQ(link.send(0xD1, Bytes(kMaxSendPayload + 1, 0x01)), SendStatus::payloadTooLong);
    EXPECT_EQ(link.send(0xD1, Bytes(0xFFFF, 0x01)), SendStatus::payloadTooLong);
    EXPECT_EQ(transport.writes.size(), 1u);
}

TEST_F(LinkTest, SendTextWritesReadyMadeFramesUncheckedAndUncounted)
{
    struct Case {
        const char* text;
        std::optional<Bytes> written;
    } cases[] = {
        {"FAF5AA55 0009 CE14 6B", Bytes{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x09, 0xCE, 0x14, 0x6B}},
        {"FAF5AA55 0009 CE14 00", Bytes{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x09, 0xCE, 0x14, 0x00}},
        {"", std::nullopt},
        {"FAF5A", std::nullopt},    // half a byte
        {"FAF5 ZZ", std::nullopt}, // not hexadecimal
    };
    int counted = 0;
    link.onFrameSent = [&] { ++counted; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        link.send(0xC1, {});
        transport.writes.clear();
        link.sendText(c.text);
        EXPECT_EQ(link.lastSentFrameText(), "");
        if (c.written) {
            ASSERT_EQ(transport.writes.size(), 1u);
            EXPECT_EQ(transport.writes[0], *c.written);
        } else {
            EXPECT_TRUE(transport.writes.empty());
        }
    }
    EXPECT_EQ(counted, static_cast<int>(std::size(cases))); // only the send() calls
}

TEST_F(LinkTest, DispatchCallsTheNineReceiversInOrderThenSetsTheLastFields)
{
    std::vector<int> order;
    std::vector<uint8_t> commandSeenBeforeUpdate;
    for (int slot = 1; slot <= Link::kReceiverSlots; ++slot) {
        link.setReceiver(static_cast<Link::ReceiverSlot>(slot),
                         [&, slot](uint8_t command, std::span<const uint8_t> payload) {
                             order.push_back(slot);
                             commandSeenBeforeUpdate.push_back(link.lastCommand());
                             EXPECT_EQ(command, 0xCE);
                             EXPECT_EQ(Bytes(payload.begin(), payload.end()), (Bytes{0x50, 0x66}));
                         });
    }
    transport.push(frame(0xCE, {0x50, 0x66}));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(commandSeenBeforeUpdate, std::vector<uint8_t>(9, 0)); // set only afterwards
    EXPECT_EQ(link.lastCommand(), 0xCE);
    EXPECT_EQ(link.lastFirstPayloadByte(), 0x50);
    EXPECT_EQ(link.lastPayloadLength(), 2u);
    EXPECT_EQ(Bytes(link.lastPayload().begin(), link.lastPayload().end()), (Bytes{0x50, 0x66}));
}

TEST_F(LinkTest, EmptyPayloadKeepsThePreviousFirstByte)
{
    transport.push(frame(0xCE, {0x21, 0x01}));
    transport.push(frame(0xC0));
    EXPECT_EQ(link.lastCommand(), 0xC0);
    EXPECT_EQ(link.lastFirstPayloadByte(), 0x21);
    EXPECT_EQ(link.lastPayloadLength(), 0u);
    EXPECT_TRUE(link.lastPayload().empty());
}

TEST_F(LinkTest, AReceiverMayReplaceItselfWhileRunning)
{
    int first = 0, second = 0;
    link.setReceiver(Link::ReceiverSlot::Rdm, [&](uint8_t, std::span<const uint8_t>) {
        ++first;
        link.setReceiver(Link::ReceiverSlot::Rdm, [&](uint8_t, std::span<const uint8_t>) { ++second; });
    });
    transport.push(frame(0xA0, {0xA1}));
    transport.push(frame(0xA0, {0xA1}));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

// An in-process controller answers inside write(); the answer must not be parsed in the
// middle of the frame being dispatched.
TEST_F(LinkTest, AnAnswerToASendFromAReceiverIsDispatchedAfterTheCurrentFrame)
{
    std::vector<std::pair<int, uint8_t>> events;
    transport.onWrite = [&](const Bytes& written) {
        if (written[6] == 0xD0)
            transport.push(frame(0xD0, {0x66}));
    };
    link.setReceiver(Link::ReceiverSlot::FileTransfer, [&](uint8_t command, std::span<const uint8_t>) {
        events.push_back({1, command});
        if (command == 0xCE)
            link.send(0xD0, {});
    });
    link.setReceiver(Link::ReceiverSlot::AirConditioner, [&](uint8_t command, std::span<const uint8_t> p) {
        events.push_back({9, command});
        if (command == 0xCE) {
            EXPECT_EQ(p[0], 0x24); // still the frame being dispatched
        }
    });
    transport.push(frame(0xCE, {0x24, 0x02}));
    EXPECT_EQ(events, (std::vector<std::pair<int, uint8_t>>{{1, 0xCE}, {9, 0xCE}, {1, 0xD0}, {9, 0xD0}}));
    EXPECT_EQ(link.lastCommand(), 0xD0);
}

TEST_F(LinkTest, EveryFrameOfOneLargeDeliveryIsDispatched)
{
    // 300 frames of 9 bytes exceed the 2000-byte buffer if appended in one go.
    Bytes stream;
    for (int i = 0; i < 300; ++i) {
        const Bytes f = frame(0xCE, {static_cast<uint8_t>(i)});
        stream.insert(stream.end(), f.begin(), f.end());
    }
    const Bytes garbage(1500, 0x00); // and more than one parse call's worth of garbage
    stream.insert(stream.begin(), garbage.begin(), garbage.end());
    std::vector<uint8_t> seen;
    link.setReceiver(Link::ReceiverSlot::TestPanel,
                     [&](uint8_t, std::span<const uint8_t> p) { seen.push_back(p[0]); });
    int logged = 0;
    link.onBytesReceived = [&](std::span<const uint8_t> b) { logged += static_cast<int>(b.size()); };
    transport.push(stream);
    ASSERT_EQ(seen.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(seen[i], static_cast<uint8_t>(i));
    EXPECT_EQ(logged, static_cast<int>(stream.size()));
}

TEST_F(LinkTest, WaitReplyReturnsWhenTheCommandArrives)
{
    transport.onPoll = {{}, {}, frame(0xCE, {0x21}), frame(0xC0)};
    int depthSeen = 0;
    yield.onYield = [&] { depthSeen = link.waitDepth(); };
    EXPECT_TRUE(link.waitReply(0xC0, kConnectReplyTimeoutMs));
    EXPECT_EQ(transport.polls, 4);
    EXPECT_EQ(depthSeen, 1);
    EXPECT_EQ(link.waitDepth(), 0);
}

TEST_F(LinkTest, WaitReplyTimesOutWhenOnlyOtherCodesArrive)
{
    for (int i = 0; i < 400; ++i)
        transport.onPoll.push_back(frame(0xCE, {0x13}));
    const uint32_t start = clock.now;
    EXPECT_FALSE(link.waitReply(0xD8, kTransferStatusTimeoutMs));
    EXPECT_EQ(clock.now - start, kTransferStatusTimeoutMs + 1); // one 1-ms yield past the limit
    EXPECT_EQ(link.lastCommand(), 0xCE);
}

TEST_F(LinkTest, OnlyAFrameDispatchedDuringTheWaitCounts)
{
    transport.push(frame(0xC0));
    EXPECT_FALSE(link.waitReply(0xC0, 20));
    EXPECT_EQ(link.lastCommand(), 0);
}

TEST_F(LinkTest, WaitReplyCodeJudgesTheFirstMatchingFrame)
{
    struct Case {
        const char* name;
        std::vector<Bytes> arriving;
        bool expected;
    } cases[] = {
        {"success code", {frame(0xD2, {0x66, 0x01})}, true},
        {"other code", {frame(0xD2, {0x55})}, false},
        {"other commands first", {frame(0xCE, {0x66}), frame(0xD2, {0x66})}, true},
        {"a later right code does not undo a wrong one", {frame(0xD2, {0x00}), frame(0xD2, {0x66})}, false},
        {"empty payload keeps the previous byte", {frame(0xCE, {0x66}), frame(0xD2)}, true},
        {"nothing arrives", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        transport.push(frame(0xCE, {0x00})); // a known previous first byte
        transport.onPoll.assign(c.arriving.begin(), c.arriving.end());
        EXPECT_EQ(link.waitReplyCode(0xD2, kTransferReplyTimeoutMs, kReplySuccess), c.expected);
        transport.onPoll.clear();
    }
}

// A reply that comes behind another frame in the same delivery is still seen.
TEST_F(LinkTest, AReplyFollowedByAnotherFrameInTheSameDeliveryCounts)
{
    Bytes both = frame(0xD1, {0x01});
    const Bytes other = frame(0xCE, {0x19, 0x00});
    both.insert(both.end(), other.begin(), other.end());
    transport.onPoll = {both};
    EXPECT_TRUE(link.waitReply(0xD1, kTransferStatusTimeoutMs));
}

// An event handler may wait inside another wait's yield. Both replies come during the inner
// wait; the outer one must still see its own.
TEST_F(LinkTest, NestedWaitsEachSeeTheirOwnReply)
{
    bool innerResult = false;
    int innerDepth = 0;
    bool innerRan = false;
    yield.onYield = [&] {
        if (innerRan)
            return;
        innerRan = true;
        transport.onPoll = {frame(0xC0), {}, frame(0xD0)};
        innerResult = link.waitReply(0xD0, kTransferReplyTimeoutMs);
        innerDepth = link.waitDepth();
    };
    EXPECT_TRUE(link.waitReply(0xC0, kConnectReplyTimeoutMs));
    EXPECT_TRUE(innerResult);
    EXPECT_EQ(innerDepth, 1); // back in the outer wait
    EXPECT_EQ(link.waitDepth(), 0);
}

TEST_F(LinkTest, WaitsSurviveTheClockWrap)
{
    clock.now = 0xFFFFFFF0u;
    EXPECT_FALSE(link.waitReply(0xC0, 100));
    EXPECT_EQ(clock.now, 0xFFFFFFF0u + 101u); // wrapped past 0 and kept waiting
}

TEST_F(LinkTest, DelayCountsAsAWait)
{
    int depthSeen = 0;
    yield.onYield = [&] { depthSeen = link.waitDepth(); };
    const uint32_t start = clock.now;
    link.delayMs(10);
    EXPECT_EQ(clock.now - start, 11u);
    EXPECT_EQ(depthSeen, 1);
    EXPECT_EQ(link.waitDepth(), 0);
}

// A receiver must not wait; if one does, it times out and nothing is lost or re-entered.
TEST_F(LinkTest, AWaitInsideAReceiverTimesOutAndLosesNothing)
{
    std::vector<uint8_t> seen;
    bool waited = false;
    link.setReceiver(Link::ReceiverSlot::FirmwareData, [&](uint8_t command, std::span<const uint8_t>) {
        seen.push_back(command);
        if (command == 0xF0 && !waited) {
            waited = true;
            transport.onPoll = {frame(0xF1)};
            EXPECT_FALSE(link.waitReply(0xF1, 5));
        }
    });
    transport.push(frame(0xF0));
    EXPECT_EQ(seen, (Bytes{0xF0, 0xF1}));
}

TEST_F(LinkTest, SwitchingTransportsMovesTheReceiver)
{
    test::FakeTransport other;
    link.setTransport(&other);
    transport.push(frame(0xC0));
    EXPECT_EQ(link.lastCommand(), 0);
    other.push(frame(0xC0));
    EXPECT_EQ(link.lastCommand(), 0xC0);
    link.send(0xC1, {});
    EXPECT_TRUE(transport.writes.empty());
    EXPECT_EQ(other.writes.size(), 1u);
    link.setTransport(nullptr);
}

TEST_F(LinkTest, AnAbandonedPartialFrameIsNotCompletedByLaterBytes)
{
    const Bytes f = frame(0xCE, {0x21, 0x01, 0x02});
    transport.push(Bytes(f.begin(), f.begin() + 7));
    EXPECT_EQ(link.receivedByteCount(), 7u);
    link.clearReceived(); // the line went quiet
    EXPECT_EQ(link.receivedByteCount(), 0u);
    transport.push(Bytes(f.begin() + 7, f.end()));
    transport.push(frame(0xC0));
    EXPECT_EQ(link.lastCommand(), 0xC0);
    EXPECT_EQ(link.receivedByteCount(), 0u);
}

TEST_F(LinkTest, APartialFrameQuietForOverASecondIsAbandonedByTheNextDelivery)
{
    // A cut-short datagram whose header promises 1200 bytes: without the rule the replies
    // behind it would fill that frame and fail its checksum.
    const Bytes cut{0xFA, 0xF5, 0xAA, 0x55, 0x04, 0xB0, 0xD4, 0x01};
    const struct {
        uint32_t quietMs;
        bool dispatched;
    } cases[] = {{kStalePartialFrameMs, false}, {kStalePartialFrameMs + 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quietMs);
        link.clearReceived();
        std::vector<uint8_t> commands;
        link.setReceiver(Link::ReceiverSlot::FrameCounter,
                         [&](uint8_t command, std::span<const uint8_t>) { commands.push_back(command); });
        transport.push(cut);
        clock.advance(c.quietMs);
        transport.push(frame(0xC0));
        EXPECT_EQ(commands == std::vector<uint8_t>{0xC0}, c.dispatched);
        EXPECT_EQ(link.receivedByteCount(), c.dispatched ? 0u : cut.size() + 8);
    }
}

TEST_F(LinkTest, AFrameSplitAcrossDeliveriesWithinTheQuietLimitIsWhole)
{
    const Bytes f = frame(0xCE, {0x21, 0x01, 0x02});
    transport.push(Bytes(f.begin(), f.begin() + 5));
    clock.advance(kStalePartialFrameMs);
    transport.push(Bytes(f.begin() + 5, f.end()));
    EXPECT_EQ(link.lastCommand(), 0xCE);
    EXPECT_EQ(link.receivedByteCount(), 0u);
}
