#include "core/link/ConnectionManager.h"

#include "core/app/SettingsFile.h"
#include "core/link/Commands.h"
#include "FakeTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz;
using namespace rz::link;
using Bytes = std::vector<uint8_t>;

namespace {

class FakeOpener : public TransportOpener {
public:
    std::vector<SerialPortChoice> listSerialPorts() override
    {
        calls.push_back(u"list");
        return ports;
    }
    Transport* openSerial(const std::u16string& kindName) override
    {
        calls.push_back(u"openSerial " + kindName);
        return &serial;
    }
    void closeSerial() override { calls.push_back(u"closeSerial"); }
    Transport* openWifi() override
    {
        calls.push_back(u"openWifi");
        return &wifi;
    }
    void closeWifi() override { calls.push_back(u"closeWifi"); }

    std::vector<SerialPortChoice> ports;
    std::vector<std::u16string> calls;
    test::FakeTransport serial;
    test::FakeTransport wifi;
};

class RecordingView : public ConnectionView {
public:
    void showKinds(const std::vector<std::u16string>& k, const std::u16string& t) override
    {
        kinds = k;
        text = t;
    }
    void showButton(const ConnectionButtonLook& l) override { look = l; }
    void setButtonEnabled(bool e) override { enabled.push_back(e); }
    void showCounters(const std::u16string& t) override { counters = t; }

    std::vector<std::u16string> kinds;
    std::u16string text;
    ConnectionButtonLook look;
    std::vector<bool> enabled;
    std::u16string counters;
};

// The commands of the frames a transport was given.
std::vector<uint8_t> commands(const test::FakeTransport& t)
{
    std::vector<uint8_t> c;
    for (const Bytes& w : t.writes)
        c.push_back(w.size() > 6 ? w[6] : 0);
    return c;
}

const ConnectionButtonLook kDisconnectedLook{u"未连接", 0x808080};
const ConnectionButtonLook kConnectedLook{u"已连接", 0x6010AF};

class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest()
    {
        opener.ports = {{u"3", 3}, {u"ttyUSB0", 0}};
        // The simulated controller answers a C0 on the next poll.
        for (auto* t : {&opener.serial, &opener.wifi}) {
            t->onWrite = [this, t](const Bytes& w) {
                if (answerConnect && w[6] == cmd::kConnect)
                    t->onPoll.push_back(buildFrame(cmd::kConnect, {}));
            };
        }
    }
    ~ConnectionTest() override { link.setTransport(nullptr); }

    void saveWork(std::u16string_view key, std::u16string_view value)
    {
        ASSERT_TRUE(writeKey(paths.work, key, value));
    }
    void connect()
    {
        manager.toggleConnection();
        ASSERT_TRUE(manager.connected());
    }
    test::FakeTransport& wifi() { return opener.wifi; }

    test::TempDir tmp;
    SettingsPaths paths = settingsPaths(tmp.path());
    test::FakeClock clock{5000};
    test::FakeYield yield{clock};
    Link link{clock, yield};
    FakeOpener opener;
    RecordingView view;
    ConnectionManager manager{link, opener, paths, view};
    bool answerConnect = true;
};

} // namespace

TEST_F(ConnectionTest, TheKindListIsWifiThenThePorts)
{
    manager.initConnection();
    EXPECT_EQ(view.kinds, (std::vector<std::u16string>{u"Wifi", u"3串口", u"ttyUSB0串口"}));
    ASSERT_EQ(manager.kinds().size(), 3u);
    EXPECT_EQ(manager.kinds()[0].interface, 0);
    EXPECT_EQ(manager.kinds()[1].interface, 3);
    EXPECT_EQ(manager.kinds()[2].interface, kNamedSerialInterface);
    EXPECT_EQ(view.look, kDisconnectedLook);
    EXPECT_EQ(view.counters, u"S:0000   G:0000");
}

