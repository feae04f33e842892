// The Qt opener behind the connection manager, without a simulator.
#include "FrameCollector.h"
#include "Waiting.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "io/QtTransportOpener.h"
#include "support/Fakes.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace rz::test {
namespace {

std::u16string number(quint16 n)
{
    return QString::number(n).toStdU16String();
}

TEST(QtTransportOpener, WifiReadsTheSystemFileOnceAndEachOpenStartsAFreshSocket)
{
    TempDir root;
    const SettingsPaths paths = settingsPaths(root.path());
    QUdpSocket controller;
    ASSERT_TRUE(controller.bind(QHostAddress::LocalHost, 0));
    writeKey(paths.system, keys::kWifiIp, u"127.0.0.1");
    writeKey(paths.system, keys::kWifiPort, number(controller.localPort()));

    std::vector<std::u16string> boxes;
    io::QtTransportOpener opener(paths.system, {[&](const std::u16string& t) { boxes.push_back(t); }, {}});
    const quint16 testPort = freeUdpPort();
    opener.setLocalTestPort(testPort);

    link::Transport* wifi = opener.openWifi();
    ASSERT_NE(wifi, nullptr);
    EXPECT_TRUE(wifi->isOpen());
    EXPECT_TRUE(opener.localTestSocket().isBound());
    wifi->write(frameBytes(0xC0));
    ASSERT_TRUE(waitUntil([&] { return controller.hasPendingDatagrams(); }));
    controller.receiveDatagram();

    // The address is read once per run; a later open only renews the socket.
    writeKey(paths.system, keys::kWifiPort, u"1");
    EXPECT_EQ(opener.openWifi(), wifi);
    EXPECT_EQ(opener.wifiTransport().localPort(), 0);
    wifi->write(frameBytes(0xC0));
    ASSERT_TRUE(waitUntil([&] { return controller.hasPendingDatagrams(); }));
    EXPECT_EQ(controller.receiveDatagram().senderPort(), opener.wifiTransport().localPort());

    opener.closeWifi();
    EXPECT_FALSE(opener.localTestSocket().isBound());
    EXPECT_TRUE(boxes.empty());
}

TEST(QtTransportOpener, WifiWithoutSettingsSendsNothing)
{
    TempDir root;
    io::QtTransportOpener opener(settingsPaths(root.path()).system, {});
    opener.setLocalTestPort(freeUdpPort());
    link::Transport* wifi = opener.openWifi();
    ASSERT_NE(wifi, nullptr);
    EXPECT_FALSE(wifi->isOpen());
    wifi->write(frameBytes(0xC0));
    EXPECT_EQ(opener.wifiTransport().localPort(), 0);
}

TEST(QtTransportOpener, SerialPortThatCannotOpenStillGivesTheTransport)
{
    TempDir root;
    io::QtTransportOpener opener(settingsPaths(root.path()).system, {});
    struct Case {
        std::u16string kind;
        QString port;
    } cases[] = {
        {u"250", QStringLiteral("COM250")},
        {(root / "no-such-port").u16string(), QString::fromStdString((root / "no-such-port").string())},
    };
    for (const Case& c : cases) {
        link::Transport* serial = opener.openSerial(c.kind);
        ASSERT_NE(serial, nullptr);
        EXPECT_FALSE(serial->isOpen());
        EXPECT_EQ(opener.serialTransport().portName(), c.port);
        serial->write(frameBytes(0xC0));
    }
    opener.closeSerial();
}

} // namespace
} // namespace rz::test
