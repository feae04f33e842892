#include "core/liveout/MonitorModel.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rz;
using namespace rz::liveout;

TEST(MonitorModel, RolesFromChannelNames)
{
    const struct {
        const char16_t* name;
        ChannelRole role;
    } cases[] = {
        {u"R", ChannelRole::Red},       {u"r1", ChannelRole::Red},      {u"红", ChannelRole::Red},
        {u"G", ChannelRole::Green},     {u"B1", ChannelRole::Blue},     {u"W", ChannelRole::White},
        {u" Amber ", ChannelRole::Amber}, {u"调光", ChannelRole::Dimmer}, {u"染色调光", ChannelRole::Dimmer},
        {u"调光/频闪", ChannelRole::Dimmer}, {u"Dimmer", ChannelRole::Dimmer}, {u"X", ChannelRole::Pan},
        {u"X1", ChannelRole::Pan},      {u"Y2", ChannelRole::Tilt},     {u"X微调", ChannelRole::PanFine},
        {u"Y微调", ChannelRole::TiltFine}, {u"空", ChannelRole::None}, {u"速度", ChannelRole::None},
        {u"频闪1", ChannelRole::None},  {u"RGB", ChannelRole::None},    {u"", ChannelRole::None},
        {u"1自定义", ChannelRole::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roleOfChannelName(c.name), c.role) << int(&c - cases);
}

TEST(MonitorModel, LookMixesColourDimmerAndDirection)
{
    using R = ChannelRole;
    const struct {
        std::vector<R> roles;
        std::vector<uint8_t> levels;
        bool hasColour;
        Rgb colour;
    } cases[] = {
        {{R::Red, R::Green, R::Blue}, {255, 128, 0}, true, {255, 128, 0}},          // orange
        {{R::Dimmer, R::Red, R::Green, R::Blue}, {128, 255, 128, 0}, true, {128, 64, 0}},
        {{R::White}, {200}, true, {200, 200, 200}},
        {{R::Amber, R::Dimmer}, {255, 255}, true, {255, 191, 0}},
        {{R::Dimmer}, {51}, true, {51, 51, 51}}, // a plain dimmer lights white
        {{R::Pan, R::Tilt}, {10, 20}, false, {}},
    };
    for (const auto& c : cases) {
        const FixtureLook look = lookOf(c.roles, c.levels);
        EXPECT_EQ(look.hasColour, c.hasColour);
        EXPECT_EQ(look.colour, c.colour);
    }
    const FixtureLook moving = lookOf({R::Pan, R::PanFine, R::Tilt}, {128, 0, 255});
    ASSERT_TRUE(moving.pan && moving.tilt);
    EXPECT_NEAR(*moving.pan, 0.5, 0.01);
    EXPECT_NEAR(*moving.tilt, 255.0 * 256 / 65535, 1e-9);
    EXPECT_FALSE(lookOf({R::Red}, {1}).pan.has_value());
}

TEST(MonitorModel, GroupsLevelsByFixtureAndMarksSharedAddresses)
{
    fixtures::FixtureLibrary library;
    fixtures::ChannelDefinitions names;
    auto place = [&](int i, const char16_t* name, int address, std::vector<uint8_t> codes) {
        fixtures::Fixture& f = library.fixture(i);
        f.name = name;
        f.startAddress = static_cast<int16_t>(address);
        f.channelCount = static_cast<uint8_t>(codes.size());
        for (std::size_t c = 0; c < codes.size(); ++c)
            f.channelCode[c + 1] = codes[c];
    };
    place(1, u"Par", 10, {20, 21, 22});    // R G B at 10..12
    place(2, u"Spot", 12, {1, 2});         // X Y at 12..13: 12 is shared
    place(3, u"Edge", 511, {20, 21, 22});  // runs past 512: one channel left off
    place(4, u"NoAddress", 0, {20});       // not valid: not shown
    MonitorModel model;
    model.rebuild(library, names);
    ASSERT_EQ(model.fixtures().size(), 3u);

    DmxFrame frame{};
    frame[10] = 255, frame[11] = 128, frame[12] = 0, frame[13] = 40, frame[100] = 9;
    RoomOutputs room;
    room.sceneRelays[2] = 1;
    room.debugRelays[5] = 255;
    room.thyristorDimming = true;
    room.dimmers[3] = 77;
    model.update(frame, room);

    const auto& par = model.fixtures()[0];
    EXPECT_EQ(par.name, u"Par");
    ASSERT_EQ(par.rows.size(), 3u);
    EXPECT_EQ(par.rows[1].address, 11);
    EXPECT_EQ(par.rows[1].definition, u"G");
    EXPECT_EQ(par.rows[1].level, 128);
    EXPECT_FALSE(par.rows[1].shared);
    EXPECT_TRUE(par.rows[2].shared);
    EXPECT_TRUE(par.overlaps);
    EXPECT_EQ(par.look.colour, (Rgb{255, 128, 0}));
    const auto& spot = model.fixtures()[1];
    EXPECT_TRUE(spot.rows[0].shared);
    ASSERT_TRUE(spot.look.tilt.has_value());
    EXPECT_EQ(model.fixtures()[2].rows.size(), 2u); // 511, 512

    // Free addresses are listed plainly with their levels.
    const auto& free = model.freeAddresses();
    EXPECT_TRUE(std::find(free.begin(), free.end(), 100) != free.end());
    EXPECT_TRUE(std::find(free.begin(), free.end(), 11) == free.end());
    EXPECT_EQ(model.level(100), 9);
    EXPECT_TRUE(model.relayOn(2) && model.relayOn(5) && !model.relayOn(1));
    EXPECT_TRUE(model.dimmersShown());
    EXPECT_EQ(model.dimmer(3), 77);
}
