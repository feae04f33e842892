#include "core/transfer/ControllerQueries.h"

#include "TransferRig.h"

#include <gtest/gtest.h>

namespace rz::transfer {
namespace {

using test::Bytes;
using test::Rig;

struct QueriesTest : ::testing::Test {
    // Lets the controller's answer arrive (no reply is awaited by the queries themselves).
    void settle() { rig.link.waitReply(0xCE, 20); }
    void deliver(const Bytes& payload) { rig.link.receive(link::buildFrame(0xCE, payload)); }

    Rig rig;
    ControllerQueries queries{rig.link, rig.box};
    sim::Queries& controllerSide() { return rig.controller.transfer().queries; }
};

TEST_F(QueriesTest, VersionReportShowsTheControllersText)
{
    controllerSide().setVersionText("1.2.3.4.");
    queries.requestVersion();
    settle();
    EXPECT_EQ(rig.recorder.framesOf(0xCE).at(0).payload, Bytes{0x21});
    EXPECT_EQ(rig.box.text, u"  OK 机器版本号= 1.2.3.4.\r\n");
}

TEST_F(QueriesTest, InformationReportShowsTheTextOrNone)
{
    controllerSide().setInformation(u"KTV 3号房");
    queries.requestInformation();
    settle();
    EXPECT_EQ(rig.box.text, u"\r\nKTV 3号房\r\n");

    rig.box.text.clear();
    controllerSide().setInformation(std::nullopt);
    queries.requestInformation();
    settle();
    EXPECT_EQ(rig.box.text, u"\r\n没有\r\n");
}

TEST_F(QueriesTest, FileIdentityReportFollowsTheStoredFiles)
{
    rig.store().preload(2, Bytes(10, 1));
    controllerSide().setFileNumbers(7, 9);
    queries.requestFileIds();
    settle();
    EXPECT_EQ(rig.box.text, u"  OK 墙板文件ID=A007  VOD文件不存在  \r\n");
}

TEST(FileIdReport, NumbersAreThreeDigitsAndAbsentFilesAreNamed)
{
    const struct {
        Bytes bytes;
        std::u16string report;
    } cases[] = {
        {{1, 7, 0, 0}, u"墙板文件ID=A007  VOD文件不存在  "},
        {{0, 5, 1, 42}, u"墙板文件不存在  VOD文件ID=B042  "},
        {{2, 255, 1, 0}, u"墙板文件ID=A255  VOD文件ID=B000  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileIdReport(c.bytes), c.report);
    EXPECT_FALSE(fileIdReport(Bytes{1, 7, 0}));
}

TEST_F(QueriesTest, MalformedOrForeignReportsWriteNothing)
{
    const Bytes payloads[] = {
        {},                              // no sub-command
        {0x28, 1, 7},                    // identities cut short
        {0x26},                          // information without its status byte
        {0x26, 0x66, 5, 0x00, 0x41},     // text longer than the frame
        {0x26, 0x66},                    // text field missing
        {0x26, 0x12},                    // unknown status
        {0x19, 1, 2},                    // another page's report
    };
    for (const Bytes& p : payloads)
        deliver(p);
    EXPECT_EQ(rig.box.text, u"");
    rig.link.receive(link::buildFrame(0xC0, Bytes{0x21, 0x41}));
    EXPECT_EQ(rig.box.text, u"") << "only CE frames are reports";
}

} // namespace
} // namespace rz::transfer
