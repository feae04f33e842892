#include "SimTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

using test::concat;
using test::frame;
using test::parseAsPc;
using test::ParsedFrame;

class ControllerTest : public ::testing::Test {
protected:
    ControllerTest() { controller.setListener(&listener); }
    void send(const std::vector<uint8_t>& bytes) { controller.receive(bytes); }

    rz::test::FakeClock clock{1000};
    Controller controller{clock};
    test::RecordingListener listener;
};

TEST_F(ControllerTest, ConnectRequestIsAnsweredWithAnEmptyC0Frame)
{
    send(frame(0xC0));
    // FA F5 AA 55 | length 00 08 | C0 | checksum 00+08+C0+80 = 0x148 -> 48
    EXPECT_EQ(controller.takeOutput(),
              (std::vector<uint8_t>{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x08, 0xC0, 0x48}));
    EXPECT_EQ(controller.handshake().handshakes(), 1u);
    EXPECT_TRUE(controller.takeOutput().empty()) << "output is handed out once";
}

TEST_F(ControllerTest, KeepAliveAndPollAreCountedWithoutAnswer)
{
    send(concat({frame(0xC1), frame(0xCE, {0x13}), frame(0xC1)}));
    EXPECT_TRUE(controller.takeOutput().empty());
    EXPECT_EQ(controller.framesReceived(0xC1), 2u);
    EXPECT_EQ(controller.framesReceived(0xCE, 0x13), 1u);
    EXPECT_EQ(controller.framesReceived(0xCE), 1u);
    EXPECT_EQ(controller.counters().goodFrames, 3u);
}

TEST_F(ControllerTest, EmptyC4RestartsEachTimeButTheLoaderHandshakeDoesNot)
{
    // The tool says goodbye with three C4 in a row.
    send(concat({frame(0xC4), frame(0xC4), frame(0xC4)}));
    EXPECT_EQ(controller.restarts(), 3u);
    send(frame(0xC4, {0xF1, 0xF2, 0xF3, 0xF4, 0xF5}));
    EXPECT_EQ(controller.restarts(), 3u);
    EXPECT_EQ(controller.framesReceived(0xC4), 4u);
}

TEST_F(ControllerTest, FrameWithBadChecksumIsDroppedWholeAndTheNextOneStillCounts)
{
    auto bad = frame(0xC0);
    bad.back() ^= 0x01;
    send(concat({bad, frame(0xC0)}));
    EXPECT_EQ(controller.counters().badChecksums, 1u);
    EXPECT_EQ(controller.handshake().handshakes(), 1u);
    EXPECT_EQ(parseAsPc(controller.takeOutput()).size(), 1u);
}

TEST_F(ControllerTest, FramesAreFoundBehindGarbageFalseHeadersAndAcrossPieces)
{
    const std::vector<uint8_t> falseHeader{0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x03, 0xFA};
    const std::vector<uint8_t> overlong{0xFA, 0xF5, 0xAA, 0x55, 0x10, 0x09, 0x00, 0x00};
    const auto stream = concat({{0x00, 0xFA, 0x13}, falseHeader, overlong, frame(0xC0),
                                frame(0xCE, {0x13})});
    // Byte by byte: every frame boundary falls between deliveries at some point.
    for (uint8_t b : stream)
        controller.receive(std::span<const uint8_t>(&b, 1));
    EXPECT_EQ(controller.handshake().handshakes(), 1u);
    EXPECT_EQ(controller.framesReceived(0xCE, 0x13), 1u);
    EXPECT_EQ(controller.counters().badLengths, 2u);
    EXPECT_EQ(controller.counters().goodFrames, 2u);
}

TEST_F(ControllerTest, TakesFramesUpToTheBlockSizeAndRejectsLongerOnes)
{
    std::vector<uint8_t> block(kMaxControllerFrame - 8, 0x5A);
    send(link::buildFrame(0x77, block));
    ASSERT_EQ(controller.lastFrames().size(), 1u);
    EXPECT_EQ(controller.lastFrames().back().payload, block);

    block.push_back(0x5A);
    send(concat({link::buildFrame(0x77, block), frame(0xC0)}));
    EXPECT_EQ(controller.framesReceived(0x77), 1u);
    EXPECT_GE(controller.counters().badLengths, 1u);
    EXPECT_EQ(controller.handshake().handshakes(), 1u) << "the frame behind is still found";
}

TEST_F(ControllerTest, PartialFrameIsAbandonedAfterASilence)
{
    const auto c0 = frame(0xC0);
    send({c0.begin(), c0.begin() + 5});
    clock.advance(kPartialFrameTimeoutMs);
    send({c0.begin() + 5, c0.end()});
    EXPECT_EQ(controller.handshake().handshakes(), 1u) << "a pause up to the limit is fine";

    send({c0.begin(), c0.begin() + 5});
    clock.advance(kPartialFrameTimeoutMs + 1);
    send(c0);
    EXPECT_EQ(controller.counters().abandonedPartials, 1u);
    EXPECT_EQ(controller.handshake().handshakes(), 2u);
}

