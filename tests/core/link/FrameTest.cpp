#include "core/link/Frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz::link;

namespace {

using Bytes = std::vector<uint8_t>;

struct Dispatched {
    uint8_t command;
    Bytes payload;
    bool operator==(const Dispatched&) const = default;
};

Bytes hex(std::string_view text)
{
    auto b = bytesFromHexText(text);
    EXPECT_TRUE(b.has_value()) << text;
    return b.value_or(Bytes{});
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Records what a parser hands out.
struct Recorder {
    std::vector<Dispatched> frames;
    FrameParser::Handler handler()
    {
        return [this](uint8_t c, std::span<const uint8_t> p) {
            frames.push_back({c, Bytes(p.begin(), p.end())});
        };
    }
};

} // namespace

// Frames written out field by field: header, length, command, payload, checksum.
TEST(FrameCodec, BuildsTheKnownFrames)
{
    struct Case {
        uint8_t command;
        Bytes payload;
        const char* text;
    } cases[] = {
        {0xC4, {}, "FAF5AA55" "0008" "C4" "" "4C"},
        {0xCE, {0x14}, "FAF5AA55" "0009" "CE" "14" "6B"},
        {0xCE, {0x20, 0x88}, "FAF5AA55" "000A" "CE" "2088" "00"}, // sum wraps to 0
        {0xC0, {}, "FAF5AA55" "0008" "C0" "" "48"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Bytes frame = buildFrame(c.command, c.payload);
        EXPECT_EQ(hexText(frame), c.text);
        EXPECT_EQ(frame.back(), frameChecksum(static_cast<uint16_t>(frame.size()), c.command,
                                              c.payload));
    }
}

TEST(FrameCodec, LongPayloadCarriesItsLengthBigEndianAndASumModulo256)
{
    const Bytes payload(kMaxSendPayload, 0xFF);
    const Bytes frame = buildFrame(0xD1, payload);
    ASSERT_EQ(frame.size(), kMaxSendPayload + 8);
    EXPECT_EQ(frame[4], 0x0F); // 4009 = 0x0FA9
    EXPECT_EQ(frame[5], 0xA9);
    unsigned sum = 0x0F + 0xA9 + 0xD1 + 0x80 + 0xFFu * kMaxSendPayload;
    EXPECT_EQ(frame.back(), sum % 256);
}

TEST(FrameCodec, PayloadTooLongForTheLengthFieldBuildsNothing)
{
    EXPECT_TRUE(buildFrame(0x60, Bytes(0xFFFF - 7, 0)).empty());
    EXPECT_EQ(buildFrame(0x60, Bytes(0xFFFF - 8, 0)).size(), 0xFFFFu);
}

TEST(FrameCodec, ByteHexIsTwoUpperCaseDigits)
{
    EXPECT_EQ(byteHex(0x00), "00");
    EXPECT_EQ(byteHex(0x0A), "0A");
    EXPECT_EQ(byteHex(0xFE), "FE");
}

TEST(FrameCodec, FrameTextsToBytes)
{
    struct Case {
        std::string_view text;
        std::optional<Bytes> bytes;
    } cases[] = {
        {"FAF5AA55 0009 CE14 6B", Bytes{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x09, 0xCE, 0x14, 0x6B}},
        {"fa f5", Bytes{0xFA, 0xF5}},
        {"", Bytes{}},
        {"   ", Bytes{}},
        {"F A", Bytes{0xFA}}, // spaces may split a digit pair
        {"ABC", std::nullopt},
        {"GG", std::nullopt},
        {"0x12", std::nullopt},
        {"12\t34", std::nullopt},
        {"12\n", std::nullopt},
        {"\xE4\xB8\xB2", std::nullopt}, // non-ASCII text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(bytesFromHexText(c.text), c.bytes);
    }
}

namespace {

struct ParseCase {
    const char* name;
    std::vector<Bytes> deliveries;     // each is appended, then parsed once
    std::vector<std::size_t> framesAfter; // frames dispatched so far, after each delivery
    std::vector<Dispatched> frames;
    std::size_t leftOver;              // bytes still held at the end
};

const Bytes kCe14 = hex("FAF5AA55 0009 CE 14 6B");
const Bytes kC4 = hex("FAF5AA55 0008 C4 4C");

std::vector<ParseCase> parseCases()
{
    const Bytes badSum = hex("FAF5AA55 0009 CE 14 6C");
    const Bytes longFrame = buildFrame(0xA0, Bytes(kMaxReceivedFrame - 8, 0x5A));
    const Bytes partOfLong(longFrame.begin(), longFrame.begin() + 20);
    return {
        {"valid CE 14", {kCe14}, {1}, {{0xCE, {0x14}}}, 0},
        {"empty payload", {kC4}, {1}, {{0xC4, {}}}, 0},
        {"wrong checksum dropped whole, next frame found", {cat({badSum, kC4})}, {1},
         {{0xC4, {}}}, 0},
        {"three garbage bytes then a frame, same call", {cat({hex("01 FA 55"), kCe14})}, {1},
         {{0xCE, {0x14}}}, 0},
        {"header prefix as garbage", {cat({hex("FA F5 AA FA F5"), kC4})}, {1}, {{0xC4, {}}}, 0},
        {"split frame", {Bytes(kCe14.begin(), kCe14.begin() + 5), Bytes(kCe14.begin() + 5, kCe14.end())},
         {0, 1}, {{0xCE, {0x14}}}, 0},
        {"split inside the length", {Bytes(kCe14.begin(), kCe14.begin() + 8), Bytes(kCe14.begin() + 8, kCe14.end())},
         {0, 1}, {{0xCE, {0x14}}}, 0},
        {"two frames in one delivery", {cat({kCe14, kC4})}, {2}, {{0xCE, {0x14}}, {0xC4, {}}}, 0},
        {"length 1201 empties the buffer, frames behind it too", {cat({hex("FAF5AA55 04B1 CE"), kC4})},
         {0}, {}, 0},
        {"length 1200 is still a frame", {longFrame}, {1},
         {{0xA0, Bytes(kMaxReceivedFrame - 8, 0x5A)}}, 0},
        {"incomplete frame waits", {partOfLong}, {0}, {}, 20},
        {"length below 8 is no frame; a frame right behind it is found",
         {cat({hex("FAF5AA55 0007"), kCe14})}, {1}, {{0xCE, {0x14}}}, 0},
        {"length 0 with nothing behind it", {hex("FAF5AA55 0000 0000")}, {0}, {}, 7},
        {"fewer than 8 bytes wait", {hex("FAF5AA55 0009 CE")}, {0}, {}, 7},
    };
}

} // namespace

TEST(FrameParser, CutsChecksAndDispatchesFrames)
{
    for (const auto& c : parseCases()) {
        SCOPED_TRACE(c.name);
        FrameParser parser;
        Recorder rec;
        ASSERT_EQ(c.deliveries.size(), c.framesAfter.size());
        for (std::size_t i = 0; i < c.deliveries.size(); ++i) {
            parser.append(c.deliveries[i]);
            parser.parse(rec.handler());
            EXPECT_EQ(rec.frames.size(), c.framesAfter[i]) << "after delivery " << i;
        }
        EXPECT_EQ(rec.frames, c.frames);
        EXPECT_EQ(parser.count(), c.leftOver);
    }
}

TEST(FrameParser, ReportsWhyItStopped)
{
    FrameParser parser;
    Recorder rec;
    parser.append(hex("FAF5AA55 0009"));
    EXPECT_EQ(parser.parse(rec.handler()), FrameParser::ParseStop::NeedMoreBytes);
    parser.append(hex("CE 14 6B"));
    EXPECT_EQ(parser.parse(rec.handler()), FrameParser::ParseStop::NeedMoreBytes);
    EXPECT_EQ(rec.frames.size(), 1u);
    parser.append(hex("FAF5AA55 FFFF C0 48"));
    EXPECT_EQ(parser.parse(rec.handler()), FrameParser::ParseStop::Overlong);
    EXPECT_EQ(parser.count(), 0u);
}

// One call drops at most 500 garbage bytes; the next call carries on where it stopped.
TEST(FrameParser, AParseCallEndsAfter500Passes)
{
    FrameParser parser;
    Recorder rec;
    parser.append(Bytes(600, 0x00));
    parser.append(kC4);
    EXPECT_EQ(parser.parse(rec.handler()), FrameParser::ParseStop::PassLimit);
    EXPECT_TRUE(rec.frames.empty());
    EXPECT_EQ(parser.count(), 100 + kC4.size());
    EXPECT_EQ(parser.parse(rec.handler()), FrameParser::ParseStop::NeedMoreBytes);
    EXPECT_EQ(rec.frames, (std::vector<Dispatched>{{0xC4, {}}}));
}

// The buffer holds 2000 bytes; a byte arriving when it is full restarts it empty.
TEST(FrameParser, AFullBufferRestartsEmptyAndDropsTheArrivingByte)
{
    FrameParser parser;
    const Bytes filler(kReceiveBufferCapacity - 1, 0x11);
    parser.append(filler);
    parser.append(0x22);
    EXPECT_EQ(parser.count(), kReceiveBufferCapacity);
    EXPECT_EQ(parser.pending().back(), 0x22);
    EXPECT_EQ(parser.freeSpace(), 0u);

    parser.append(0x33);
    EXPECT_EQ(parser.count(), 0u);
    parser.append(0x44);
    ASSERT_EQ(parser.count(), 1u);
    EXPECT_EQ(parser.pending()[0], 0x44);

    // Held bytes move to the front as room is needed; order and content survive.
    Recorder rec;
    parser.clear();
    for (int round = 0; round < 400; ++round) {
        parser.append(kCe14);
        parser.parse(rec.handler());
    }
    EXPECT_EQ(rec.frames.size(), 400u);
    EXPECT_EQ(parser.count(), 0u);
}
