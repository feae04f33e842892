#include "core/liveout/LiveFrame.h"

#include <gtest/gtest.h>

using namespace rz::liveout;

TEST(LiveFrame, AllZeroUniversePacksToSevenBytes)
{
    const DmxFrame frame{};
    const std::vector<uint8_t> raw = buildRawLiveFrame(frame, RoomOutputs{});
    ASSERT_EQ(raw.size(), 536u);
    EXPECT_EQ(liveFramePayload(raw),
              (std::vector<uint8_t>{0x00, 0x07,                   // packed length 7
                                    0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x23, // 250 + 250 + 35 zeros
                                    0x00}));                      // the last byte, literal
}

TEST(LiveFrame, LayoutOfLevelsRelaysAndDimmers)
{
    DmxFrame frame{};
    frame[0] = 9;   // index 0 is never sent
    frame[1] = 11;
    frame[512] = 12;
    frame[513] = 13; // room beyond the universe is never sent
    RoomOutputs room;
    room.sceneRelays[1] = 1;
    room.sceneRelays[3] = 0;
    room.debugRelays[3] = 255;  // relay 3 forced on in the title bar
    room.sceneRelays[24] = 1;
    room.debugRelays[25] = 255; // relays past 24 are not sent
    room.dimmers[1] = 200;
    room.dimmers[8] = 7;

    std::vector<uint8_t> raw = buildRawLiveFrame(frame, room);
    ASSERT_EQ(raw.size(), 536u) << "no dimmer block without thyristor dimming";
    EXPECT_EQ(raw[0], 11);
    EXPECT_EQ(raw[511], 12);
    EXPECT_EQ(raw[512], 1) << "relay 1";
    EXPECT_EQ(raw[513], 0) << "relay 2";
    EXPECT_EQ(raw[514], 255) << "byte 515: relay 3, overridden";
    EXPECT_EQ(raw[535], 1) << "relay 24";

    room.thyristorDimming = true;
    raw = buildRawLiveFrame(frame, room);
    ASSERT_EQ(raw.size(), 545u);
    EXPECT_EQ(raw[536], 0xA8);
    EXPECT_EQ(raw[537], 200);
    EXPECT_EQ(raw[544], 7);
}

TEST(LiveFrame, PayloadLengthIsBigEndianForLongPackings)
{
    DmxFrame frame{};
    frame.fill(0xFE); // every byte escaped: the longest packing
    RoomOutputs room;
    room.thyristorDimming = true;
    room.dimmers.fill(0xFE);
    const std::vector<uint8_t> payload = liveFramePayload(buildRawLiveFrame(frame, room));
    const std::size_t packed = payload.size() - 2;
    EXPECT_EQ(payload[0], packed >> 8);
    EXPECT_EQ(payload[1], packed & 0xFF);
    EXPECT_GT(packed, 255u);
    EXPECT_LE(payload.size(), 2u * 545 + 2);
}
