#include "core/transfer/FileTransfer.h"

#include "TransferRig.h"
#include "core/transfer/TransferMessages.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using test::Bytes;
using test::Rig;
constexpr uint8_t kD3 = 0xD3, kD4 = 0xD4;

struct UploadTest : ::testing::Test {
    Rig rig;
    FileTransfer transfer{rig.link, [] { return true; }};
    std::filesystem::path target = rig.dir / "R-QB.KQB";
    const Bytes previous{1, 2, 3};

    UploadTest() { rz::test::writeAll(target, previous); }
    std::u16string failureTail() const { return u"->上传失败\r\n"; }
    bool endsWith(const std::u16string& tail) const
    {
        const auto& t = rig.box.text;
        return t.size() >= tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0;
    }
};

TEST_F(UploadTest, StoredFileComesBackInBlocksAndReplacesTheTarget)
{
    const Bytes file = test::sampleFile(1025);
    rig.store().preload(2, file);
    EXPECT_EQ(transfer.uploadFile(2, target, rig.box), TransferResult::Succeeded);

    EXPECT_EQ(rz::test::readAll(target), file);
    EXPECT_EQ(rig.box.text, u"->准备上传\r\n->读取信息\r\n->文件大小:1.0K\r\n<<<\r\n->数据上传结束\r\n"
                            u"->上传成功\r\n \r\n文件=" + target.u16string() + u"\r\n");
    const auto requests = rig.recorder.framesOf(kD4);
    ASSERT_EQ(requests.size(), 3u);
    const uint32_t base = sim::FileStore::baseAddress(2);
    EXPECT_EQ(requests[0].payload, uploadBlockRequest(base, 512));
    EXPECT_EQ(requests[1].payload, uploadBlockRequest(base + 512, 512));
    EXPECT_EQ(requests[2].payload, uploadBlockRequest(base + 1024, 1));
}

