// The Wi-Fi transport against a stand-in controller socket on 127.0.0.1.
#include "FrameCollector.h"
#include "Waiting.h"
#include "io/UdpTransport.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace rz::test {
namespace {

QByteArray asBytes(const std::vector<uint8_t>& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

class UdpTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(controller.bind(QHostAddress::LocalHost, 0));
        udp.configure(QStringLiteral("127.0.0.1"), QString::number(controller.localPort()));
        ASSERT_TRUE(udp.isOpen());
        collector.attach(udp);
    }

    // Waits for the next datagram at the controller.
    QNetworkDatagram nextAtController()
    {
        if (!waitUntil([&] { return controller.hasPendingDatagrams(); }))
            return {};
        return controller.receiveDatagram();
    }

    // The controller answers the transport's current local port.
    void controllerSends(const std::vector<uint8_t>& bytes)
    {
        controller.writeDatagram(asBytes(bytes), QHostAddress::LocalHost, udp.localPort());
    }

    QUdpSocket controller;
    io::UdpTransport udp;
    FrameCollector collector;
};

TEST_F(UdpTransportTest, EachFrameLeavesAsOneDatagram)
{
    const auto first = frameBytes(0xC0);
    const auto second = frameBytes(0xCE, {0x13});
    udp.write(first);
    udp.write(second);
    EXPECT_EQ(nextAtController().data(), asBytes(first));
    EXPECT_EQ(nextAtController().data(), asBytes(second));
}

TEST_F(UdpTransportTest, EveryQueuedReplyReachesTheLink)
{
    udp.write(frameBytes(0xC0)); // creates the socket the controller answers
    ASSERT_TRUE(nextAtController().isValid());

    // Two frames in one datagram, and a second datagram queued behind it before the
    // transport reads anything.
    controllerSends(joined(frameBytes(0xC0), frameBytes(0xCE, {0x19, 0x05})));
    controllerSends(frameBytes(0xD8, {0x50}));
    ASSERT_TRUE(waitUntil([&] { return collector.frames.size() >= 3; }));
    const std::vector<CollectedFrame> expected{{0xC0, {}}, {0xCE, {0x19, 0x05}}, {0xD8, {0x50}}};
    EXPECT_EQ(collector.frames, expected);
}

TEST_F(UdpTransportTest, DatagramsFromAnyoneButTheControllerAreIgnored)
{
    udp.write(frameBytes(0xC0));
    ASSERT_TRUE(nextAtController().isValid());

    struct Sender {
        const char* what;
        QHostAddress address;
        quint16 port;
    } senders[] = {
        {"same address, other port", QHostAddress::LocalHost, 0},
        {"other address, controller's port", QHostAddress(QStringLiteral("127.0.0.2")), controller.localPort()},
    };
    for (const Sender& s : senders) {
        SCOPED_TRACE(s.what);
        QUdpSocket intruder;
        ASSERT_TRUE(intruder.bind(s.address, s.port));
        intruder.writeDatagram(asBytes(frameBytes(0xF2, {0x66})), QHostAddress::LocalHost, udp.localPort());
        // The controller's own frame is queued behind the intruder's: once it is through,
        // the intruder's datagram has been read too.
        const auto before = collector.frames.size();
        controllerSends(frameBytes(0xC0));
        ASSERT_TRUE(waitUntil([&] { return collector.frames.size() > before; }));
        ASSERT_EQ(collector.frames.size(), before + 1);
        EXPECT_EQ(collector.frames.back().command, 0xC0);
    }
}

TEST_F(UdpTransportTest, ReopenSendsFromAFreshSocketThatStillHearsReplies)
{
    udp.write(frameBytes(0xC0));
    ASSERT_TRUE(nextAtController().isValid());
    udp.reopen();
    EXPECT_EQ(udp.localPort(), 0) << "the socket is gone until the next send";
    EXPECT_TRUE(udp.isOpen());

    udp.write(frameBytes(0xC0));
    const QNetworkDatagram d = nextAtController();
    ASSERT_TRUE(d.isValid());
    EXPECT_EQ(d.senderPort(), udp.localPort());
    controllerSends(frameBytes(0xC0));
    EXPECT_TRUE(waitUntil([&] { return collector.frames.size() == 1; }));
}

TEST_F(UdpTransportTest, HostNameIsLookedUp)
{
    udp.configure(QStringLiteral("localhost"), QString::number(controller.localPort()));
    ASSERT_TRUE(waitUntil([&] { return udp.isConfigured(); }));
    const auto frame = frameBytes(0xC0);
    udp.write(frame);
    EXPECT_EQ(nextAtController().data(), asBytes(frame));
}

TEST(UdpTransportSettings, NothingLeavesWithoutAddressAndPort)
{
    struct Case {
        const char* host;
        const char* port;
    } cases[] = {
        {"", "5000"}, {"127.0.0.1", ""}, {"127.0.0.1", "0"}, {"127.0.0.1", "65536"},
        {"127.0.0.1", "50x"}, {"127.0.0.1", "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.host) + ":" + c.port);
        io::UdpTransport udp;
        udp.configure(QString::fromLatin1(c.host), QString::fromLatin1(c.port));
        EXPECT_FALSE(udp.isOpen());
        udp.write(frameBytes(0xC0));
        EXPECT_EQ(udp.localPort(), 0) << "no socket was made, so nothing was sent";
    }
    io::UdpTransport configured;
    configured.configure(QStringLiteral("127.0.0.1"), QStringLiteral(" 5000 "));
    EXPECT_EQ(configured.controllerPort(), 5000);
    configured.write({});
    EXPECT_EQ(configured.localPort(), 0) << "an empty frame sends nothing";
}

} // namespace
} // namespace rz::test
