#include "SimTestSupport.h"
#include "core/app/Conversions.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <map>

namespace rz::sim {
namespace {

using test::frame;

// A live frame as the tool builds it: 512 levels, 24 relays, optionally A8 + 8 dimmers,
// zero-run packed, behind the packed length.
std::vector<uint8_t> livePayload(const LiveOutput& o)
{
    std::vector<uint8_t> raw(o.levels.begin() + 1, o.levels.end());
    raw.insert(raw.end(), o.relays.begin() + 1, o.relays.end());
    if (o.dimmerBlock) {
        raw.push_back(kDimmerBlockMarker);
        raw.insert(raw.end(), o.dimmers.begin() + 1, o.dimmers.end());
    }
    const std::vector<uint8_t> packed = encodeZeroRuns(raw);
    std::vector<uint8_t> payload;
    payload.reserve(packed.size() + 2);
    payload.push_back(static_cast<uint8_t>(packed.size() >> 8));
    payload.push_back(static_cast<uint8_t>(packed.size() & 0xFF));
    payload.insert(payload.end(), packed.begin(), packed.end());
    return payload;
}

struct LiveCase {
    const char* name;
    std::map<int, uint8_t> levels;
    std::map<int, uint8_t> relays;
    bool dimmerBlock;
    std::array<uint8_t, 9> dimmers;
};

LiveOutput outputOf(const LiveCase& c)
{
    LiveOutput o;
    for (auto [a, v] : c.levels)
        o.levels[a] = v;
    for (auto [j, v] : c.relays)
        o.relays[j] = v;
    o.dimmerBlock = c.dimmerBlock;
    if (c.dimmerBlock)
        o.dimmers = c.dimmers;
    return o;
}

const LiveCase kLiveCases[] = {
    {"Dark", {}, {}, false, {}},
    // Runs longer than 250 zeros are split by the packer; the ends of the universe matter.
    {"EdgesAndLongRuns", {{1, 255}, {300, 17}, {512, 9}}, {}, false, {}},
    // FE is escaped as FE FF; it must come back as a level, not start a run.
    {"FeLevels", {{2, 0xFE}, {3, 0xFE}, {100, 0xFF}, {511, 0xFE}}, {{1, 1}, {24, 0xFE}}, false, {}},
    // Single zeros between levels stay literal.
    {"AlternatingZeros", {{10, 5}, {12, 6}, {14, 0xFE}, {16, 7}}, {{2, 1}, {4, 1}}, false, {}},
    {"RelaysDebugAndScene", {{7, 128}}, {{1, 1}, {3, 255}, {23, 1}}, false, {}},
    {"DimmerBlock", {{5, 40}}, {{12, 1}}, true, {0, 10, 0, 0, 0xFE, 255, 0, 0, 1}},
    // A last dimmer of zero: the packer's final byte is a literal zero.
    {"DimmerBlockEndingInZero", {}, {}, true, {0, 1, 2, 3, 4, 5, 6, 7, 0}},
    {"DimmerBlockEndingInFe", {{512, 0xFE}}, {{24, 1}}, true, {0, 0, 0, 0, 0, 0, 0, 0, 0xFE}},
};

class LiveFrameDecodeTest : public ::testing::TestWithParam<LiveCase> {};

TEST_P(LiveFrameDecodeTest, ControllerOutputsExactlyWhatTheToolPacked)
{
    rz::test::FakeClock clock;
    Controller controller(clock);
    test::RecordingListener listener;
    controller.setListener(&listener);
    const LiveOutput expected = outputOf(GetParam());

    controller.receive(link::buildFrame(kLiveFrameCommand, livePayload(expected)));

    EXPECT_EQ(controller.output(), expected);
    EXPECT_EQ(controller.live().framesApplied(), 1u);
    ASSERT_FALSE(listener.events.empty());
    ASSERT_TRUE(listener.events[0].output.has_value()) << "the frame event carries the output";
    EXPECT_EQ(*listener.events[0].output, expected);
    EXPECT_TRUE(controller.takeOutput().empty()) << "live frames are not answered";
}

INSTANTIATE_TEST_SUITE_P(Universes, LiveFrameDecodeTest, ::testing::ValuesIn(kLiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LiveFrameDecode, AllZeroFrameOfTheToolIsSevenPackedBytes)
{
    // 535 zeros in runs of 250, 250, 35, then the final zero as a literal.
    const std::vector<uint8_t> payload{0x00, 0x07, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x23, 0x00};
    const LiveFrameDecode d = decodeLiveFrame(payload);
    ASSERT_TRUE(d.output);
    EXPECT_EQ(*d.output, LiveOutput{});
}

struct BadLiveCase {
    const char* name;
    std::vector<uint8_t> payload;
    LiveFrameError error;
};

const BadLiveCase kBadLiveCases[] = {
    {"Empty", {}, LiveFrameError::LengthMismatch},
    {"LengthOnly", {0x00, 0x00}, LiveFrameError::LengthMismatch},
    {"LengthTooLong", {0x00, 0x08, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x23, 0x00}, LiveFrameError::LengthMismatch},
    {"LengthTooShort", {0x00, 0x06, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x23, 0x00}, LiveFrameError::LengthMismatch},
    {"RunCountZero", {0x00, 0x03, 0xFE, 0x00, 0x00}, LiveFrameError::BadPacking},
    {"RunCountAbove250", {0x00, 0x03, 0xFE, 0xFB, 0x00}, LiveFrameError::BadPacking},
    {"OneByteShort", {0x00, 0x07, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x22, 0x00}, LiveFrameError::BadLayout},
    {"OneByteLong", {0x00, 0x07, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x24, 0x00}, LiveFrameError::BadLayout},
    // 545 bytes without the A8 marker at byte 537.
    {"DimmerSizeWithoutMarker", {0x00, 0x07, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x2C, 0x00}, LiveFrameError::BadLayout},
};

class LiveFrameRejectTest : public ::testing::TestWithParam<BadLiveCase> {};

TEST_P(LiveFrameRejectTest, MalformedFrameLeavesTheOutputAsItWas)
{
    rz::test::FakeClock clock;
    Controller controller(clock);
    LiveOutput before;
    before.levels[1] = 99;
    before.relays[5] = 1;
    controller.receive(link::buildFrame(kLiveFrameCommand, livePayload(before)));
    test::RecordingListener listener;
    controller.setListener(&listener);

    controller.receive(link::buildFrame(kLiveFrameCommand, GetParam().payload));

    EXPECT_EQ(decodeLiveFrame(GetParam().payload).error, GetParam().error);
    EXPECT_EQ(controller.output(), before);
    EXPECT_EQ(controller.live().framesRejected(), 1u);
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[1].kind, EventKind::LiveFrameRejected);
    EXPECT_EQ(listener.events[1].liveError, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Payloads, LiveFrameRejectTest, ::testing::ValuesIn(kBadLiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LiveOutputState, ChangesAreReportedOnceAndARestartGoesDark)
{
    rz::test::FakeClock clock;
    Controller controller(clock);
    test::RecordingListener listener;
    controller.setListener(&listener);
    LiveOutput lit;
    lit.levels[42] = 200;
    lit.dimmerBlock = true;
    lit.dimmers[8] = 3;
    const auto f = link::buildFrame(kLiveFrameCommand, livePayload(lit));

    controller.receive(f);
    controller.receive(f); // the tool repeats the same frame ten times a second
    int changes = 0;
    for (const auto& e : listener.events)
        changes += e.kind == EventKind::OutputChanged;
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(controller.live().framesApplied(), 2u);

    controller.receive(frame(0xC4));
    EXPECT_EQ(controller.output(), LiveOutput{});
}

} // namespace
} // namespace rz::sim
