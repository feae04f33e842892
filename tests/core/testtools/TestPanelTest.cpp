#include "core/testtools/TestPanel.h"

#include "core/link/Link.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::testtools {
namespace {

using Bytes = std::vector<uint8_t>;

struct FrameLog : sim::ControllerListener {
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived && e.command == 0xCE)
            frames.push_back(e.payload);
    }
    std::vector<Bytes> frames;
};

struct RecordingView : TestPanelView {
    void showInformation(const std::u16string& t) override { information += t; }
    void showWallPanelReceived(const std::u16string& t) override { wallPanel += t; }
    void showVodReceived(const std::u16string& t) override { vod += t; }
    std::u16string information, wallPanel, vod;
};

struct TestPanelTest : ::testing::Test {
    TestPanelTest()
    {
        controller.setListener(&log);
        link.setTransport(&transport);
    }
    ~TestPanelTest() override { link.setTransport(nullptr); }

    test::FakeClock clock{1000};
    test::FakeYield yield{clock};
    FrameLog log;
    sim::Controller controller{clock};
    sim::LoopbackTransport transport{controller, clock};
    link::Link link{clock, yield};
    RecordingView view;
    bool connected = false;
    TestPanel panel{link, [this] { return connected; }, view};
};

TEST_F(TestPanelTest, WallPanelTextBecomesBytes)
{
    const struct {
        const char16_t* text;
        bool sent;
        Bytes payload;
    } cases[] = {
        {u"A1 B2 0c", true, {0x19, 0xA1, 0xA1, 0xB2, 0x0C}},
        {u"A1B", true, {0x19, 0xA1, 0xA1, 0x0B}},
        {u"", true, {0x19, 0xA1}},
        {u"A1ZZ", false, {}},
        {u"G", false, {}},
    };
    for (const auto& c : cases) {
        log.frames.clear();
        view.information.clear();
        EXPECT_EQ(panel.sendPortTest(kWallPanelPort, c.text), c.sent);
        if (c.sent) {
            EXPECT_EQ(log.frames, std::vector<Bytes>{c.payload});
            EXPECT_TRUE(view.information.empty());
        } else {
            EXPECT_TRUE(log.frames.empty());
            EXPECT_EQ(view.information, u"\r\n-----数据错误-----\r\n");
        }
    }
    panel.sendPortTest(kVodPort, u"01");
    EXPECT_EQ(log.frames.back(), (Bytes{0x19, 0xA2, 0x01}));
}

TEST_F(TestPanelTest, RoomFunctionFramesAreTheBuiltOnes)
{
    EXPECT_EQ(roomFunctionFrameText(0x15), "FAF5AA55 0009 CE15 6C");
    EXPECT_EQ(roomFunctionFrameText(0x11), "FAF5AA55 0009 CE11 68");
    for (uint8_t f : {0x11, 0x14, 0x15, 0x16, 0x17, 0x18}) {
        log.frames.clear();
        panel.roomFunction(f);
        EXPECT_EQ(log.frames, std::vector<Bytes>{Bytes{f}});
    }
}

TEST_F(TestPanelTest, ScenesOnlyWhileNotConnected)
{
    EXPECT_TRUE(panel.callScene(3));
    EXPECT_EQ(log.frames, (std::vector<Bytes>{{0x12, 3}}));
    connected = true;
    EXPECT_FALSE(panel.callScene(4));
    EXPECT_EQ(log.frames.size(), 1u);
}

TEST_F(TestPanelTest, KeysFansAndTestFunctions)
{
    panel.roomControl(kExhaustFan, 0);
    panel.roomControl(kAirConditionerFan, 3);
    panel.vodKey(5);
    panel.internalKey(7);
    panel.setTestFunctions(true);
    panel.setTestFunctions(false);
    EXPECT_EQ(log.frames, (std::vector<Bytes>{{0x25, 1, 0}, {0x25, 3, 3}, {0x22, 5}, {0x30, 7, 7}, {0x19, 0x88},
                                              {0x19, 0x44}}));
}

TEST_F(TestPanelTest, ReportsGoToTheirBoxes)
{
    const Bytes wall{0x19, 0xA1, 0x01, 0xAB};
    const Bytes vod{0x19, 0xA2, 0xFF};
    const Bytes tooShort{0x19, 0xA1};
    const Bytes other{0x20, 0xA1, 0x01};
    for (const Bytes& p : {wall, vod, tooShort, other})
        panel.receive(0xCE, p);
    panel.receive(0xC0, wall);
    EXPECT_EQ(view.wallPanel, u"01 AB ");
    EXPECT_EQ(view.vod, u"FF ");
}

TEST_F(TestPanelTest, AutomaticBassEveryFiveOrTenTicks)
{
    int32_t counter = 0;
    for (int i = 0; i < 30; ++i)
        panel.autoBassTick(counter);
    EXPECT_TRUE(log.frames.empty());
    EXPECT_EQ(panel.advanceAutoBass(), AutoBass::HalfSecond);
    for (int i = 0; i < 30; ++i)
        panel.autoBassTick(counter);
    // The first hit on the sixth tick, then every fifth.
    EXPECT_EQ(log.frames.size(), 5u); // ticks 6, 11, 16, 21, 26
    log.frames.clear();
    EXPECT_EQ(panel.advanceAutoBass(), AutoBass::OneSecond);
    counter = 0;
    for (int i = 0; i < 31; ++i)
        panel.autoBassTick(counter);
    EXPECT_EQ(log.frames.size(), 3u);
    EXPECT_EQ(panel.advanceAutoBass(), AutoBass::Stopped);
    EXPECT_EQ(autoBassCaption(AutoBass::Stopped), u"自动停止");
}

} // namespace
} // namespace rz::testtools
