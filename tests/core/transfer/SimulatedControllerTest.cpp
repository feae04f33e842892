// The simulated controller's side of file transfer, firmware loading and queries, frame by frame.
#include "core/transfer/FirmwareUpgrade.h"
#include "core/transfer/TransferMessages.h"
#include "sim/Controller.h"
#include "support/Fakes.h"

#include "core/link/Frame.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using Bytes = std::vector<uint8_t>;

struct Reply {
    uint8_t command;
    Bytes payload;
    bool operator==(const Reply&) const = default;
};

struct SimTest : ::testing::Test {
    std::vector<Reply> send(uint8_t command, const Bytes& payload = {})
    {
        controller.receive(link::buildFrame(command, payload));
        link::FrameParser parser;
        parser.append(controller.takeOutput());
        std::vector<Reply> replies;
        parser.parse([&](uint8_t c, std::span<const uint8_t> p) { replies.push_back({c, {p.begin(), p.end()}}); });
        return replies;
    }
    Bytes only(uint8_t command, const Bytes& payload = {})
    {
        const auto r = send(command, payload);
        EXPECT_EQ(r.size(), 1u);
        EXPECT_TRUE(r.empty() || r[0].command == command);
        return r.empty() ? Bytes{} : r[0].payload;
    }

    rz::test::FakeClock clock{100};
    sim::Controller controller{clock};
    sim::FileStore& store() { return controller.transfer().files; }
};

TEST_F(SimTest, DownloadIsKeptOnlyWhenLengthAndChecksumMatch)
{
    const Bytes file{1, 0, 0, 0, 2, 0xFE};
    for (bool rightChecksum : {false, true}) {
        const uint16_t sum = checksum16(file) + (rightChecksum ? 0 : 1);
        only(0xD0, downloadStartPayload(6, sum, 3));
        EXPECT_EQ(only(0xD8), statusReplyPayload({kReceivingStatus, 0}));
        only(0xD1, downloadBlockPayload(file));
        EXPECT_EQ(only(0xD8), statusReplyPayload({kReceivingStatus, 6}));
        EXPECT_EQ(only(0xD2, verifyPayload(3, std::nullopt)), Bytes{rightChecksum ? uint8_t{0x66} : uint8_t{0}});
        EXPECT_EQ(store().file(3) != nullptr, rightChecksum);
        EXPECT_EQ(only(0xD8).at(0), 0x00) << "no longer receiving";
    }
    EXPECT_EQ(*store().file(3), file);
}

TEST_F(SimTest, VerificationAskedAgainAnswersAsTheFirstUntilTheNextStart)
{
    const Bytes file{1, 2, 3};
    for (bool rightChecksum : {false, true}) {
        const uint16_t sum = checksum16(file) + (rightChecksum ? 0 : 1);
        only(0xD0, downloadStartPayload(3, sum, 1));
        only(0xD1, downloadBlockPayload(file));
        const Bytes code{rightChecksum ? uint8_t{0x66} : uint8_t{0}};
        EXPECT_EQ(only(0xD2, verifyPayload(1, std::nullopt)), code);
        EXPECT_EQ(only(0xD2, verifyPayload(1, 9)), code) << "asked again";
        EXPECT_EQ(store().switchedToScene(), rightChecksum ? std::optional<uint8_t>(9) : std::nullopt);
    }
    EXPECT_EQ(store().verifiedDownloads(), 1u) << "one download, verified twice";
    EXPECT_TRUE(send(0xC4).empty());
    EXPECT_EQ(only(0xD2, verifyPayload(1, std::nullopt)), Bytes{0}) << "a restart forgets it";
}

TEST_F(SimTest, BlocksBeyondTheAnnouncedLengthOrBrokenAreNeitherKeptNorAnswered)
{
    only(0xD0, downloadStartPayload(4, 0, 1));
    EXPECT_TRUE(send(0xD1, downloadBlockPayload(Bytes(5, 1))).empty());
    EXPECT_TRUE(send(0xD1, Bytes{0, 4, 0, 9, 1}).empty());
    EXPECT_EQ(only(0xD8), statusReplyPayload({kReceivingStatus, 0}));
    EXPECT_TRUE(send(0xD1).empty());
}

TEST_F(SimTest, UploadServesTheStoredFileByAddress)
{
    const Bytes file = {10, 20, 30, 40, 50};
    store().preload(4, file);
    const uint32_t base = sim::FileStore::baseAddress(4);
    EXPECT_EQ(only(0xD3, {4}), uploadInfoPayload({4, 1, base, 5}));
    EXPECT_EQ(only(0xD3, {2}), uploadInfoPayload({2, 0, sim::FileStore::baseAddress(2), 0}));
    EXPECT_EQ(only(0xD4, uploadBlockRequest(base + 1, 3)), (Bytes{20, 30, 40}));
    EXPECT_EQ(only(0xD4, uploadBlockRequest(base + 3, 512)), (Bytes{40, 50})) << "what there is";
    EXPECT_EQ(only(0xD4, uploadBlockRequest(base + 9, 2)), Bytes{});
}

TEST_F(SimTest, LoaderAnswersOnlyForAWhileAfterARestart)
{
    const Bytes hello(kLoaderHandshake.begin(), kLoaderHandshake.end());
    const Bytes answer(kLoaderHandshakeReply.begin(), kLoaderHandshakeReply.end());
    EXPECT_TRUE(send(0xC4, hello).empty()) << "the main program does not answer";
    EXPECT_TRUE(send(0xF0, firmwareStartPayload(1, 1)).empty());

    send(0xC4); // restart
    EXPECT_EQ(controller.restarts(), 1u);
    clock.advance(sim::kLoaderListenMs + 1);
    EXPECT_TRUE(send(0xC4, hello).empty()) << "too late";

    send(0xC4);
    clock.advance(sim::kLoaderListenMs);
    EXPECT_EQ(only(0xC4, hello), answer);
    clock.advance(60'000);
    const Bytes image{1, 2, 3};
    EXPECT_EQ(only(0xF0, firmwareStartPayload(3, checksum16(image))), Bytes{}) << "in charge now";
    EXPECT_EQ(only(0xF1, firmwareBlockPayload(image)), Bytes{});
    EXPECT_TRUE(send(0xF1, firmwareBlockPayload(image)).empty()) << "beyond the announced length";
    EXPECT_EQ(only(0xF2), Bytes{0x66});
    EXPECT_EQ(controller.transfer().loader.installedImage(), image);
    EXPECT_TRUE(send(0xC4, hello).empty()) << "the new program runs";
}

TEST_F(SimTest, QueriesAnswerWithTheirSubCommandFirst)
{
    controller.transfer().queries.setVersionText("V2");
    EXPECT_EQ(only(0xCE, {0x21}), (Bytes{0x21, 'V', '2'}));
    controller.transfer().queries.setInformation(u"A");
    EXPECT_EQ(only(0xCE, {0x26}), (Bytes{0x26, 0x66, 1, 0x00, 0x41}));
    controller.transfer().queries.setInformation(std::nullopt);
    EXPECT_EQ(only(0xCE, {0x26}), (Bytes{0x26, 0x44}));
    store().preload(3, {1});
    controller.transfer().queries.setFileNumbers(4, 12);
    EXPECT_EQ(only(0xCE, {0x28}), (Bytes{0x28, 0, 0, 1, 12}));
}

} // namespace
} // namespace rz::transfer
