// The real transports and the link against the controller simulator program: over a
// pseudo-terminal (serial) and over UDP on 127.0.0.1.
#include "PseudoTerminal.h"
#include "SimProcess.h"
#include "Waiting.h"
#include "core/link/Commands.h"
#include "core/link/Link.h"
#include "core/liveout/LiveFrame.h"
#include "io/QtSeams.h"
#include "io/SerialTransport.h"
#include "io/UdpTransport.h"
#include "support/Fakes.h"

#include <QJsonArray>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace rz::test {
namespace {

// Generous: only a hung simulator should ever reach it.
constexpr uint32_t kReplyDeadlineMs = 10000;

enum class Line { Serial, Udp };

std::string lineName(const ::testing::TestParamInfo<Line>& info)
{
    return info.param == Line::Serial ? "Serial" : "Udp";
}

// One live frame as the PC sends it and the controller should output it.
struct LiveCase {
    liveout::DmxFrame levels{};
    liveout::RoomOutputs room;
};

// A stream whose frames differ in every part: moving levels (0xFE among them, which the
// packing escapes), long zero runs, single zeros between levels, relays, with and without
// the dimmer block.
std::vector<LiveCase> liveStream(int frames)
{
    std::vector<LiveCase> stream;
    for (int k = 0; k < frames; ++k) {
        LiveCase c;
        c.levels[1] = static_cast<uint8_t>(k + 1);
        c.levels[2 + (k * 37) % 500] = 0xFE;
        c.levels[100] = 0x10;
        c.levels[102] = 0x20; // a single zero at 101 in between
        c.levels[512] = static_cast<uint8_t>(255 - k);
        c.room.sceneRelays[1 + k % liveout::kRelayCount] = 1;
        c.room.sceneRelays[24] = 1;
        c.room.thyristorDimming = k % 2 == 1;
        for (int d = 1; d <= liveout::kDimmerCount; ++d)
            c.room.dimmers[d] = static_cast<uint8_t>(d * 30 + k);
        stream.push_back(c);
    }
    return stream;
}

// What the simulator should report for a frame: the non-zero levels, the relays, the
// dimmers or null.
QJsonObject expectedOutput(const LiveCase& c)
{
    QJsonObject levels;
    for (int a = 1; a <= liveout::kSentAddresses; ++a) {
        if (c.levels[a] != 0)
            levels.insert(QString::number(a), c.levels[a]);
    }
    QJsonArray relays;
    for (int j = 1; j <= liveout::kRelayCount; ++j)
        relays.append(c.room.sceneRelays[j]);
    QJsonValue dimmers = QJsonValue::Null;
    if (c.room.thyristorDimming) {
        QJsonArray d;
        for (int i = 1; i <= liveout::kDimmerCount; ++i)
            d.append(c.room.dimmers[i]);
        dimmers = d;
    }
    return {{"levels", levels}, {"relays", relays}, {"dimmers", dimmers}};
}

QJsonObject reportedOutput(const QJsonObject& event)
{
    return {{"levels", event.value("levels")},
            {"relays", event.value("relays")},
            {"dimmers", event.value("dimmers")}};
}

class SimLinkFixture : public ::testing::Test {
protected:
    // Starts the simulator on the line (at the real line speed for serial) with any further
    // options, and opens the matching transport.
    void startLine(Line line, const QStringList& options = {})
    {
        if (line == Line::Serial) {
#if RZ_HAS_PTY
            const QString pty = QString::fromStdString((dir / "controller").string());
            ASSERT_TRUE(sim.start(QStringList{"--pty", pty, "--events", "--baud", "115200"} + options))
                << sim.transcript();
            auto port = std::make_unique<io::SerialTransport>();
            ASSERT_TRUE(port->open(pty)) << port->errorText().toStdString();
            transport = std::move(port);
#else
            GTEST_SKIP() << "no pseudo-terminals here";
#endif
        } else {
            ASSERT_TRUE(sim.start(QStringList{"--udp", "127.0.0.1:0", "--events"} + options))
                << sim.transcript();
            const quint16 simPort = sim.udpPort();
            ASSERT_NE(simPort, 0) << sim.transcript();
            auto socket = std::make_unique<io::UdpTransport>();
            socket->configure(QStringLiteral("127.0.0.1"), QString::number(simPort));
            udp = socket.get();
            transport = std::move(socket);
        }
        link.setTransport(transport.get());
        link.setReceiver(link::Link::ReceiverSlot::FrameCounter,
                         [this](uint8_t command, std::span<const uint8_t>) { dispatched.push_back(command); });
    }

    void TearDown() override { link.setTransport(nullptr); }

