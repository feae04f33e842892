#include "core/transfer/FirmwareUpgrade.h"

#include "TransferRig.h"
#include "core/transfer/TransferMessages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rz::transfer {
namespace {

using test::Bytes;
using test::Rig;
constexpr uint8_t kC4 = 0xC4, kF0 = 0xF0, kF1 = 0xF1, kF2 = 0xF2;

Bytes imageWithIdentityAt(std::size_t size, std::size_t at)
{
    Bytes b = test::sampleFile(size);
    std::memcpy(b.data() + at, kFirmwareIdentity.data(), kFirmwareIdentity.size());
    return b;
}

TEST(FirmwareImage, IdentityMustStartAtLeastThousandBytesBeforeTheEnd)
{
    const struct {
        std::size_t size;
        std::optional<std::size_t> at;
        bool accepted;
    } cases[] = {
        {1000, 0, true},      // p = length - 1000
        {999, 0, false},      // shorter than 1000 never passes
        {5000, 4000, true},
        {5000, 4001, false},  // only within the last 1000 bytes
        {5000, 17, true},
        {5000, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const Bytes b = c.at ? imageWithIdentityAt(c.size, *c.at) : test::sampleFile(c.size);
        EXPECT_EQ(isFirmwareImage(b), c.accepted) << c.size << " at " << c.at.value_or(0);
    }
}

TEST(FirmwareImage, DevelopmentImageSitsBesideTheToolProject)
{
    const std::u16string folder = u"D:\\work\\RZ760\\02--PC代码_调试软件\\01--代码";
    const char16_t sep = std::filesystem::path::preferred_separator;
    const std::u16string expected = std::u16string(u"D:\\work\\RZ760\\01--Dmx512主芯片_GD32F103C8T6") + sep +
                                    u"01--代码" + sep + u"Obj" + sep + u"STM32F103.bin";
    EXPECT_EQ(developmentImagePath(folder), std::filesystem::path(expected));
    EXPECT_FALSE(developmentImagePath(u"C:\\short"));
}

struct UpgradeTest : ::testing::Test {
    UpgradeTest()
    {
        upgrade.stillWanted = [this] { return pageActive; };
        // The user restarts the controller some time into the handshake.
        rig.yield.onYield = [this] {
            if (++yields == restartAfterYields)
                rig.restartController();
            if (onYield)
                onYield();
        };
    }
    void write(const Bytes& b) { rz::test::writeAll(path, b); }
    std::size_t handshakesSent() const { return rig.controller.framesReceived(kC4, 0xF1); }

    Rig rig;
    FirmwareUpgrade upgrade{rig.link};
    bool pageActive = true;
    int yields = 0;
    int restartAfterYields = 400;
    std::function<void()> onYield;
    std::filesystem::path path = rig.dir / "main.bin";
};

TEST_F(UpgradeTest, HandshakeAfterRestartThenImageInRawBlocksIsVerified)
{
    const Bytes image = imageWithIdentityAt(1500, 100);
    write(image);
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Succeeded);

    EXPECT_FALSE(upgrade.running());
    EXPECT_EQ(rig.loader().installedImage(), image);
    const std::size_t attempts = handshakesSent();
    EXPECT_GT(attempts, 1u);
    EXPECT_EQ(rig.box.text, u"\r\n->握手中" + std::u16string(attempts, u'>') +
                                u"\r\n->握手成功\r\n->发送信息\r\n->文件大小:1.5K\r\n->接收成功"
                                u"\r\n->发送数据>>>\r\n->发送校验\r\n->校验成功\r\n->下载成功");
    const auto start = rig.recorder.framesOf(kF0);
    ASSERT_EQ(start.size(), 1u);
    EXPECT_EQ(start[0].payload, firmwareStartPayload(1500, checksum16(image)));
    const auto blocks = rig.recorder.framesOf(kF1);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[2].payload, firmwareBlockPayload(std::span(image).subspan(1024)));
}