TEST_F(ConnectionTest, StartUpOpensTheSavedInterface)
{
    struct Case {
        const char* name;
        std::u16string interface; // "连接接口"; empty: not saved
        std::u16string kind;      // "连接方式"
        std::u16string opened;    // the opener call after the list
        bool transport;
        std::u16string shown;     // the list's text: Wi-Fi in use always shows as "Wifi"
    } cases[] = {
        {"nothing saved: Wi-Fi", u"", u"", u"openWifi", true, u"Wifi"},
        {"Wi-Fi", u"0", u"Wifi", u"openWifi", true, u"Wifi"},
        {"a port that is not listed", u"5", u"5串口", u"openSerial 5", true, u"5串口"},
        {"the number decides, not the text", u"7", u"3串口", u"openSerial 7", true, u"3串口"},
        {"a named port from its kind text", u"255", u"ttyUSB0串口", u"openSerial ttyUSB0", true, u"ttyUSB0串口"},
        {"a device path", u"255", u"/tmp/rz760 pty串口", u"openSerial /tmp/rz760 pty", true, u"/tmp/rz760 pty串口"},
        {"a named port without a name", u"255", u"串口", u"", false, u"串口"},
        {"not a number reads as Wi-Fi", u"COM5", u"", u"openWifi", true, u"Wifi"},
        {"above a byte reads as Wi-Fi", u"300", u"", u"openWifi", true, u"Wifi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const SettingsPaths p = settingsPaths(dir.path());
        if (!c.interface.empty()) {
            ASSERT_TRUE(writeKey(p.work, keys::kConnectionInterface, c.interface));
        }
        ASSERT_TRUE(writeKey(p.work, keys::kConnectionKind, c.kind));
        FakeOpener o;
        o.ports = opener.ports;
        RecordingView v;
        Link l{clock, yield};
        ConnectionManager m{l, o, p, v};
        m.initConnection();
        std::vector<std::u16string> expected{u"list"};
        if (!c.opened.empty())
            expected.push_back(c.opened);
        EXPECT_EQ(o.calls, expected);
        EXPECT_EQ(l.transport() != nullptr, c.transport);
        EXPECT_EQ(v.text, c.shown);
        l.setTransport(nullptr);
    }
}

TEST_F(ConnectionTest, OpeningWifiPausesFiftyMillisecondsAsAWait)
{
    int depth = 0;
    yield.onYield = [&] { depth = link.waitDepth(); };
    const uint32_t start = clock.now;
    manager.initConnection();
    EXPECT_GT(clock.now - start, kWifiReopenPauseMs);
    EXPECT_EQ(depth, 1);
}

TEST_F(ConnectionTest, SelectingAKindSavesItAndOpensIt)
{
    manager.initConnection();
    opener.calls.clear();

    manager.selectConnection(1);
    EXPECT_EQ(opener.calls, (std::vector<std::u16string>{u"closeSerial", u"openSerial 3"}));
    EXPECT_EQ(readKey(paths.work, keys::kConnectionKind), u"3串口");
    EXPECT_EQ(readKey(paths.work, keys::kConnectionInterface), u"3");
    EXPECT_EQ(link.transport(), &opener.serial);
    EXPECT_EQ(manager.connectionInterface(), 3);

    opener.calls.clear();
    manager.selectConnection(0);
    EXPECT_EQ(opener.calls, (std::vector<std::u16string>{u"closeSerial", u"openWifi"}));
    EXPECT_EQ(readKey(paths.work, keys::kConnectionKind), u"Wifi");
    EXPECT_EQ(readKey(paths.work, keys::kConnectionInterface), u"0");
    EXPECT_EQ(link.transport(), &opener.wifi);

    opener.calls.clear();
    manager.selectConnection(3); // past the end of the list
    EXPECT_TRUE(opener.calls.empty());
    EXPECT_EQ(readKey(paths.work, keys::kConnectionKind), u"Wifi");
}

// A port given by path (the simulator's pseudo-terminal) is saved and reopened next run.
TEST_F(ConnectionTest, AnAddedDevicePathWorksLikeAListedPortAcrossRuns)
{
    manager.initConnection();
    const std::size_t pos = manager.addSerialPort(u"/tmp/rz760-sim");
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(manager.addSerialPort(u"/tmp/rz760-sim"), 3u); // only once
    EXPECT_EQ(view.kinds.back(), u"/tmp/rz760-sim串口");
    manager.selectConnection(pos);
    EXPECT_EQ(opener.calls.back(), u"openSerial /tmp/rz760-sim");
    EXPECT_EQ(readKey(paths.work, keys::kConnectionInterface), u"255");

    FakeOpener nextRun;
    RecordingView v;
    Link l{clock, yield};
    ConnectionManager m{l, nextRun, paths, v};
    m.initConnection();
    EXPECT_EQ(nextRun.calls.back(), u"openSerial /tmp/rz760-sim");
    EXPECT_EQ(v.text, u"/tmp/rz760-sim串口");
    l.setTransport(nullptr);
}

TEST_F(ConnectionTest, AHandshakeAnsweredInTimeConnects)
{
    manager.initConnection();
    int connectedCalls = 0;
    manager.onConnected = [&] { ++connectedCalls; };
    bool disabledDuringWait = false;
    yield.onYield = [&] { disabledDuringWait = !view.enabled.empty() && !view.enabled.back(); };

    manager.toggleConnection();
    EXPECT_TRUE(manager.connected());
    EXPECT_EQ(view.look, kConnectedLook);
    EXPECT_EQ(connectedCalls, 1);
    EXPECT_TRUE(disabledDuringWait);
    EXPECT_EQ(view.enabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(commands(wifi()), (std::vector<uint8_t>{cmd::kConnect}));
    EXPECT_EQ(opener.calls.back(), u"openWifi"); // the socket is reopened before C0
}

TEST_F(ConnectionTest, TheSerialPortIsReopenedBeforeTheHandshake)
{
    saveWork(keys::kConnectionInterface, u"3");
    manager.initConnection();
    opener.calls.clear();
    const uint32_t start = clock.now;
    manager.toggleConnection();
    EXPECT_EQ(opener.calls, (std::vector<std::u16string>{u"closeSerial", u"openSerial 3"}));
    EXPECT_GT(clock.now - start, kSerialReopenPauseMs);
    EXPECT_TRUE(manager.connected());
    EXPECT_EQ(commands(opener.serial), (std::vector<uint8_t>{cmd::kConnect}));
}

TEST_F(ConnectionTest, AHandshakeWithoutAValidC0InTimeStaysDisconnected)
{
    struct Case {
        const char* name;
        std::vector<Bytes> replies; // one per poll
    } cases[] = {
        {"no answer", {}},
        {"other frames only", {buildFrame(cmd::kQuery, Bytes{0x13}), buildFrame(cmd::kKeepAlive, {})}},
        {"C0 with a bad checksum", {bytesFromHexText("FAF5AA55 0008 C0 49").value()}},
    };
    answerConnect = false;
    manager.initConnection();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int connectedCalls = 0;
        manager.onConnected = [&] { ++connectedCalls; };
        wifi().onPoll.assign(c.replies.begin(), c.replies.end());
        const uint32_t start = clock.now;
        manager.toggleConnection();
        EXPECT_FALSE(manager.connected());
        EXPECT_EQ(view.look, kDisconnectedLook);
        EXPECT_GT(clock.now - start, kConnectReplyTimeoutMs);
        EXPECT_EQ(connectedCalls, 0);
        EXPECT_TRUE(view.enabled.back());
    }
}

TEST_F(ConnectionTest, AC0ThatComesTooLateDoesNotConnect)
{
    answerConnect = false;
    manager.initConnection();
    std::optional<uint32_t> sentAt;
    wifi().onWrite = [&](const Bytes&) { sentAt = clock.now; };
    yield.onYield = [&] {
        if (sentAt && clock.now - *sentAt > kConnectReplyTimeoutMs + 1)
            wifi().push(buildFrame(cmd::kConnect, {}));
    };
    manager.toggleConnection();
    EXPECT_FALSE(manager.connected());
}

TEST_F(ConnectionTest, APressDuringTheHandshakeIsIgnored)
{
    manager.initConnection();
    yield.onYield = [&] { manager.toggleConnection(); };
    manager.toggleConnection();
    EXPECT_TRUE(manager.connected());
    EXPECT_EQ(commands(wifi()), (std::vector<uint8_t>{cmd::kConnect}));
}

TEST_F(ConnectionTest, DisconnectSendsOneC4AndShowsNotConnectedAtOnce)
{
    manager.initConnection();
    connect();
    wifi().writes.clear();
    const int yieldsBefore = yield.count;
    manager.toggleConnection();
    EXPECT_FALSE(manager.connected());
    ASSERT_EQ(wifi().writes.size(), 1u);
    EXPECT_EQ(hexText(wifi().writes[0]), "FAF5AA550008C44C");
    EXPECT_EQ(view.look, kDisconnectedLook);
    EXPECT_EQ(yield.count, yieldsBefore); // no waiting
    EXPECT_TRUE(view.enabled.back());
}

TEST_F(ConnectionTest, SwitchingKindKeepsTheConnectedFlag)
{
    manager.initConnection();
    connect();
    manager.selectConnection(1);
    EXPECT_TRUE(manager.connected());
    EXPECT_EQ(view.look, kConnectedLook);
}

TEST_F(ConnectionTest, KeepAliveGoesOutAfterElevenQuietTicks)
{
    manager.initConnection();
    // Not connected: ticks count nothing.
    for (int i = 0; i < 30; ++i)
        manager.keepAliveTick();
    connect();
    wifi().writes.clear();

    for (int i = 0; i < 10; ++i)
        manager.keepAliveTick();
    EXPECT_TRUE(wifi().writes.empty());
    manager.keepAliveTick();
    EXPECT_EQ(commands(wifi()), (std::vector<uint8_t>{cmd::kKeepAlive}));

    // Any other frame restarts the count.
    for (int i = 0; i < 10; ++i)
        manager.keepAliveTick();
    link.send(cmd::kLiveFrame, Bytes{0x00});
    for (int i = 0; i < 10; ++i)
        manager.keepAliveTick();
    EXPECT_EQ(commands(wifi()), (std::vector<uint8_t>{cmd::kKeepAlive, cmd::kLiveFrame}));
    manager.keepAliveTick();
    EXPECT_EQ(commands(wifi()).back(), cmd::kKeepAlive);
}

TEST_F(ConnectionTest, KeepAliveCountRestartsAfterADisconnect)
{
    manager.initConnection();
    connect();
    for (int i = 0; i < 10; ++i)
        manager.keepAliveTick();
    manager.toggleConnection(); // C4 sent, disconnected
    manager.keepAliveTick();
    connect();                  // C0 sent: the count is back at 0
    wifi().writes.clear();
    for (int i = 0; i < 10; ++i)
        manager.keepAliveTick();
    EXPECT_TRUE(wifi().writes.empty());
}

TEST_F(ConnectionTest, PollsOnceASecondOnlyWhileDisconnectedAndTheDevelopmentWindowIsClosed)
{
    manager.initConnection();
    manager.secondTick();
    ASSERT_EQ(wifi().writes.size(), 1u);
    EXPECT_EQ(hexText(wifi().writes[0]), "FAF5AA550009CE136A");

    manager.setDevelopmentWindowOpen(true);
    manager.secondTick();
    EXPECT_EQ(wifi().writes.size(), 1u);

    manager.setDevelopmentWindowOpen(false);
    connect();
    wifi().writes.clear();
    manager.secondTick();
    EXPECT_TRUE(wifi().writes.empty());
}

TEST_F(ConnectionTest, GoodbyeSendsThreeC4OnlyWhenConnected)
{
    manager.initConnection();
    manager.sayGoodbye();
    EXPECT_TRUE(wifi().writes.empty());
    connect();
    wifi().writes.clear();
    manager.sayGoodbye();
    EXPECT_EQ(commands(wifi()), (std::vector<uint8_t>{cmd::kRestart, cmd::kRestart, cmd::kRestart}));
    for (const Bytes& w : wifi().writes)
        EXPECT_EQ(w.size(), 8u);
    // Nothing more as to a connected controller.
    EXPECT_FALSE(manager.connected());
    for (int i = 0; i < 11; ++i)
        manager.keepAliveTick();
    EXPECT_EQ(wifi().writes.size(), 3u);
}

TEST_F(ConnectionTest, ClosingTheLinksDetachesAndClosesBoth)
{
    manager.initConnection();
    opener.calls.clear();
    manager.closeLinks();
    EXPECT_EQ(opener.calls, (std::vector<std::u16string>{u"closeSerial", u"closeWifi"}));
    EXPECT_EQ(link.transport(), nullptr);
}

TEST(FrameCounters, CountFrom1To9999ThenWrapTo1)
{
    const std::pair<uint32_t, uint32_t> steps[] = {{0, 1}, {1, 2}, {9998, 9999}, {9999, 1}};
    for (auto [from, to] : steps)
        EXPECT_EQ(nextFrameCount(from), to) << from;
    EXPECT_EQ(frameCountersText(12, 9), u"S:0012   G:0009");
    EXPECT_EQ(frameCountersText(9999, 0), u"S:9999   G:0000");
}

TEST_F(ConnectionTest, CountersFollowSentAndReceivedFrames)
{
    manager.initConnection();
    for (int i = 0; i < 9999; ++i)
        link.send(cmd::kKeepAlive, {});
    EXPECT_EQ(view.counters, u"S:9999   G:0000");
    link.send(cmd::kKeepAlive, {});
    EXPECT_EQ(view.counters, u"S:0001   G:0000");

    wifi().push(buildFrame(cmd::kQuery, Bytes{0x19, 0x01}));
    wifi().push(bytesFromHexText("FAF5AA55 0008 C0 00").value()); // bad checksum: not counted
    EXPECT_EQ(view.counters, u"S:0001   G:0001");
    link.sendText("FAF5AA55 0008 C4 4C"); // ready-made texts are not counted
    EXPECT_EQ(manager.sentCount(), 1u);
}

TEST_F(ConnectionTest, ReceivedBytesReachTheDevelopmentLogOnlyWhileItsWindowIsOpen)
{
    manager.initConnection();
    std::vector<std::u16string> logged;
    manager.onReceivedLog = [&](const std::u16string& t) { logged.push_back(t); };
    wifi().push({0x01, 0x02});
    manager.setDevelopmentWindowOpen(true);
    wifi().push({0xFA, 0xF5, 0x0B});
    EXPECT_EQ(logged, (std::vector<std::u16string>{u"FA F5 0B "}));
}

TEST_F(ConnectionTest, PersonalColoursReplaceTheStandardOnes)
{
    manager.initConnection();
    manager.setButtonColours(0x112233, 0x445566);
    EXPECT_EQ(view.look, (ConnectionButtonLook{u"未连接", 0x112233}));
    connect();
    EXPECT_EQ(view.look, (ConnectionButtonLook{u"已连接", 0x445566}));
}

TEST_F(ConnectionTest, DevelopmentModeKeys)
{
    struct Case {
        const char* name;
        std::u16string enabled;  // "开发模式_功能开启"; empty: missing
        std::u16string lastTime; // "最后是否在开发模式"
        bool expectEnabled;
        std::u16string expectUpgradePath;
        std::u16string expectLastTime;
    } cases[] = {
        {"on", u"1", u"0", true, u"fw.bin", u"1"},
        {"still on", u"1", u"1", true, u"fw.bin", u"1"},
        {"left development mode", u"0", u"1", false, u"", u"0"},
        {"file missing after development mode", u"", u"1", false, u"", u"0"},
        {"never on", u"0", u"0", false, u"fw.bin", u"0"},
        {"not a number", u"yes", u"", false, u"fw.bin", u"0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const SettingsPaths p = settingsPaths(dir.path());
        if (!c.enabled.empty()) {
            ASSERT_TRUE(writeKey(p.development, keys::kDevelopmentFunctionsOn, c.enabled));
        }
        ASSERT_TRUE(writeKey(p.work, keys::kLastInDevelopmentMode, c.lastTime));
        ASSERT_TRUE(writeKey(p.work, keys::kUpgradeFilePath, u"fw.bin"));
        RecordingView v;
        Link l{clock, yield};
        ConnectionManager m{l, opener, p, v};
        m.applyDevelopmentMode();
        EXPECT_EQ(m.developmentModeEnabled(), c.expectEnabled);
        EXPECT_EQ(readKey(p.work, keys::kUpgradeFilePath), c.expectUpgradePath);
        EXPECT_EQ(readKey(p.work, keys::kLastInDevelopmentMode), c.expectLastTime);
    }
}
