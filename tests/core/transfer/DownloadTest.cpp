#include "core/transfer/FileTransfer.h"

#include "TransferRig.h"
#include "core/transfer/TransferMessages.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using test::Bytes;
using test::Rig;
constexpr uint8_t kD0 = 0xD0, kD1 = 0xD1, kD2 = 0xD2, kD8 = 0xD8;

struct DownloadTest : ::testing::Test {
    // Writes the file and downloads it as kind 1 (or `kind`).
    TransferResult download(const Bytes& bytes, uint8_t kind = 1, std::optional<uint8_t> scene = {})
    {
        rz::test::writeAll(path, bytes);
        return transfer.downloadFile(kind, path, rig.box, scene);
    }
    std::u16string header(const std::u16string& size) const
    {
        return u"->文件:" + path.u16string() + u"\r\n->读取文件\r\n->文件大小:" + size +
               u"\r\n->握手成功\r\n";
    }

    Rig rig;
    bool connected = true;
    FileTransfer transfer{rig.link, [this] { return connected; }};
    std::filesystem::path path = rig.dir / "show.K_F";
};

TEST_F(DownloadTest, FileGoesInPackedBlocksAndIsVerified)
{
    const struct {
        std::size_t size;
        std::vector<std::size_t> rawLengths;
        std::u16string sizeText;
    } cases[] = {
        {1024, {512, 512}, u"1.0K"},
        {1025, {512, 512, 1}, u"1.0K"},
        {12800, std::vector<std::size_t>(25, 512), u"12.5K"},
    };
    for (const auto& c : cases) {
        Rig rig;
        FileTransfer t(rig.link, [] { return true; });
        const Bytes file = test::sampleFile(c.size);
        rz::test::writeAll(path, file);
        const TransferResult result = t.downloadFile(1, path, rig.box);
        SCOPED_TRACE(c.size);

        EXPECT_EQ(result, TransferResult::Succeeded);
        const std::u16string marks(c.rawLengths.size(), u'>');
        EXPECT_EQ(rig.box.text, header(c.sizeText) + marks +
                                    u"\r\n->校验中...\r\n->校验成功\r\n->下载成功\r\n");
        const auto start = rig.recorder.framesOf(kD0);
        ASSERT_EQ(start.size(), 1u);
        EXPECT_EQ(start[0].payload,
                  downloadStartPayload(static_cast<uint32_t>(c.size), checksum16(file), 1));
        const auto blocks = rig.recorder.framesOf(kD1);
        ASSERT_EQ(blocks.size(), c.rawLengths.size());
        for (std::size_t i = 0; i < blocks.size(); ++i)
            EXPECT_EQ(blocks[i].payload[0] << 8 | blocks[i].payload[1], c.rawLengths[i]) << i;
        ASSERT_NE(rig.store().file(1), nullptr);
        EXPECT_EQ(*rig.store().file(1), file);
    }
}

TEST_F(DownloadTest, LastBlockOfOneByteCarriesRawAndEncodedLengthOne)
{
    Bytes file = test::sampleFile(1025);
    file.back() = 0x5A;
    EXPECT_EQ(download(file), TransferResult::Succeeded);
    const auto blocks = rig.recorder.framesOf(kD1);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[2].payload, (Bytes{0x00, 0x01, 0x00, 0x01, 0x5A}));
}

TEST_F(DownloadTest, ZeroBlockIsPackedIntoSevenBytes)
{
    const TransferResult result = download(Bytes(512, 0));
    const auto blocks = rig.recorder.framesOf(kD1);
    ASSERT_EQ(blocks.size(), 1u);
    // raw length 512, encoded length 7, 250 + 250 + 11 zeros, then the last byte as it is
    EXPECT_EQ(blocks[0].payload, (Bytes{0x02, 0x00, 0x00, 0x07, 0xFE, 0xFA, 0xFE, 0xFA, 0xFE, 0x0B, 0x00}));
    EXPECT_EQ(result, TransferResult::Succeeded);
}

TEST(DownloadRecovery, LostBlockReplyIsRecoveredByTheStatusQueryWithoutSendingTwice)
{
    sim::FaultPolicy faults;
    faults.dropNth = 2; // D0's reply is the first, the first D1 reply the second
    Rig rig(faults);
    FileTransfer t(rig.link, [] { return true; });
    const auto path = rig.dir / "a.KQB";
    rz::test::writeAll(path, test::sampleFile(1024));
    const TransferResult result = t.downloadFile(2, path, rig.box);

    EXPECT_NE(rig.box.text.find(u"->握手成功\r\n>>\r\n->校验中"), std::u16string::npos) << "one > per block";
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 2u);
    EXPECT_EQ(rig.recorder.framesOf(kD8).size(), 1u);
    EXPECT_EQ(result, TransferResult::Succeeded);
}

