// Transfers on links that lose, delay or stop answering: requests asked again, a controller
// that is gone given up on, a late one still served, and a clean link left exactly as it was.
#include "core/transfer/FileTransfer.h"

#include "TransferRig.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using test::Bytes;
using test::Rig;
constexpr uint8_t kD0 = 0xD0, kD1 = 0xD1, kD2 = 0xD2, kD3 = 0xD3, kD4 = 0xD4, kD8 = 0xD8;

// The log with the rig's scratch folder named the same in every rig.
std::u16string logOf(const Rig& rig)
{
    std::u16string text = rig.box.text;
    const std::u16string dir = rig.dir.path().u16string();
    for (auto at = text.find(dir); at != std::u16string::npos; at = text.find(dir, at))
        text.replace(at, dir.size(), u"DIR");
    return text;
}

std::vector<uint8_t> commandsReceived(const Rig& rig)
{
    std::vector<uint8_t> out;
    for (const auto& f : rig.recorder.received)
        out.push_back(f.command);
    return out;
}

// One download and one upload of the same three-block file.
struct RoundTrip {
    explicit RoundTrip(const sim::FaultPolicy& faults = {}) : rig(faults)
    {
        rz::test::writeAll(source, file);
    }
    TransferResult download() { return transfer.downloadFile(2, source, rig.box); }
    TransferResult upload()
    {
        rig.store().preload(3, file);
        return transfer.uploadFile(3, target, rig.box);
    }

    Rig rig;
    FileTransfer transfer{rig.link, [] { return true; }};
    Bytes file = test::sampleFile(1300);
    std::filesystem::path source = rig.dir / "a.KQB";
    std::filesystem::path target = rig.dir / "back.KVD";
};

TEST(LossyLink, CleanLinkCarriesEachRequestOnce)
{
    RoundTrip clean;
    ASSERT_EQ(clean.download(), TransferResult::Succeeded);
    EXPECT_EQ(commandsReceived(clean.rig), (std::vector<uint8_t>{kD0, kD1, kD1, kD1, kD2}));
    clean.rig.recorder.received.clear();
    ASSERT_EQ(clean.upload(), TransferResult::Succeeded);
    EXPECT_EQ(commandsReceived(clean.rig), (std::vector<uint8_t>{kD3, kD4, kD4, kD4}));
}

TEST(LossyLink, LostAnswerIsAskedForAgainAndTheLogStaysTheSame)
{
    RoundTrip clean;
    ASSERT_EQ(clean.download(), TransferResult::Succeeded);
    ASSERT_EQ(clean.upload(), TransferResult::Succeeded);
    const std::u16string cleanLog = logOf(clean.rig);

    // Replies of the download: D0, three D1, D2; of the upload: D3, three D4.
    const struct {
        const char* name;
        uint32_t dropNth;
        std::vector<uint8_t> download;
        std::vector<uint8_t> upload;
    } cases[] = {
        {"start", 1, {kD0, kD0, kD1, kD1, kD1, kD2}, {kD3, kD4, kD4, kD4}},
        {"verification", 5, {kD0, kD1, kD1, kD1, kD2, kD2}, {kD3, kD4, kD4, kD4}},
        {"upload information", 6, {kD0, kD1, kD1, kD1, kD2}, {kD3, kD3, kD4, kD4, kD4}},
        // After a block asked twice, one more D3 makes sure no late D4 answer is on its way.
        {"upload block", 8, {kD0, kD1, kD1, kD1, kD2}, {kD3, kD4, kD4, kD4, kD3, kD4}},
    };
    for (const auto& c : cases) {
        sim::FaultPolicy faults;
        faults.dropNth = c.dropNth;
        RoundTrip lossy(faults);
        EXPECT_EQ(lossy.download(), TransferResult::Succeeded) << c.name;
        EXPECT_EQ(commandsReceived(lossy.rig), c.download) << c.name;
        lossy.rig.recorder.received.clear();
        EXPECT_EQ(lossy.upload(), TransferResult::Succeeded) << c.name;
        EXPECT_EQ(commandsReceived(lossy.rig), c.upload) << c.name;
        EXPECT_EQ(rz::test::readAll(lossy.target), lossy.file) << c.name;
        EXPECT_EQ(logOf(lossy.rig), cleanLog) << c.name;
    }
}

TEST(LossyLink, UnansweredRequestGivesUpAfterBoundedAttempts)
{
    const struct {
        uint8_t silent;
        std::u16string tail;
    } cases[] = {
        {kD0, u"->握手失败\r\n"},
        {kD2, u"->校验中...\r\n->校验失败\r\n"},
        {kD3, u"->读取失败\r\n->上传失败\r\n"},
        {kD4, u"->握手失败\r\n->上传失败\r\n"},
    };
    for (const auto& c : cases) {
        RoundTrip trip;
        test::ScriptedFamily silent;
        trip.rig.controller.route(c.silent, silent);
        const uint32_t start = trip.rig.clock.now;
        const TransferResult result = c.silent <= kD2 ? trip.download() : trip.upload();

        EXPECT_EQ(result, TransferResult::NoAnswer) << int(c.silent);
        EXPECT_EQ(trip.rig.recorder.framesOf(c.silent).size(), std::size_t(kReplyAttempts)) << int(c.silent);
        const auto& text = trip.rig.box.text;
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), c.tail.size())), c.tail) << int(c.silent);
        // A controller that is gone costs seconds, not minutes.
        EXPECT_LT(trip.rig.clock.now - start, 5000u) << int(c.silent);
    }
}

