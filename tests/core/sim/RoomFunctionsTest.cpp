#include "SimTestSupport.h"
#include "sim/EventJson.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

using test::frame;
using test::parseAsPc;
using test::ParsedFrame;

class RoomFunctionsTest : public ::testing::Test {
protected:
    RoomFunctionsTest() { controller.setListener(&listener); }
    // The names of the room-function events of one CE frame.
    std::vector<std::string> functionsOf(std::vector<uint8_t> payload)
    {
        listener.events.clear();
        controller.receive(link::buildFrame(0xCE, payload));
        std::vector<std::string> names;
        for (const auto& e : listener.events)
            if (e.kind == EventKind::RoomFunction)
                names.push_back(e.function);
        return names;
    }

    rz::test::FakeClock clock{1000};
    Controller controller{clock};
    test::RecordingListener listener;
};

TEST_F(RoomFunctionsTest, EachFunctionIsReportedByName)
{
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases{
        {{0x15}, "cheer"},          {{0x16}, "boo"},
        {{0x17}, "smoke"},          {{0x18}, "mic-shake"},
        {{0x11}, "bass"},           {{0x14}, "dense-drums"},
        {{0x12, 3}, "scene"},       {{0x25, 1, 1}, "exhaust-fan"},
        {{0x25, 3, 2}, "air-conditioner-fan"}, {{0x22, 4}, "vod-key"},
        {{0x30, 1, 1}, "internal-key"},        {{0x19, 0xA1, 0x01}, "wall-panel-test"},
    };
    for (const auto& [payload, name] : cases)
        EXPECT_EQ(functionsOf(payload), std::vector<std::string>{name}) << name;
    EXPECT_TRUE(functionsOf({0x25, 9, 1}).empty());
    EXPECT_TRUE(functionsOf({0x19, 0x55}).empty());
    EXPECT_TRUE(functionsOf({0x13}).empty()) << "the poll is the handshake's";
    controller.takeOutput();
}

TEST_F(RoomFunctionsTest, EventLineNamesTheFunction)
{
    controller.receive(frame(0xCE, {0x15}));
    const auto it = std::find_if(listener.events.begin(), listener.events.end(),
                                 [](const ControllerEvent& e) { return e.kind == EventKind::RoomFunction; });
    ASSERT_NE(it, listener.events.end());
    EXPECT_EQ(eventJson(*it), R"({"event":"room","function":"cheer","payload":"15"})");
}

TEST_F(RoomFunctionsTest, TestFunctionsAnsweredAndTestInputEchoed)
{
    controller.receive(frame(0xCE, {0x19, 0x88}));
    EXPECT_TRUE(controller.roomFunctions().testFunctionsOn());
    controller.receive(frame(0xCE, {0x19, 0xA1, 0xA1, 0xB2}));
    controller.receive(frame(0xCE, {0x19, 0xA2, 0x07}));
    controller.receive(frame(0xCE, {0x19, 0xA1})); // nothing to echo
    controller.receive(frame(0xCE, {0x19, 0x44}));
    EXPECT_FALSE(controller.roomFunctions().testFunctionsOn());
    EXPECT_EQ(parseAsPc(controller.takeOutput()),
              (std::vector<ParsedFrame>{{0xCE, {0x19, 0x88}},
                                        {0xCE, {0x19, 0xA1, 0xA1, 0xB2}},
                                        {0xCE, {0x19, 0xA2, 0x07}},
                                        {0xCE, {0x19, 0x44}}}));
}

} // namespace
} // namespace rz::sim