TEST_F(UpgradeTest, RefusedImagesSendNothing)
{
    const struct {
        const char* name;
        std::optional<Bytes> file;
        std::u16string log;
        TransferResult result;
    } cases[] = {
        {"missing", std::nullopt, u"\r\n文件不存在！！！", TransferResult::FileMissing},
        {"identity in the last 1000 bytes", imageWithIdentityAt(3000, 2500), u"\r\n->文件格式错误 ",
         TransferResult::FileRefused},
        {"longer than F0 can announce", imageWithIdentityAt(65536, 0), u"\r\n->文件太大(最大65535字节) ",
         TransferResult::FileRefused},
    };
    for (const auto& c : cases) {
        Rig rig;
        FirmwareUpgrade u(rig.link);
        const auto p = rig.dir / "x.bin";
        if (c.file)
            rz::test::writeAll(p, *c.file);
        EXPECT_EQ(u.upgrade(p, rig.box), c.result) << c.name;
        EXPECT_EQ(rig.box.text, c.log) << c.name;
        EXPECT_TRUE(rig.recorder.received.empty()) << c.name;
        EXPECT_FALSE(u.running());
    }
}

TEST_F(UpgradeTest, LargestImageThatFitsIsAccepted)
{
    write(imageWithIdentityAt(65535, 0));
    restartAfterYields = 1;
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(rig.loader().installedImage().size(), 65535u);
}

TEST_F(UpgradeTest, DevelopmentUpgradeSkipsTheIdentityCheck)
{
    const Bytes image = test::sampleFile(600);
    write(image);
    restartAfterYields = 1;
    EXPECT_EQ(upgrade.developmentUpgrade(path, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(rig.loader().installedImage(), image);
}

TEST_F(UpgradeTest, OnlyTheExactFiveByteReplyCountsAsHandshake)
{
    const Bytes replies[] = {
        {0x01, 0x02, 0x03, 0x04, 0x05, 0x06},
        {0x01, 0x02, 0x03, 0x04, 0x06},
        {0x01, 0x02, 0x03, 0x04},
    };
    for (const Bytes& reply : replies) {
        Rig rig;
        FirmwareUpgrade u(rig.link);
        rig.loader().setHandshakeReply(reply);
        rig.yield.onYield = [&] { if (rig.clock.now == 5200) rig.restartController(); };
        const auto p = rig.dir / "x.bin";
        rz::test::writeAll(p, imageWithIdentityAt(2000, 0));
        EXPECT_EQ(u.upgrade(p, rig.box), TransferResult::NoAnswer);

        EXPECT_EQ(rig.controller.framesReceived(kC4, 0xF1), 300u);
        EXPECT_GT(rig.loader().handshakesAnswered(), 0u) << "the loader did answer";
        const std::u16string tail = u"\r\n->握手失败";
        EXPECT_EQ(rig.box.text.substr(rig.box.text.size() - tail.size()), tail);
        EXPECT_TRUE(rig.recorder.framesOf(kF0).empty());
    }
}

TEST_F(UpgradeTest, FirmwareStepFailuresEndWithTheirLine)
{
    const struct {
        const char* name;
        uint8_t command;
        test::ScriptedFamily::Script script; // none: no answer
        std::u16string tail;
        TransferResult result;
    } cases[] = {
        {"no answer to the start", kF0, {}, u"->文件大小:1.0K\r\n->接收失败", TransferResult::NoAnswer},
        {"no answer to a block", kF1, {}, u"\r\n->发送数据\r\n->数据错误", TransferResult::NoAnswer},
        {"blocks acknowledged but not kept", kF1,
         [](const sim::ReceivedFrame&, sim::FamilyContext& c) { c.reply(kF1, {}); },
         u"->发送数据>>\r\n->发送校验\r\n->校验失败", TransferResult::Failed},
    };
    for (const auto& c : cases) {
        Rig rig;
        FirmwareUpgrade u(rig.link);
        rig.yield.onYield = [&] { if (rig.clock.now == 5020) rig.restartController(); };
        test::ScriptedFamily family(c.script);
        rig.controller.route(c.command, family);
        const auto p = rig.dir / "x.bin";
        rz::test::writeAll(p, imageWithIdentityAt(1024, 0));
        EXPECT_EQ(u.upgrade(p, rig.box), c.result) << c.name;
        const auto& t = rig.box.text;
        EXPECT_TRUE(t.size() >= c.tail.size() && t.substr(t.size() - c.tail.size()) == c.tail)
            << c.name;
        EXPECT_TRUE(rig.loader().installedImage().empty());
    }
}

TEST_F(UpgradeTest, LeavingThePageStopsTheTransferSilently)
{
    write(imageWithIdentityAt(4000, 0));
    restartAfterYields = 1;
    upgrade.onProgress = [&](uint64_t done, uint64_t) { pageActive = done < 1024; };
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Cancelled);
    EXPECT_EQ(rig.recorder.framesOf(kF1).size(), 2u);
    EXPECT_TRUE(rig.recorder.framesOf(kF2).empty());
    const std::u16string tail = u"->发送数据>>";
    EXPECT_EQ(rig.box.text.substr(rig.box.text.size() - tail.size()), tail);
    EXPECT_FALSE(upgrade.running());
}

TEST_F(UpgradeTest, LeavingThePageEndsTheHandshake)
{
    write(imageWithIdentityAt(4000, 0));
    restartAfterYields = 0; // the controller is never restarted
    onYield = [&] { pageActive = handshakesSent() < 10; };
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Cancelled);
    EXPECT_EQ(handshakesSent(), 10u);
    EXPECT_EQ(rig.box.text, u"\r\n->握手中" + std::u16string(10, u'>') + u"\r\n->握手失败");
}

