// rz760ctl against the simulator program over UDP and over a pseudo-terminal: every command's
// log lines, result line and exit status.
#include "CtlRun.h"
#include "ShowSamples.h"
#include "SimProgram.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QString>

namespace rz::test {
namespace {

QString text(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

bool contains(const std::string& haystack, const char* needle) { return haystack.find(needle) != std::string::npos; }

enum class Line { Udp, Serial };

class ControllerCommands : public ::testing::TestWithParam<Line> {
protected:
    void SetUp() override
    {
        const QString pty = GetParam() == Line::Serial ? text(dir / "controller") : QString();
        ASSERT_TRUE(sim.start(pty)) << sim.output().toStdString();
    }

    CtlRun ctl(QStringList arguments)
    {
        arguments.prepend(sim.link());
        arguments.prepend(QStringLiteral("--link"));
        return runCtl(arguments);
    }

    SimProgram sim;
    TempDir dir;
};

TEST_P(ControllerCommands, PingMakesTheHandshake)
{
    const CtlRun r = ctl({"ping"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "->握手成功\nok: the controller answered the C0 handshake\n");
}

TEST_P(ControllerCommands, DownloadThenUploadGivesTheSameBytes)
{
    const auto show = ctl::coreTestShow();
    writeAll(dir / "show.K_F", show);
    const CtlRun down = ctl({"download", text(dir / "show.K_F"), "--kind", "1", "--progress"});
    ASSERT_EQ(down.exitCode, 0) << down.out << down.err;
    for (const char* line : {"->文件:", "->读取文件", "->文件大小:", "->握手成功", "->校验中...", "->校验成功", "->下载成功"})
        EXPECT_TRUE(contains(down.out, line)) << line << "\n" << down.out;

    const CtlRun up = ctl({"upload", "--kind", "1", "-o", text(dir / "back.K_F")});
    ASSERT_EQ(up.exitCode, 0) << up.out << up.err;
    for (const char* line : {"->准备上传", "->读取信息", "->数据上传结束", "->上传成功"})
        EXPECT_TRUE(contains(up.out, line)) << line << "\n" << up.out;
    EXPECT_EQ(readAll(dir / "back.K_F"), show);
}

TEST_P(ControllerCommands, FailedTransfersExitWithFailureAndWriteNothing)
{
    const CtlRun missing = ctl({"download", text(dir / "none.K_F"), "--kind", "1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(contains(missing.out, "->文件不存在！！！")) << missing.out;

    // Nothing of kind 7 was ever downloaded.
    const CtlRun up = ctl({"upload", "--kind", "7", "-o", text(dir / "seven.bin")});
    EXPECT_EQ(up.exitCode, 1) << up.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "seven.bin"));
}

TEST_P(ControllerCommands, QueriesPrintTheReport)
{
    struct Case {
        const char* command;
        const char* report;
    };
    for (const Case& c : {Case{"version", "OK 机器版本号= "}, Case{"info", "RZ-760"}, Case{"file-ids", "墙板文件"}}) {
        const CtlRun r = ctl({c.command});
        EXPECT_EQ(r.exitCode, 0) << c.command << r.err;
        EXPECT_TRUE(contains(r.out, c.report)) << c.command << "\n" << r.out;
    }
}

TEST_P(ControllerCommands, FirmwareNeedsConsentThenGoesThroughTheLoader)
{
    std::vector<uint8_t> image(3000, 0x5A);
    const std::string identity = "Tuvo RZ-760";
    std::copy(identity.begin(), identity.end(), image.begin() + 100);
    writeAll(dir / "main.bin", image);

    const CtlRun asked = ctl({"firmware", text(dir / "main.bin"), "--restart"});
    EXPECT_EQ(asked.exitCode, 2);
    EXPECT_TRUE(contains(asked.err, "--yes")) << asked.err;

    const CtlRun r = ctl({"firmware", text(dir / "main.bin"), "--restart", "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* line : {"升级机器主程序", "->握手成功", "->接收成功", "->校验成功", "->下载成功"})
        EXPECT_TRUE(contains(r.out, line)) << line << "\n" << r.out;
}

TEST_P(ControllerCommands, RdmDiscoveryOfAnEmptyLineFindsNothing)
{
    const CtlRun r = ctl({"rdm", "discover"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "ok: 0 devices found")) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Lines, ControllerCommands, ::testing::Values(Line::Udp, Line::Serial),
                         [](const auto& info) { return info.param == Line::Udp ? "Udp" : "Serial"; });

TEST(ControllerWithoutAnswer, EveryCommandFailsWhenNobodyAnswers)
{
    // Port 9 (discard) on the loopback: nothing answers.
    for (const QStringList& args : {QStringList{"ping"}, QStringList{"version"}, QStringList{"upload", "--kind", "1", "-o", "/nonexistent/x"}}) {
        const CtlRun r = runCtl(QStringList{"--link", "udp:127.0.0.1:9"} + args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString() << r.out << r.err;
        EXPECT_TRUE(contains(r.err, "failed: no answer to the C0 handshake")) << r.err;
    }
    const CtlRun noPort = runCtl({"--link", "serial:/nonexistent/ttyRZ", "ping"});
    EXPECT_EQ(noPort.exitCode, 1);
    EXPECT_TRUE(contains(noPort.err, "cannot open serial port")) << noPort.err;
}

} // namespace
} // namespace rz::test
