// The simulated controller's room functions: infrared reception, air-conditioner learning and
// the scene-association report built from the show it holds.
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "sim/Controller.h"
#include "support/Fakes.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

namespace rz::sim::test {
namespace {

class FixedLocalTime : public show::LocalTimeSource {
public:
    LocalDateTime localNow() override { return {2026, 12, 10, 12, 0, 0}; }
};

class InfraredFunctionsTest : public ::testing::Test {
protected:
    InfraredFunctionsTest() { controller.setListener(&listener); }
    std::vector<ParsedFrame> replies() { return parseAsPc(controller.takeOutput()); }
    std::vector<std::string> roomEvents() const
    {
        std::vector<std::string> names;
        for (const auto& e : listener.events)
            if (e.kind == EventKind::RoomFunction)
                names.push_back(e.function);
        return names;
    }

    rz::test::FakeClock clock{1000};
    Controller controller{clock};
    RecordingListener listener;
};

TEST_F(InfraredFunctionsTest, InfraredCodeIsReportedOnlyWhileReceptionIsOn)
{
    auto press = [&] {
        controller.inject([&](FamilyContext& c) { controller.infrared().receiveInfraredCode({1, 2, 3, 4}, c); });
    };
    press();
    EXPECT_TRUE(replies().empty());
    controller.receive(frame(0xCE, {0x50, 0x01}));
    controller.receive(frame(0xCE, {0x50, 0x01})); // the tool's repeat is no news
    press();
    const auto r = replies();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, (std::vector<uint8_t>{0x50, 0x66, 1, 2, 3, 4}));
    controller.receive(frame(0xCE, {0x50, 0x00}));
    EXPECT_EQ(roomEvents(), (std::vector<std::string>{"infraredCodeIgnored", "infraredReceptionOn",
                                                      "infraredCodeReported", "infraredReceptionOff"}));
}

TEST_F(InfraredFunctionsTest, AirConditionerLearnTestAndStop)
{
    controller.receive(frame(0xCE, {0x24, 0x02, 0x02}));
    auto r = replies();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, (std::vector<uint8_t>{0x24, 0x02, 0x02}));

    controller.infrared().setAutoLearn(false);
    controller.receive(frame(0xCE, {0x24, 0x02, 0x06}));
    EXPECT_TRUE(replies().empty());
    controller.receive(frame(0xCE, {0x24, 0x04}));
    EXPECT_FALSE(controller.infrared().airConLearning());
    // Nothing is learning any more: the remote control reports nothing.
    controller.inject([&](FamilyContext& c) { EXPECT_FALSE(controller.infrared().learnAirConCode(c)); });
    controller.receive(frame(0xCE, {0x24, 0x01, 0x07})); // no such state
    controller.receive(frame(0xCE, {0x24, 0x01, 0x05}));
    EXPECT_EQ(controller.infrared().lastAirConTest(), std::optional<uint8_t>(5));
    EXPECT_TRUE(replies().empty());
}

TEST_F(InfraredFunctionsTest, SceneReportComesFromTheHeldShow)
{
    auto select = [&](SceneSource source, uint8_t number) {
        controller.inject([&](FamilyContext& c) { controller.associations().selectScene(source, number, c); });
        return replies();
    };
    // Not asked for: no report. Without a show: scene n for number n.
    EXPECT_TRUE(select(SceneSource::WallPanel, 5).empty());
    controller.receive(frame(0xCE, {0x20, 0x88}));
    auto r = select(SceneSource::WallPanel, 5);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, (std::vector<uint8_t>{0x20, 0x00, 5, 5}));

    rz::test::TempDir dir;
    rz::test::FakeYield yield(clock);
    rz::test::RecordingPrompt prompt;
    rz::test::ScriptedFileChooser chooser;
    FixedLocalTime time;
    auto show = std::make_unique<show::Show>();
    show->scenes.setDefaultAssociations();
    show->scenes.scene(12).vodScene = 3;
    show->scenes.scene(3).vodScene = 0;
    show->scenes.scene(5).wallPanelScene = 0;
    show::ShowFile file(*show, dir.path(), {prompt, chooser, clock, yield, time});
    ASSERT_TRUE(file.saveShow());
    controller.transfer().files.preload(1, rz::test::readAll(file.showPath()));

    r = select(SceneSource::Vod, 3);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, (std::vector<uint8_t>{0x20, 0x01, 3, 12}));
    r = select(SceneSource::WallPanel, 5);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].payload, (std::vector<uint8_t>{0x20, 0x00, 5, 0}));

    controller.receive(frame(0xCE, {0x20, 0x44}));
    EXPECT_TRUE(select(SceneSource::Vod, 3).empty());
}

} // namespace
} // namespace rz::sim::test