TEST(LossyLink, CancelIsAskedBeforeARequestGoesAgain)
{
    RoundTrip trip;
    test::ScriptedFamily silent;
    trip.rig.controller.route(kD2, silent);
    trip.transfer.cancelRequested = [&] { return !trip.rig.recorder.framesOf(kD2).empty(); };
    EXPECT_EQ(trip.download(), TransferResult::Cancelled);
    EXPECT_EQ(trip.rig.recorder.framesOf(kD2).size(), 1u);
    const std::u16string tail = u"->校验中...\r\n->已取消\r\n";
    const auto& text = trip.rig.box.text;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(LossyLink, ControllerGoneMidwayStopsAfterTenSilentBlocks)
{
    Rig rig;
    FileTransfer t(rig.link, [] { return true; });
    bool alive = true;
    test::ScriptedFamily blocks([&](const sim::ReceivedFrame& f, sim::FamilyContext& c) {
        if (alive)
            rig.store().handle(f, c);
    });
    rig.controller.route(kD1, blocks);
    rig.controller.route(kD8, blocks);
    t.onProgress = [&](uint64_t done, uint64_t) { alive = done < 3 * 512; };
    const auto path = rig.dir / "show.K_F";
    rz::test::writeAll(path, test::sampleFile(200 * 512));

    EXPECT_EQ(t.downloadFile(1, path, rig.box), TransferResult::NoAnswer);
    const std::u16string tail = u"->握手成功\r\n>>>->握手失败\r\n";
    ASSERT_GE(rig.box.text.size(), tail.size());
    EXPECT_EQ(rig.box.text.substr(rig.box.text.size() - tail.size()), tail);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 3u + kMaxSilentBlocks);
    EXPECT_EQ(rig.recorder.framesOf(kD8).size(), std::size_t(kMaxSilentBlocks * kStatusQueries));
    EXPECT_TRUE(rig.recorder.framesOf(kD2).empty());
}

TEST(LossyLink, LateControllerStillGetsTheFullRecovery)
{
    // Every answer comes after the 300 ms wait for D1 and D8 (but within D2's 500 ms).
    sim::FaultPolicy faults;
    faults.delayMs = 400;
    Rig rig(faults);
    FileTransfer t(rig.link, [] { return true; });
    const auto path = rig.dir / "show.K_F";
    const Bytes file = test::sampleFile(12 * 512);
    rz::test::writeAll(path, file);

    EXPECT_EQ(t.downloadFile(1, path, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(rig.recorder.framesOf(kD1).size(), 12u);
    ASSERT_NE(rig.store().file(1), nullptr);
    EXPECT_EQ(*rig.store().file(1), file);
}

TEST(LossyLink, LateUploadAnswersNeverLandInTheNextBlock)
{
    // Every answer comes after the 500 ms wait: each one is taken by the wait for the
    // request sent again, and the second answer to a block would fill the next block with
    // the same bytes if it were not waited out.
    sim::FaultPolicy faults;
    faults.delayMs = 600;
    Rig rig(faults);
    FileTransfer t(rig.link, [] { return true; });
    const Bytes file = test::sampleFile(4 * 512 + 100);
    rig.store().preload(2, file);
    const auto target = rig.dir / "R-QB.KQB";

    EXPECT_EQ(t.uploadFile(2, target, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(rz::test::readAll(target), file);
}

TEST(UploadUnderLoss, LostAnswersAreAskedForAgainAndTheFileArrivesWhole)
{
    for (double drop : {0.10, 0.30}) {
        for (uint64_t seed = 1; seed <= 12; ++seed) {
            sim::FaultPolicy faults;
            faults.dropShare = drop;
            faults.seed = seed;
            Rig rig(faults);
            FileTransfer t(rig.link, [] { return true; });
            const Bytes file = test::sampleFile(100 * 1024, static_cast<uint32_t>(seed));
            rig.store().preload(1, file);
            const auto target = rig.dir / "R-SHOW.K_F";
            SCOPED_TRACE(testing::Message() << drop << " seed " << seed);

            EXPECT_EQ(t.uploadFile(1, target, rig.box), TransferResult::Succeeded);
            EXPECT_EQ(rz::test::readAll(target), file);
            EXPECT_TRUE(rig.recorder.replyDropped(kD4));
        }
    }
}

} // namespace
} // namespace rz::transfer
