// The simulator program's room functions over UDP: infrared reception and air-conditioner
// learning, driven by frames from a plain socket and by JSON lines on its standard input.
#include "SimProcess.h"
#include "Waiting.h"
#include "core/link/Frame.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace rz::test {
namespace {

class SimRoomInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.start({"--udp", "127.0.0.1:0", "--events"})) << sim.transcript();
        ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    }
    void send(uint8_t command, std::vector<uint8_t> payload)
    {
        const auto frame = link::buildFrame(command, payload);
        socket.writeDatagram(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()),
                             QHostAddress::LocalHost, sim.udpPort());
    }
    // The next datagram from the simulator, as received.
    std::vector<uint8_t> nextDatagram()
    {
        if (!waitUntil([this] { return socket.hasPendingDatagrams(); }))
            return {};
        const QByteArray d = socket.receiveDatagram().data();
        return {d.begin(), d.end()};
    }
    bool roomEvent(const char* function)
    {
        return sim.waitForEvent([function](const QJsonObject& e) {
            return e.value("event") == "room" && e.value("function") == function;
        }).has_value();
    }

    SimProcess sim;
    QUdpSocket socket;
};

TEST_F(SimRoomInputTest, InjectedInfraredCodeIsReportedWhileReceptionIsOn)
{
    // Before reception is on the code is ignored; the controller's first datagram teaches it
    // where the PC is.
    send(0xCE, {0x50, 0x01});
    ASSERT_TRUE(roomEvent("infraredReceptionOn")) << sim.transcript();
    sim.writeInput("{\"cmd\":\"infrared\",\"code\":\"11 22 33 4A\"}\n");
    EXPECT_EQ(nextDatagram(), link::buildFrame(0xCE, std::vector<uint8_t>{0x50, 0x66, 0x11, 0x22, 0x33, 0x4A}));

    send(0xCE, {0x50, 0x00});
    ASSERT_TRUE(roomEvent("infraredReceptionOff"));
    sim.writeInput("{\"cmd\":\"infrared\",\"code\":\"01 02 03 04\"}\n");
    ASSERT_TRUE(roomEvent("infraredCodeIgnored"));
    EXPECT_FALSE(socket.hasPendingDatagrams());
}

TEST_F(SimRoomInputTest, LearnRequestIsReportedAsLearned)
{
    send(0xCE, {0x24, 0x02, 0x03});
    EXPECT_EQ(nextDatagram(), link::buildFrame(0xCE, std::vector<uint8_t>{0x24, 0x02, 0x03}));
    ASSERT_TRUE(roomEvent("airConLearned"));

    // Without automatic learning the report waits for the remote control.
    sim.writeInput("{\"cmd\":\"autoLearn\",\"on\":false}\n");
    ASSERT_TRUE(sim.waitForEvent([](const QJsonObject& e) { return e.value("event") == "input" && e.value("ok") == true; }));
    send(0xCE, {0x24, 0x02, 0x05});
    ASSERT_TRUE(sim.waitForEvent([](const QJsonObject& e) {
        return e.value("function") == "airConLearning" && e.value("payload") == "05";
    }));
    EXPECT_FALSE(socket.hasPendingDatagrams());
    sim.writeInput("{\"cmd\":\"airConLearned\"}\n");
    EXPECT_EQ(nextDatagram(), link::buildFrame(0xCE, std::vector<uint8_t>{0x24, 0x02, 0x05}));

    send(0xCE, {0x24, 0x01, 0x06});
    EXPECT_TRUE(roomEvent("airConTestSent"));
    send(0xCE, {0x24, 0x04});
    EXPECT_TRUE(roomEvent("airConLearnStopped"));
}

TEST_F(SimRoomInputTest, InjectedFrameGoesOutAndBadLinesChangeNothing)
{
    send(0xC0, {});
    ASSERT_FALSE(nextDatagram().empty());
    sim.writeInput("not json\n{\"cmd\":\"infrared\",\"code\":\"11 22\"}\n{\"cmd\":\"frame\",\"command\":\"CE\",\"payload\":\"19 01 02\"}\n");
    EXPECT_EQ(nextDatagram(), link::buildFrame(0xCE, std::vector<uint8_t>{0x19, 0x01, 0x02}));
    const auto refused = sim.waitForEvent([](const QJsonObject& e) { return e.value("ok") == false; });
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->value("error").toString().startsWith("not a JSON object"));
    EXPECT_EQ(std::count_if(sim.events().begin(), sim.events().end(),
                            [](const QJsonObject& e) { return e.value("ok") == false; }),
              2);
}

} // namespace
} // namespace rz::test
