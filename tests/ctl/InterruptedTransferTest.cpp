// rz760ctl on a link that loses answers, and stopped by Ctrl+C in the middle of a transfer.
#include "CtlRun.h"
#include "SimProgram.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#if defined(Q_OS_UNIX)
#include <signal.h>
#endif

namespace rz::test {
namespace {

QString text(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

bool contains(const std::string& haystack, const char* needle) { return haystack.find(needle) != std::string::npos; }

TEST(LossyController, LostHandshakeAnswerIsAskedForAgain)
{
    SimProgram sim;
    ASSERT_TRUE(sim.start({}, {"--drop-nth", "1"})) << sim.output().toStdString();
    const CtlRun r = runCtl({"--link", sim.link(), "ping"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
}

#if defined(Q_OS_UNIX)
// Starts rz760ctl, presses Ctrl+C once `mark` has appeared on its standard output after
// `after`, and collects the rest.
CtlRun interruptCtl(const QStringList& arguments, const std::string& after, char mark)
{
    QProcess p;
    p.start(QStringLiteral(RZ760CTL_PATH), arguments);
    CtlRun r;
    if (!p.waitForStarted(10000))
        return r;
    for (;;) {
        r.out += p.readAllStandardOutput().toStdString();
        const auto at = r.out.find(after);
        if (at != std::string::npos && r.out.find(mark, at + after.size()) != std::string::npos)
            break;
        if (!p.waitForReadyRead(20000))
            break;
    }
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    p.waitForFinished(20000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out += p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

TEST(InterruptedTransfer, CtrlCStopsAtTheNextBlockAndSaysSo)
{
    TempDir dir;
    const std::vector<uint8_t> file(40 * 1024, 0x5A);
    writeAll(dir / "held.KVD", file);
    SimProgram sim;
    // Late answers make each block last long enough to be interrupted.
    ASSERT_TRUE(sim.start({}, {"--delay-ms", "100", "--file", "3=" + text(dir / "held.KVD")}))
        << sim.output().toStdString();

    const CtlRun down = interruptCtl({"--link", sim.link(), "download", text(dir / "held.KVD"), "--kind", "2"},
                                     "->握手成功", '>');
    EXPECT_EQ(down.exitCode, 130) << down.out << down.err;
    EXPECT_TRUE(contains(down.out, ">->已取消")) << down.out;
    EXPECT_FALSE(contains(down.out, "->校验中")) << down.out;
    EXPECT_TRUE(contains(down.err, "failed: ")) << down.err;
    EXPECT_TRUE(contains(down.err, "(cancelled)")) << down.err;
    // Not verified, so the controller keeps no file of that kind.
    const CtlRun none = runCtl({"--link", sim.link(), "upload", "--kind", "2", "-o", text(dir / "two.KQB")});
    EXPECT_TRUE(contains(none.out, "->数据不存在！！")) << none.out;

    const CtlRun up = interruptCtl({"--link", sim.link(), "upload", "--kind", "3", "-o", text(dir / "back.KVD")},
                                   "->文件大小:", '<');
    EXPECT_EQ(up.exitCode, 130) << up.out << up.err;
    EXPECT_TRUE(contains(up.out, "<->已取消")) << up.out;
    EXPECT_TRUE(contains(up.out, "->上传失败")) << up.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "back.KVD"));
}
#endif

} // namespace
} // namespace rz::test
