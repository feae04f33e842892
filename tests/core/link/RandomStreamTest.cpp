// Seeded random byte streams: garbage mixed with valid and corrupted frames, delivered in
// random pieces. Every valid frame that garbage does not overlap must come out, in order,
// and the parser must never leave work undone or read outside its buffer (run under ASan).
#include "core/link/Link.h"

#include "FakeTransport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace rz;
using namespace rz::link;
using Bytes = std::vector<uint8_t>;

namespace {

struct Frame {
    uint8_t command;
    Bytes payload;
    bool operator==(const Frame&) const = default;
};

bool holdsHeader(const Bytes& b)
{
    return std::search(b.begin(), b.end(), kFrameHeader.begin(), kFrameHeader.end()) != b.end();
}

// Garbage rich in header bytes and short length fields, but never a whole header: a whole
// header inside garbage would overlap the frames behind it by design.
Bytes garbage(std::mt19937& rng)
{
    static constexpr uint8_t likely[] = {0xFA, 0xF5, 0xAA, 0x55, 0x00, 0x04, 0xB1, 0x07};
    std::uniform_int_distribution<int> size(0, 700), byte(0, 255), pick(0, 7), coin(0, 1);
    Bytes g;
    do {
        g.assign(static_cast<std::size_t>(size(rng)), 0);
        for (auto& b : g)
            b = coin(rng) ? likely[pick(rng)] : static_cast<uint8_t>(byte(rng));
    } while (holdsHeader(g));
    return g;
}

struct Stream {
    Bytes bytes;
    std::vector<Frame> expected;
};

Stream makeStream(uint32_t seed, int pieces)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> kind(0, 9), byte(0, 255);
    std::uniform_int_distribution<std::size_t> payloadSize(0, kMaxReceivedFrame - kFrameOverhead);
    Stream s;
    for (int i = 0; i < pieces; ++i) {
        const int k = kind(rng);
        if (k < 3) {
            const Bytes g = garbage(rng);
            s.bytes.insert(s.bytes.end(), g.begin(), g.end());
            continue;
        }
        Frame f{static_cast<uint8_t>(byte(rng)), {}};
        f.payload.resize(k < 8 ? payloadSize(rng) % 40 : payloadSize(rng)); // mostly short
        for (auto& b : f.payload)
            b = static_cast<uint8_t>(byte(rng));
        Bytes wire = buildFrame(f.command, f.payload);
        if (k == 9) {
            wire.back() ^= static_cast<uint8_t>(1 + byte(rng) % 255); // a wrong checksum
        } else {
            s.expected.push_back(f);
        }
        s.bytes.insert(s.bytes.end(), wire.begin(), wire.end());
    }
    return s;
}

// What a parser may leave behind: fewer than 8 bytes, or the start of a frame still arriving.
void expectNoWorkLeft(std::span<const uint8_t> held)
{
    if (held.size() < kFrameOverhead)
        return;
    ASSERT_TRUE(std::equal(kFrameHeader.begin(), kFrameHeader.end(), held.begin()));
    const std::size_t length = std::size_t{held[4]} << 8 | held[5];
    EXPECT_GE(length, kFrameOverhead);
    EXPECT_LE(length, kMaxReceivedFrame);
    EXPECT_LT(held.size(), length);
}

} // namespace

TEST(RandomStream, EveryValidFrameIsDispatchedWhateverThePieces)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const Stream s = makeStream(seed, 200);
        test::FakeClock clock;
        test::FakeYield yield{clock};
        test::FakeTransport transport;
        Link link{clock, yield};
        link.setTransport(&transport);
        std::vector<Frame> seen;
        link.setReceiver(Link::ReceiverSlot::FileTransfer, [&](uint8_t c, std::span<const uint8_t> p) {
            seen.push_back({c, Bytes(p.begin(), p.end())});
        });

        std::mt19937 rng(seed * 7919u);
        std::uniform_int_distribution<std::size_t> pieceSize(1, seed % 2 ? 3000 : 40);
        for (std::size_t pos = 0; pos < s.bytes.size();) {
            const std::size_t n = std::min(pieceSize(rng), s.bytes.size() - pos);
            transport.push(Bytes(s.bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                 s.bytes.begin() + static_cast<std::ptrdiff_t>(pos + n)));
            pos += n;
        }
        link.setTransport(nullptr);
        ASSERT_EQ(seen.size(), s.expected.size());
        EXPECT_TRUE(seen == s.expected);
    }
}

TEST(RandomStream, TheParserNeverStallsOnArbitraryBytes)
{
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> byte(0, 255), headerish(0, 3), coin(0, 2);
        std::uniform_int_distribution<std::size_t> pieceSize(1, 700);
        FrameParser parser;
        std::size_t frames = 0;
        const FrameParser::Handler count = [&](uint8_t, std::span<const uint8_t> p) {
            EXPECT_LE(p.size() + kFrameOverhead, kMaxReceivedFrame);
            ++frames;
        };
        for (int piece = 0; piece < 200; ++piece) {
            Bytes b(pieceSize(rng));
            for (auto& x : b)
                x = coin(rng) ? static_cast<uint8_t>(byte(rng)) : kFrameHeader[headerish(rng)];
            if (piece % 5 == 0) {
                const Bytes f = buildFrame(0xCE, Bytes(static_cast<std::size_t>(byte(rng)), 0x14));
                b.insert(b.end(), f.begin(), f.end());
            }
            parser.append(b);
            while (parser.parse(count) == FrameParser::ParseStop::PassLimit) {
            }
            expectNoWorkLeft(parser.pending());
        }
        EXPECT_GT(frames, 0u);
    }
}