TEST_F(DownloadTest, ShortCountInTheStatusMarksXAndResendsTheBlock)
{
    rig.store().loseIncomingBlocks(1);
    const Bytes file = test::sampleFile(1024);
    const TransferResult result = download(file);
    EXPECT_NE(rig.box.text.find(u"->握手成功\r\nX>>\r\n->校验中"), std::u16string::npos) << rig.box.text.size();
    const auto blocks = rig.recorder.framesOf(kD1);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].payload, blocks[1].payload) << "the same block again";
    EXPECT_EQ(result, TransferResult::Succeeded);
    EXPECT_EQ(*rig.store().file(1), file);
}

TEST_F(DownloadTest, FourthUnansweredBlockEndsWithHandshakeFailedAndNoVerification)
{
    rig.store().loseIncomingBlocks(4);
    const TransferResult result = download(test::sampleFile(1024));
    const std::u16string tail = u"->握手成功\r\nXXX->握手失败\r\n";
    ASSERT_GE(rig.box.text.size(), tail.size());
    EXPECT_EQ(rig.box.text.substr(rig.box.text.size() - tail.size()), tail);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 4u);
    EXPECT_TRUE(rig.recorder.framesOf(kD2).empty());
    EXPECT_EQ(result, TransferResult::Failed);
}

TEST_F(DownloadTest, ControllerRestartedMidwayIsNotReceivingAnyMore)
{
    transfer.onProgress = [&](uint64_t done, uint64_t) {
        if (done == 512)
            rig.restartController();
    };
    const TransferResult result = download(test::sampleFile(2048));
    // The first block arrived; every status answer after the restart says "not receiving".
    EXPECT_NE(rig.box.text.find(u"->握手成功\r\n>XXX->握手失败\r\n"), std::u16string::npos);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 5u);
    EXPECT_EQ(result, TransferResult::Failed);
}

TEST_F(DownloadTest, UnansweredStatusQueriesMoveOnAndTheVerificationCatchesTheGap)
{
    test::ScriptedFamily silent;
    rig.controller.route(kD8, silent);
    rig.store().loseIncomingBlocks(1);
    const TransferResult result = download(test::sampleFile(1024));
    EXPECT_EQ(rig.recorder.framesOf(kD8).size(), 4u);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 2u) << "the lost block is not sent again";
    EXPECT_NE(rig.box.text.find(u"->握手成功\r\n>\r\n->校验中...\r\n->校验失败\r\n"),
              std::u16string::npos);
    EXPECT_EQ(result, TransferResult::Failed);
}

TEST_F(DownloadTest, FailuresBeforeTheBlocksSendNothingMore)
{
    // Missing file: nothing goes out.
    EXPECT_EQ(transfer.downloadFile(1, rig.dir / "none.K_F", rig.box), TransferResult::FileMissing);
    EXPECT_EQ(rig.box.text, u"->文件:" + (rig.dir / "none.K_F").u16string() +
                                u"\r\n->读取文件\r\n->文件不存在！！！\r\n");
    EXPECT_TRUE(rig.recorder.received.empty());

    // No answer to the start message.
    rig.box.text.clear();
    rig.transport.setOpen(false);
    const TransferResult result = download(test::sampleFile(100));
    EXPECT_EQ(rig.box.text, u"->文件:" + path.u16string() +
                                u"\r\n->读取文件\r\n->文件大小:0.1K\r\n->握手失败\r\n");
    EXPECT_EQ(result, TransferResult::NoAnswer);
}

