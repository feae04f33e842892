// The connection manager on the real transports: the saved choice opens the serial port or
// Wi-Fi through the Qt opener, and the button's handshake reaches the simulator.
#include "PseudoTerminal.h"
#include "SimProcess.h"
#include "Waiting.h"
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/link/ConnectionManager.h"
#include "io/QtSeams.h"
#include "io/QtTransportOpener.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::test {
namespace {

class RecordingView : public link::ConnectionView {
public:
    void showKinds(const std::vector<std::u16string>& k, const std::u16string& t) override
    {
        kinds = k;
        text = t;
    }
    void showButton(const link::ConnectionButtonLook& look) override { button = look; }
    void setButtonEnabled(bool enabled) override { buttonEnabled = enabled; }
    void showCounters(const std::u16string& t) override { counters = t; }

    std::vector<std::u16string> kinds;
    std::u16string text;
    link::ConnectionButtonLook button;
    bool buttonEnabled = true;
    std::u16string counters;
};

enum class Line { Serial, Udp };

std::u16string u16(const QString& s)
{
    return s.toStdU16String();
}

class ConnectionTest : public ::testing::TestWithParam<Line> {
protected:
    void SetUp() override
    {
        opener.setLocalTestPort(freeUdpPort());
        if (GetParam() == Line::Serial) {
#if RZ_HAS_PTY
            const QString pty = QString::fromStdString((root / "controller").string());
            ASSERT_TRUE(sim.start({"--pty", pty, "--events"})) << sim.transcript();
            // A port that no port list shows: it is known only by its saved kind text.
            writeKey(paths.work, keys::kConnectionInterface, u"255");
            writeKey(paths.work, keys::kConnectionKind, u16(pty) + u"串口");
#else
            GTEST_SKIP() << "no pseudo-terminals here";
#endif
        } else {
            ASSERT_TRUE(sim.start({"--udp", "127.0.0.1:0", "--events"})) << sim.transcript();
            const quint16 port = sim.udpPort();
            ASSERT_NE(port, 0) << sim.transcript();
            writeKey(paths.system, keys::kWifiIp, u"127.0.0.1");
            writeKey(paths.system, keys::kWifiPort, u16(QString::number(port)));
            writeKey(paths.work, keys::kConnectionInterface, u"0");
            writeKey(paths.work, keys::kConnectionKind, u"Wifi");
        }
    }

    void TearDown() override { manager.closeLinks(); }

    TempDir root;
    SettingsPaths paths = settingsPaths(root.path());
    SimProcess sim;
    std::vector<std::u16string> boxes;
    io::QtTransportOpener opener{paths.system,
                                 {[this](const std::u16string& t) { boxes.push_back(t); },
                                  [this](const std::u16string& title, const std::u16string& t) {
                                      boxes.push_back(title + u": " + t);
                                  }}};
    io::QtClock clock;
    io::QtYield yield;
    link::Link link{clock, yield};
    RecordingView view;
    link::ConnectionManager manager{link, opener, paths, view};
};

TEST_P(ConnectionTest, SavedChoiceOpensAndTheButtonConnectsAndDisconnects)
{
    manager.initConnection();
    ASSERT_NE(link.transport(), nullptr);
    EXPECT_TRUE(link.transport()->isOpen());
    EXPECT_EQ(view.kinds.front(), u"Wifi");

    manager.toggleConnection();
    ASSERT_TRUE(manager.connected()) << sim.transcript();
    EXPECT_EQ(view.button.caption, u"已连接");
    EXPECT_EQ(view.counters, u"S:0001   G:0001");
    EXPECT_TRUE(view.buttonEnabled);
    EXPECT_TRUE(sim.waitForEvent(eventIs("handshake"))) << sim.transcript();

    manager.toggleConnection();
    EXPECT_FALSE(manager.connected());
    EXPECT_EQ(view.button.caption, u"未连接");
    EXPECT_TRUE(sim.waitForEvent(eventIs("restart"))) << sim.transcript();
    EXPECT_TRUE(boxes.empty());

    manager.closeLinks();
    EXPECT_FALSE(opener.serialTransport().isOpen());
    EXPECT_FALSE(opener.localTestSocket().isBound());
}

INSTANTIATE_TEST_SUITE_P(Lines, ConnectionTest, ::testing::Values(Line::Serial, Line::Udp),
                         [](const auto& info) { return info.param == Line::Serial ? "Serial" : "Udp"; });

} // namespace
} // namespace rz::test
