#include "core/testtools/DevelopmentCommands.h"

#include "core/link/Frame.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::testtools {
namespace {

using Bytes = std::vector<uint8_t>;

// Every byte the controller received, in order.
struct ByteLog : sim::ControllerListener {
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived)
            frames.push_back(link::buildFrame(e.command, e.payload));
    }
    std::vector<Bytes> frames;
};

struct DevelopmentCommandsTest : ::testing::Test {
    DevelopmentCommandsTest()
    {
        controller.setListener(&log);
        link.setTransport(&transport);
    }
    ~DevelopmentCommandsTest() override { link.setTransport(nullptr); }

    test::FakeClock clock{1000};
    test::FakeYield yield{clock};
    ByteLog log;
    sim::Controller controller{clock};
    sim::LoopbackTransport transport{controller, clock};
    link::Link link{clock, yield};
};

TEST_F(DevelopmentCommandsTest, EveryListEntryIsAValidFrame)
{
    for (const std::u16string& entry : developmentCommandList()) {
        log.frames.clear();
        ASSERT_TRUE(sendFrameText(link, entryFrameText(entry)));
        // The controller took it as a good frame (a bad checksum would be dropped).
        EXPECT_EQ(log.frames.size(), 1u) << std::string(entry.begin(), entry.begin() + 20);
    }
}

TEST_F(DevelopmentCommandsTest, CheerEntryAndTheBuiltFrameAreTheSameBytes)
{
    const std::u16string cheer = u"FAF5AA55 0009 CE15 6C -喝彩";
    ASSERT_TRUE(sendFrameText(link, entryFrameText(cheer)));
    const auto built = sendBuiltFrame(link, u"CE", u"15");
    ASSERT_TRUE(built);
    EXPECT_EQ(*built, "FAF5AA550009CE156C");
    const Bytes expected{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x09, 0xCE, 0x15, 0x6C};
    EXPECT_EQ(log.frames, (std::vector<Bytes>{expected, expected}));
}

TEST_F(DevelopmentCommandsTest, BadHexadecimalSendsNothing)
{
    for (const char16_t* text : {u"", u"FAF5X", u"FAF", u"FA F5 AA 55 00 08 C4 4G"})
        EXPECT_FALSE(sendFrameText(link, text));
    EXPECT_FALSE(sendBuiltFrame(link, u"CEE", u"15"));
    EXPECT_FALSE(sendBuiltFrame(link, u"ZZ", u"15"));
    EXPECT_FALSE(sendBuiltFrame(link, u"CE", u"1"));
    EXPECT_FALSE(sendBuiltFrame(link, u"CE", u"1G"));
    EXPECT_TRUE(log.frames.empty());
    EXPECT_TRUE(sendBuiltFrame(link, u"c4", u""));
    EXPECT_EQ(log.frames.size(), 1u);
}

} // namespace
} // namespace rz::testtools