    TempDir dir;
    SimProcess sim;
    io::QtClock clock;
    io::QtYield yield;
    link::Link link{clock, yield};
    std::unique_ptr<link::Transport> transport;
    io::UdpTransport* udp = nullptr;
    std::vector<uint8_t> dispatched;
};

class SimLinkTest : public SimLinkFixture, public ::testing::WithParamInterface<Line> {
protected:
    void SetUp() override { startLine(GetParam()); }
};

// Replies cut into 3-byte pieces: separate reads on the serial line, separate datagrams on UDP.
class SimSplitReplyTest : public SimLinkFixture, public ::testing::WithParamInterface<Line> {
protected:
    void SetUp() override { startLine(GetParam(), {"--split", "3"}); }
};

class SimUdpLinkTest : public SimLinkFixture {
protected:
    void SetUp() override { startLine(Line::Udp); }
};

TEST_P(SimLinkTest, HandshakeIsAnswered)
{
    link.send(link::cmd::kConnect, {});
    ASSERT_TRUE(link.waitReply(link::cmd::kConnect, kReplyDeadlineMs)) << sim.transcript();
    EXPECT_TRUE(sim.waitForEvent(eventIs("handshake"))) << sim.transcript();
    EXPECT_EQ(std::count(dispatched.begin(), dispatched.end(), link::cmd::kConnect), 1);

    // The disconnect: C4 restarts the controller, and nothing answers it.
    link.send(link::cmd::kRestart, {});
    EXPECT_TRUE(sim.waitForEvent(eventIs("restart"))) << sim.transcript();
}

TEST_P(SimLinkTest, StreamOfLiveFramesIsDecoded)
{
    link.send(link::cmd::kConnect, {});
    ASSERT_TRUE(link.waitReply(link::cmd::kConnect, kReplyDeadlineMs)) << sim.transcript();

    const auto stream = liveStream(24);
    for (const LiveCase& c : stream) {
        const auto raw = liveout::buildRawLiveFrame(c.levels, c.room);
        link.send(liveout::kLiveFrameCommand, liveout::liveFramePayload(raw));
    }

    auto liveEvents = [&] {
        std::vector<QJsonObject> found;
        for (const QJsonObject& e : sim.events()) {
            if (eventIs("frame", "60")(e))
                found.push_back(e);
        }
        return found;
    };
    ASSERT_TRUE(waitUntil([&] { return liveEvents().size() >= stream.size(); })) << sim.transcript();
    const auto events = liveEvents();
    ASSERT_EQ(events.size(), stream.size());
    for (std::size_t k = 0; k < stream.size(); ++k) {
        SCOPED_TRACE("live frame " + std::to_string(k));
        EXPECT_EQ(reportedOutput(events[k]), expectedOutput(stream[k]));
    }
    for (const QJsonObject& e : sim.events()) {
        EXPECT_FALSE(eventIs("dropped")(e)) << "the simulator threw a frame away";
        EXPECT_FALSE(eventIs("liveRejected")(e)) << "the simulator could not unpack a frame";
    }
}

TEST_F(SimUdpLinkTest, ForeignDatagramIsNotTakenForAReply)
{
    link.send(link::cmd::kConnect, {});
    ASSERT_TRUE(link.waitReply(link::cmd::kConnect, kReplyDeadlineMs)) << sim.transcript();

    std::vector<std::vector<uint8_t>> connectPayloads;
    link.setReceiver(link::Link::ReceiverSlot::TestPanel, [&](uint8_t command, std::span<const uint8_t> p) {
        if (command == link::cmd::kConnect)
            connectPayloads.emplace_back(p.begin(), p.end());
    });
    // A stranger sends a well-formed C0 (marked EE) to the tool's socket; the controller's
    // own answer to the next C0 is queued behind it, so once that answer is in, the
    // stranger's datagram has been read too.
    QUdpSocket stranger;
    const auto fake = link::buildFrame(link::cmd::kConnect, std::vector<uint8_t>{0xEE});
    stranger.writeDatagram(reinterpret_cast<const char*>(fake.data()), static_cast<qint64>(fake.size()),
                           QHostAddress::LocalHost, udp->localPort());
    link.send(link::cmd::kConnect, {});
    auto controllerAnswered = [&] {
        return std::find(connectPayloads.begin(), connectPayloads.end(), std::vector<uint8_t>{}) != connectPayloads.end();
    };
    ASSERT_TRUE(waitUntil(controllerAnswered)) << sim.transcript();
    EXPECT_EQ(connectPayloads, std::vector<std::vector<uint8_t>>{{}}) << "only the controller's answer counts";
}

// The tool streams the same frame ten times a second while nothing changes: the log holds a
// live frame only when the output changes, unless every frame is asked for.
class SimLiveLogTest : public SimLinkFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { startLine(Line::Udp, GetParam() ? QStringList{"--every-live-frame"} : QStringList{}); }
};

TEST_P(SimLiveLogTest, RepeatedLiveFramesAreLoggedOnceUnlessEveryFrameIsAsked)
{
    const bool every = GetParam();
    {
        const auto stream = liveStream(2);
        const std::vector<LiveCase> sent{stream[0], stream[0], stream[0], stream[1], stream[1]};
        for (const LiveCase& c : sent)
            link.send(liveout::kLiveFrameCommand,
                      liveout::liveFramePayload(liveout::buildRawLiveFrame(c.levels, c.room)));
        // A handshake behind the frames: once it is answered, every frame has been logged.
        link.send(link::cmd::kConnect, {});
        ASSERT_TRUE(link.waitReply(link::cmd::kConnect, kReplyDeadlineMs)) << sim.transcript();
        ASSERT_TRUE(sim.waitForEvent(eventIs("handshake"))) << sim.transcript();
        std::vector<QJsonObject> logged;
        for (const QJsonObject& e : sim.events())
            if (eventIs("frame", "60")(e))
                logged.push_back(e);
        ASSERT_EQ(logged.size(), every ? sent.size() : 2u) << sim.transcript();
        EXPECT_EQ(reportedOutput(logged.back()), expectedOutput(stream[1]));
    }
}

TEST_P(SimSplitReplyTest, ReplyInPiecesIsAssembled)
{
    for (int i = 0; i < 3; ++i) {
        link.send(link::cmd::kConnect, {});
        ASSERT_TRUE(link.waitReply(link::cmd::kConnect, kReplyDeadlineMs)) << sim.transcript();
    }
    EXPECT_EQ(link.receivedByteCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Lines, SimLinkTest, ::testing::Values(Line::Serial, Line::Udp), lineName);
INSTANTIATE_TEST_SUITE_P(Lines, SimSplitReplyTest, ::testing::Values(Line::Serial, Line::Udp), lineName);
INSTANTIATE_TEST_SUITE_P(EveryFrame, SimLiveLogTest, ::testing::Bool());

} // namespace
} // namespace rz::test