TEST_F(UpgradeTest, CancelEndsTheHandshakeOrTheTransferWithoutVerifying)
{
    write(imageWithIdentityAt(4000, 0));
    bool cancel = false;
    upgrade.cancelRequested = [&] { return cancel; };

    // During the handshake: the controller is never restarted.
    restartAfterYields = 0;
    onYield = [&] { cancel = handshakesSent() == 10; };
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Cancelled);
    EXPECT_EQ(rig.box.text, u"\r\n->握手中" + std::u16string(10, u'>') + u"\r\n->已取消");
    EXPECT_TRUE(rig.recorder.framesOf(kF0).empty());
    EXPECT_FALSE(upgrade.running());

    // During the blocks.
    rig.box.text.clear();
    cancel = false;
    onYield = {};
    rig.restartController();
    upgrade.onProgress = [&](uint64_t done, uint64_t) { cancel = done == 1024; };
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Cancelled);
    const std::u16string tail = u"->发送数据>>\r\n->已取消";
    EXPECT_EQ(rig.box.text.substr(rig.box.text.size() - tail.size()), tail);
    EXPECT_EQ(rig.recorder.framesOf(kF1).size(), 2u);
    EXPECT_TRUE(rig.recorder.framesOf(kF2).empty());
    EXPECT_TRUE(rig.loader().installedImage().empty());
}

TEST_F(UpgradeTest, SecondStartWhileOneRunsIsIgnored)
{
    write(imageWithIdentityAt(1200, 0));
    int nested = 0;
    onYield = [&] {
        if (yields == 30 && nested++ == 0) {
            EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Busy);
        }
    };
    EXPECT_EQ(upgrade.upgrade(path, rig.box), TransferResult::Succeeded);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(rig.loader().upgrades(), 1u);
    const std::u16string& t = rig.box.text;
    EXPECT_EQ(t.find(u"->握手中"), t.rfind(u"->握手中")) << "one handshake only";
}

} // namespace
} // namespace rz::transfer
