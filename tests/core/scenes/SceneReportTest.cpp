#include "core/scenes/SceneReport.h"
#include "core/link/FakeTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::scenes;

TEST(SceneReport, TextNamesTheSourceAndTheSceneSwitchedTo)
{
    struct Case {
        uint8_t command;
        std::vector<uint8_t> data;
        std::optional<std::u16string> text;
    };
    const Case cases[] = {
        {0xCE, {0x20, 0x00, 0x05, 0x0C}, u"A-05  C-12"},      // wall panel
        {0xCE, {0x20, 0x01, 0x1E, 0x01}, u"B-30  C-01"},      // VOD
        {0xCE, {0x20, 0x02, 0x05, 0x0C}, u"C-12"},            // unknown source: no prefix
        {0xCE, {0x20, 0x00, 0x00, 0xFF, 0x99}, u"A-00  C-255"}, // extra bytes, three digits
        {0xCE, {0x20, 0x00, 0x05}, std::nullopt},             // too short
        {0xCE, {0x50, 0x00, 0x05, 0x0C}, std::nullopt},       // another CE function
        {0xCF, {0x20, 0x00, 0x05, 0x0C}, std::nullopt},       // another command
        {0xCE, {}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sceneReportText(c.command, c.data), c.text)
            << "command " << int(c.command) << ", " << c.data.size() << " data bytes";
}

TEST(SceneReport, RequestFramesAreValidFramesSentUncounted)
{
    test::FakeClock clock;
    test::FakeYield yield(clock);
    test::FakeTransport transport;
    link::Link link(clock, yield);
    link.setTransport(&transport);
    int counted = 0;
    link.onFrameSent = [&] { ++counted; };

    requestSceneReports(link);
    stopSceneReports(link);
    link.setTransport(nullptr);

    ASSERT_EQ(transport.writes.size(), 2u);
    // The controller sees ordinary frames: command CE, payload 20 88 (start) and 20 44 (stop).
    EXPECT_EQ(transport.writes[0], link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x88}));
    EXPECT_EQ(transport.writes[1], link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x44}));
    EXPECT_EQ(counted, 0);
}

TEST(SceneReport, ReceivedReportsReachTheBoxThroughTheLink)
{
    test::FakeClock clock;
    test::FakeYield yield(clock);
    test::FakeTransport transport;
    link::Link link(clock, yield);
    link.setTransport(&transport);
    std::vector<std::u16string> shown;
    installSceneReportReceiver(link, [&](const std::u16string& text) { shown.push_back(text); });

    transport.push(link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x01, 0x03, 0x04}));
    transport.push(link::buildFrame(0xCE, std::vector<uint8_t>{0x50, 0x66, 1, 2, 3, 4})); // IR code
    transport.push(link::buildFrame(0xCE, std::vector<uint8_t>{0x20, 0x00, 0x1E, 0x1E}));
    link.setTransport(nullptr);

    EXPECT_EQ(shown, (std::vector<std::u16string>{u"B-03  C-04", u"A-30  C-30"}));
}