TEST_F(UploadTest, DownloadedFileComesBackUnchanged)
{
    const Bytes file = test::sampleFile(3000);
    const auto source = rig.dir / "mine.AC";
    rz::test::writeAll(source, file);
    ASSERT_EQ(transfer.downloadFile(4, source, rig.box), TransferResult::Succeeded);
    const auto back = rig.dir / "R-IRAC.AC";
    EXPECT_EQ(transfer.uploadFile(4, back, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(rz::test::readAll(back), file);
}

TEST_F(UploadTest, FailuresLeaveTheTargetUntouched)
{
    const struct {
        const char* name;
        // Replaces the controller's D3 or D4 answer; no script = no answer.
        uint8_t command;
        test::ScriptedFamily::Script script;
        std::u16string expectedTail;
        TransferResult result = TransferResult::Failed;
    } cases[] = {
        {"no file of the kind", kD3,
         [](const sim::ReceivedFrame& f, sim::FamilyContext& c) {
             c.reply(kD3, uploadInfoPayload({f.payload[0], 0, 0, 0}));
         },
         u"->读取信息\r\n->数据不存在！！\r\n->上传失败\r\n"},
        {"another kind answers", kD3,
         [](const sim::ReceivedFrame&, sim::FamilyContext& c) {
             c.reply(kD3, uploadInfoPayload({3, 1, 0, 100}));
         },
         u"->数据不存在！！\r\n->上传失败\r\n"},
        {"information too short", kD3,
         [](const sim::ReceivedFrame& f, sim::FamilyContext& c) {
             c.reply(kD3, Bytes{f.payload[0], 1});
         },
         u"->数据不存在！！\r\n->上传失败\r\n"},
        {"no information", kD3, {}, u"->读取信息\r\n->读取失败\r\n->上传失败\r\n", TransferResult::NoAnswer},
        // An empty file would replace the target with nothing: no file kind is ever empty.
        {"present but empty", kD3,
         [](const sim::ReceivedFrame& f, sim::FamilyContext& c) {
             c.reply(kD3, uploadInfoPayload({f.payload[0], 1, 0, 0}));
         },
         u"->读取信息\r\n->数据不存在！！\r\n->上传失败\r\n"},
        {"absurd length", kD3,
         [](const sim::ReceivedFrame& f, sim::FamilyContext& c) {
             c.reply(kD3, uploadInfoPayload({f.payload[0], 1, 0, 0xFFFFFFFFu}));
         },
         u"->数据错误\r\n->上传失败\r\n"},
        {"short block", kD4,
         [](const sim::ReceivedFrame&, sim::FamilyContext& c) { c.reply(kD4, Bytes(100, 9)); },
         u"->文件大小:1.0K\r\n->数据错误\r\n->上传失败\r\n"},
        {"no block", kD4, {}, u"->文件大小:1.0K\r\n->握手失败\r\n->上传失败\r\n", TransferResult::NoAnswer},
    };
    for (const auto& c : cases) {
        Rig rig;
        FileTransfer t(rig.link, [] { return true; });
        rz::test::writeAll(target, previous);
        rig.store().preload(2, test::sampleFile(1024));
        test::ScriptedFamily family(c.script);
        rig.controller.route(c.command, family);

        EXPECT_EQ(t.uploadFile(2, target, rig.box), c.result) << c.name;
        const auto& text = rig.box.text;
        EXPECT_TRUE(text.size() >= c.expectedTail.size() &&
                    text.substr(text.size() - c.expectedTail.size()) == c.expectedTail)
            << c.name;
        EXPECT_EQ(rz::test::readAll(target), previous) << c.name;
    }
}

TEST_F(UploadTest, PresenceZeroFromTheSimulatorWritesNoFile)
{
    const auto fresh = rig.dir / "R-VOD.KVD";
    EXPECT_EQ(transfer.uploadFile(3, fresh, rig.box), TransferResult::Failed);
    EXPECT_EQ(rig.box.text, u"->准备上传\r\n->读取信息\r\n->数据不存在！！\r\n->上传失败\r\n");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_TRUE(rig.recorder.framesOf(kD4).empty());
}

TEST_F(UploadTest, ClosingProgramAbandonsTheUpload)
{
    rig.store().preload(4, test::sampleFile(2000));
    int blocks = 0;
    transfer.onProgress = [&](uint64_t done, uint64_t) { blocks += done > 0; };
    transfer.programClosing = [&] { return blocks == 2; };
    EXPECT_EQ(transfer.uploadFile(4, target, rig.box), TransferResult::Cancelled);
    EXPECT_TRUE(endsWith(u"<<->上传失败\r\n"));
    EXPECT_EQ(rig.recorder.framesOf(kD4).size(), 2u);
    EXPECT_EQ(rz::test::readAll(target), previous);
}

TEST_F(UploadTest, CancelStopsAtTheNextBlockAndWritesNothing)
{
    const struct {
        int cancelAfterBlocks;
        std::u16string tail;
    } cases[] = {
        {2, u"->文件大小:2.0K\r\n<<->已取消\r\n->上传失败\r\n"},
        {4, u"->文件大小:2.0K\r\n<<<<->已取消\r\n->上传失败\r\n"}, // after the last block
    };
    for (const auto& c : cases) {
        Rig rig;
        FileTransfer t(rig.link, [] { return true; });
        rz::test::writeAll(target, previous);
        rig.store().preload(4, test::sampleFile(2000));
        int blocks = 0;
        t.onProgress = [&](uint64_t done, uint64_t) { blocks += done > 0; };
        t.cancelRequested = [&] { return blocks == c.cancelAfterBlocks; };
        EXPECT_EQ(t.uploadFile(4, target, rig.box), TransferResult::Cancelled);
        const auto& text = rig.box.text;
        EXPECT_TRUE(text.size() >= c.tail.size() && text.substr(text.size() - c.tail.size()) == c.tail)
            << c.cancelAfterBlocks;
        EXPECT_EQ(rig.recorder.framesOf(kD4).size(), static_cast<std::size_t>(c.cancelAfterBlocks));
        EXPECT_EQ(rz::test::readAll(target), previous);
    }
}

TEST_F(UploadTest, UnwritableTargetIsNoSuccess)
{
    rig.store().preload(2, test::sampleFile(10));
    const auto blocked = rig.dir / "folder";
    std::filesystem::create_directories(blocked / "inside"); // a folder cannot be replaced by a file
    EXPECT_EQ(transfer.uploadFile(2, blocked, rig.box), TransferResult::NotWritten);
    EXPECT_TRUE(endsWith(u"->数据上传结束\r\n->文件写入失败\r\n->上传失败\r\n"));
}

} // namespace
} // namespace rz::transfer