TEST_F(ControllerTest, RemembersTheMostRecentFramesOnly)
{
    for (int i = 0; i < static_cast<int>(kRememberedFrames) + 5; ++i)
        send(frame(0xCE, {static_cast<uint8_t>(i)}));
    ASSERT_EQ(controller.lastFrames().size(), kRememberedFrames);
    EXPECT_EQ(controller.lastFrames().front().payload[0], 5);
    EXPECT_EQ(controller.lastFrames().back().payload[0], static_cast<int>(kRememberedFrames) + 4);
}

TEST_F(ControllerTest, EventsTellTheFrameBeforeWhatItCaused)
{
    auto bad = frame(0xC1);
    bad.back() ^= 0xFF;
    send(concat({frame(0xC0), bad, frame(0xC4), frame(0x77, {1, 2})}));
    EXPECT_EQ(listener.kinds(),
              (std::vector<EventKind>{EventKind::FrameReceived, EventKind::ReplySent,
                                      EventKind::Handshake, EventKind::FrameDropped,
                                      EventKind::FrameReceived, EventKind::Restart,
                                      EventKind::FrameReceived}));
    EXPECT_EQ(listener.events[0].command, 0xC0);
    EXPECT_EQ(listener.events[3].dropReason, DropReason::BadChecksum);
    EXPECT_EQ(listener.events[3].length, 8u);
    EXPECT_EQ(listener.events[5].count, 1u);
    EXPECT_EQ(listener.events[6].payload, (std::vector<uint8_t>{1, 2}));
}

// A family added later plugs in by command, or by command and first payload byte.
class EchoFamily : public CommandFamily {
public:
    void handle(const ReceivedFrame& f, FamilyContext& context) override
    {
        context.reply(f.command, f.payload);
    }
    void reset() override { ++resets; }
    int resets = 0;
};

TEST_F(ControllerTest, FurtherFamiliesRouteByCommandOrSubCommand)
{
    EchoFamily echo;
    controller.route(0xD0, echo);
    controller.route(0xCE, 0x21, echo);
    send(concat({frame(0xD0, {7}), frame(0xCE, {0x21}), frame(0xCE, {0x13}), frame(0xCE, {0x22})}));
    EXPECT_EQ(parseAsPc(controller.takeOutput()),
              (std::vector<ParsedFrame>{{0xD0, {7}}, {0xCE, {0x21}}}));
    send(frame(0xC4));
    EXPECT_EQ(echo.resets, 1);
}

} // namespace
} // namespace rz::sim

namespace rz::sim {
namespace {

// Seeded noise with good frames mixed in, cut into random pieces.
struct NoisyStream {
    std::vector<uint8_t> bytes;
    int frames = 0;
};

NoisyStream noisyStream(uint64_t seed, bool noiseMayStartAHeader)
{
    SplitMix64 random(seed);
    NoisyStream s;
    for (int i = 0; i < 300; ++i) {
        const int noise = static_cast<int>(random.next() % 20);
        for (int k = 0; k < noise; ++k) {
            auto b = static_cast<uint8_t>(random.next());
            if (b == 0xFA && !noiseMayStartAHeader)
                b = 0xFB;
            s.bytes.push_back(b);
        }
        std::vector<uint8_t> payload(random.next() % 40);
        for (auto& b : payload)
            b = static_cast<uint8_t>(random.next());
        const auto f = link::buildFrame(0xCE, payload);
        s.bytes.insert(s.bytes.end(), f.begin(), f.end());
        ++s.frames;
    }
    return s;
}

void feedInPieces(Controller& controller, const std::vector<uint8_t>& bytes, uint64_t seed)
{
    SplitMix64 random(seed);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min<std::size_t>(1 + random.next() % 64, bytes.size() - at);
        controller.receive(std::span<const uint8_t>(bytes).subspan(at, n));
        at += n;
    }
}

TEST(ControllerStream, EveryFrameIsFoundInNoiseThatCannotStartAHeader)
{
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        rz::test::FakeClock clock;
        Controller controller(clock);
        const NoisyStream s = noisyStream(seed, false);
        feedInPieces(controller, s.bytes, seed);
        EXPECT_EQ(controller.framesReceived(0xCE), static_cast<uint32_t>(s.frames)) << seed;
        EXPECT_EQ(controller.counters().badChecksums + controller.counters().badLengths, 0u);
    }
}

TEST(ControllerStream, ArbitraryNoiseNeverStallsTheReader)
{
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        rz::test::FakeClock clock;
        Controller controller(clock);
        const NoisyStream s = noisyStream(seed, true);
        feedInPieces(controller, s.bytes, seed);
        // False headers may swallow a few frames, but the reader keeps finding the rest.
        EXPECT_GT(controller.framesReceived(0xCE), static_cast<uint32_t>(s.frames) * 8 / 10) << seed;
        // A clean frame after the noise is always found once a silence ends a partial one.
        clock.advance(kPartialFrameTimeoutMs + 1);
        controller.receive(frame(0xC0));
        EXPECT_EQ(controller.handshake().handshakes(), 1u) << seed;
    }
}

} // namespace
} // namespace rz::sim