TEST_F(DownloadTest, VerifyMessageCarriesTheSceneSwitchOnlyForTheShowFile)
{
    const struct {
        uint8_t kind;
        std::optional<uint8_t> scene;
        Bytes firstBytes;
    } cases[] = {
        {1, 7, {0x88, 0x07}},
        {1, std::nullopt, {0x00, 0x00}},
        {2, 7, {0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Rig rig;
        FileTransfer t(rig.link, [] { return true; });
        rz::test::writeAll(path, test::sampleFile(300));
        const TransferResult result = t.downloadFile(c.kind, path, rig.box, c.scene);
        const auto verify = rig.recorder.framesOf(kD2);
        ASSERT_EQ(verify.size(), 1u);
        Bytes expected(10, 0);
        std::copy(c.firstBytes.begin(), c.firstBytes.end(), expected.begin());
        EXPECT_EQ(verify[0].payload, expected) << int(c.kind);
        EXPECT_EQ(rig.store().switchedToScene(), c.firstBytes[0] ? c.scene : std::nullopt);
        EXPECT_EQ(result, TransferResult::Succeeded);
    }
}

TEST_F(DownloadTest, ClosingProgramStopsAfterTheCurrentBlockWithoutVerifying)
{
    std::vector<std::pair<uint64_t, uint64_t>> progress;
    transfer.onProgress = [&](uint64_t done, uint64_t total) { progress.emplace_back(done, total); };
    transfer.programClosing = [&] { return progress.size() >= 3; };
    EXPECT_EQ(download(test::sampleFile(2048)), TransferResult::Cancelled);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 2u);
    EXPECT_TRUE(rig.recorder.framesOf(kD2).empty());
    EXPECT_EQ(rig.box.text, header(u"2.0K") + u">>");
    const std::vector<std::pair<uint64_t, uint64_t>> expected{{0, 2048}, {512, 2048}, {1024, 2048}};
    EXPECT_EQ(progress, expected);
}

TEST_F(DownloadTest, CancelStopsBeforeTheNextBlockWithoutVerifying)
{
    int blocksDone = 0;
    transfer.onProgress = [&](uint64_t done, uint64_t) { blocksDone += done > 0; };
    transfer.cancelRequested = [&] { return blocksDone == 2; };
    EXPECT_EQ(download(test::sampleFile(2048)), TransferResult::Cancelled);
    EXPECT_EQ(rig.box.text, header(u"2.0K") + u">>->已取消\r\n");
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 2u);
    EXPECT_TRUE(rig.recorder.framesOf(kD2).empty());
    EXPECT_EQ(rig.store().file(1), nullptr);
}

TEST_F(DownloadTest, CancelDuringTheRecoveryOfABlockSendsNothingMore)
{
    rig.store().loseIncomingBlocks(1);
    transfer.cancelRequested = [&] { return !rig.recorder.framesOf(kD8).empty(); };
    EXPECT_EQ(download(test::sampleFile(1024)), TransferResult::Cancelled);
    EXPECT_EQ(rig.box.text, header(u"1.0K") + u"X->已取消\r\n");
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 1u) << "the lost block is not sent again";
    EXPECT_EQ(rig.recorder.framesOf(kD8).size(), 1u);
    EXPECT_TRUE(rig.recorder.framesOf(kD2).empty());
}

TEST(DownloadUnderLoss, LostAndCorruptedRepliesAreRecoveredEveryTime)
{
    // Lost block acknowledgements are absorbed by the status queries, lost start and verify
    // answers by asking again; the blocks themselves always arrive, so none goes twice.
    const struct {
        const char* name;
        double drop;
        double corrupt;
    } cases[] = {{"10% dropped", 0.10, 0}, {"30% dropped", 0.30, 0}, {"5% corrupted", 0, 0.05}};
    for (const auto& c : cases) {
        int askedAgain = 0;
        for (uint64_t seed = 1; seed <= 12; ++seed) {
            sim::FaultPolicy faults;
            faults.dropShare = c.drop;
            faults.corruptShare = c.corrupt;
            faults.seed = seed;
            Rig rig(faults);
            FileTransfer t(rig.link, [] { return true; });
            const auto path = rig.dir / "show.K_F";
            const Bytes file = test::sampleFile(100 * 1024, static_cast<uint32_t>(seed));
            rz::test::writeAll(path, file);
            SCOPED_TRACE(testing::Message() << c.name << " seed " << seed);

            EXPECT_EQ(t.downloadFile(1, path, rig.box), TransferResult::Succeeded);
            EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 200u) << "no block went twice";
            ASSERT_NE(rig.store().file(1), nullptr);
            EXPECT_EQ(*rig.store().file(1), file);
            askedAgain += rig.recorder.framesOf(kD0).size() > 1 || rig.recorder.framesOf(kD2).size() > 1;
        }
        EXPECT_GT(askedAgain, 0) << c.name << ": the loss reached the start or the verification";
    }
}

TEST(CheckConnected, TransfersOnALinkNotConnectedSendNothing)
{
    Rig rig;
    FileTransfer t(rig.link, [] { return false; });
    const auto path = rig.dir / "show.K_F";
    rz::test::writeAll(path, test::sampleFile(100));
    EXPECT_EQ(t.downloadFile(1, path, rig.box), TransferResult::NotConnected);
    EXPECT_EQ(t.uploadFile(1, rig.dir / "back.K_F", rig.box), TransferResult::NotConnected);
    EXPECT_EQ(rig.box.text, u"未连接\r\n未连接\r\n");
    EXPECT_TRUE(rig.recorder.received.empty());
    EXPECT_FALSE(std::filesystem::exists(rig.dir / "back.K_F"));
}

TEST(CheckConnected, NotConnectedWritesTheNotice)
{
    for (bool connected : {true, false}) {
        Rig rig;
        FileTransfer t(rig.link, [&] { return connected; });
        EXPECT_EQ(t.checkConnected(rig.box), connected);
        EXPECT_EQ(rig.box.text, connected ? u"" : u"未连接\r\n");
    }
}

} // namespace
} // namespace rz::transfer
