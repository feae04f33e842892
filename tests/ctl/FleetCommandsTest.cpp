// The fleet commands against several simulator programs, one of them missing: every room's
// result line, the summary, the JSON document, the exit status and Ctrl+C.
#include "CtlRun.h"
#include "ShowSamples.h"
#include "SimProgram.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <nlohmann/json.hpp>

#include <csignal>
#include <fstream>
#include <signal.h>

namespace rz::test {
namespace {

using nlohmann::json;

QString arg(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

bool contains(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

// The line of the text that starts with `start`; empty when none does.
std::string lineStarting(const std::string& text, const std::string& start)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        if (text.compare(at, start.size(), start) == 0)
            return text.substr(at, end - at);
        at = end + 1;
    }
    return {};
}

// Rooms "101" and "包厢103" on simulators, "102" where nobody answers.
class FleetCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(room101.start()) << room101.output().toStdString();
        ASSERT_TRUE(room103.start()) << room103.output().toStdString();
        std::ofstream(dir / "rooms.txt") << "# second floor\n"
                                         << "101 " << room101.link().toStdString() << "\n"
                                         << "102 udp:127.0.0.1:9   # switched off\n"
                                         << "包厢103 " << room103.link().toStdString() << "\n";
        show = ctl::coreTestShow();
        writeAll(dir / "show.K_F", show);
    }

    CtlRun fleet(QStringList arguments)
    {
        arguments.prepend(QStringLiteral("fleet"));
        return runCtl(arguments + QStringList{"--rooms", arg(dir / "rooms.txt")});
    }

    SimProgram room101;
    SimProgram room103;
    TempDir dir;
    std::vector<uint8_t> show;
};

TEST_F(FleetCommands, DownloadReachesEveryLiveRoomAndTheSummarySaysWhichFailed)
{
    const CtlRun r = fleet({"download", arg(dir / "show.K_F"), "--kind", "1", "--scene", "3"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    // A result line per room as it finished, then the summary and the table in file order.
    for (const char* room : {"101 ", "102 ", "包厢103 "})
        EXPECT_FALSE(lineStarting(r.out, room).empty()) << room << "\n" << r.out;
    const std::string summary = r.out.substr(r.out.find("\n\n") + 2);
    EXPECT_EQ(summary.rfind("3 rooms: 2 ok, 1 failed\n", 0), 0u) << summary;
    EXPECT_TRUE(contains(lineStarting(summary, "101 "), " ok ")) << summary;
    EXPECT_TRUE(contains(lineStarting(summary, "102 "), " failed ")) << summary;
    EXPECT_TRUE(contains(lineStarting(summary, "102 "), "no answer to the C0 handshake")) << summary;
    EXPECT_TRUE(contains(lineStarting(summary, "包厢103 "), " ok ")) << summary;
    EXPECT_LT(summary.find("101 "), summary.find("102 "));
    EXPECT_LT(summary.find("102 "), summary.find("包厢103 "));

    // Each live room holds the show: a fleet upload brings back one file per room.
    const CtlRun up = fleet({"upload", "--kind", "1", "-o", arg(dir / "back")});
    EXPECT_EQ(up.exitCode, 1) << up.out << up.err;
    EXPECT_EQ(readAll(dir / "back" / "101.K_F"), show);
    EXPECT_EQ(readAll(dir / "back" / "包厢103.K_F"), show);
    EXPECT_FALSE(std::filesystem::exists(dir / "back" / "102.K_F"));
}

TEST_F(FleetCommands, JsonForScriptsOnStandardOutputOnly)
{
    // Room 102's port is missing this time: it fails at once.
    std::ofstream(dir / "rooms.txt") << "101 " << room101.link().toStdString() << "\n"
                                     << "102 serial:" << (dir / "no-such-tty").string() << "\n"
                                     << "包厢103 " << room103.link().toStdString() << "\n";
    const CtlRun r = fleet({"version", "--json", "--parallel", "2"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    const json doc = json::parse(r.out); // nothing but the document
    EXPECT_EQ(doc["command"], "fleet version");
    EXPECT_EQ(doc["ok"], 2);
    EXPECT_EQ(doc["failed"], 1);
    EXPECT_EQ(doc["interrupted"], false);
    ASSERT_EQ(doc["rooms"].size(), 3u);
    const json& first = doc["rooms"][0];
    EXPECT_EQ(first["room"], "101");
    EXPECT_EQ(first["link"], room101.link().toStdString());
    EXPECT_EQ(first["result"], "ok");
    EXPECT_TRUE(contains(first["detail"], "机器版本号")) << first.dump();
    EXPECT_TRUE(first["seconds"].is_number());
    EXPECT_EQ(doc["rooms"][1]["result"], "failed");
    EXPECT_TRUE(contains(doc["rooms"][1]["detail"], "cannot open serial port")) << doc["rooms"][1].dump();
    EXPECT_EQ(doc["rooms"][2]["room"], "包厢103");
    // The result lines went to standard error meanwhile.
    EXPECT_FALSE(lineStarting(r.err, "102 ").empty()) << r.err;
}

// A room on a serial port beside the Wi-Fi rooms.
TEST_F(FleetCommands, EveryRoomAnsweringIsSuccess)
{
    SimProgram serialRoom;
    ASSERT_TRUE(serialRoom.start(arg(dir / "tty-bar"))) << serialRoom.output().toStdString();
    std::ofstream(dir / "rooms.txt") << "101 " << room101.link().toStdString() << "\n"
                                     << "103 " << room103.link().toStdString() << "\n"
                                     << "bar " << serialRoom.link().toStdString() << "\n";
    for (const char* command : {"ping", "info"}) {
        const CtlRun r = fleet({command});
        EXPECT_EQ(r.exitCode, 0) << command << "\n" << r.out << r.err;
        EXPECT_TRUE(contains(r.out, "3 rooms: 3 ok, 0 failed")) << r.out;
    }
    const CtlRun down = fleet({"download", arg(dir / "show.K_F"), "--kind", "1"});
    EXPECT_EQ(down.exitCode, 0) << down.out << down.err;
}

TEST_F(FleetCommands, BadRoomsFilesAndMissingShowsAreRefusedBeforeAnyRoom)
{
    std::ofstream(dir / "bad.txt") << "101 udp:127.0.0.1:9\n\n102 tcp:127.0.0.1:9\n";
    const CtlRun bad = runCtl({"fleet", "ping", "--rooms", arg(dir / "bad.txt")});
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_TRUE(contains(bad.err, "bad.txt:3: ")) << bad.err;
    EXPECT_EQ(bad.out, "");

    std::ofstream(dir / "huge.txt") << std::string(1024 * 1024 + 1, '#');
    const CtlRun huge = runCtl({"fleet", "ping", "--rooms", arg(dir / "huge.txt")});
    EXPECT_EQ(huge.exitCode, 3);
    EXPECT_TRUE(contains(huge.err, "a rooms file is at most 1024 KiB")) << huge.err;

    const CtlRun missing = fleet({"download", arg(dir / "none.K_F"), "--kind", "1"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_EQ(missing.out, "");
}

// Ctrl+C during the second room of three, one room at a time: that room's transfer stops at
// its next block, the third never starts, and the summary names the room that finished.
TEST_F(FleetCommands, CtrlCStopsEveryRoomCleanlyAndSaysWhichFinished)
{
    SimProgram slow;
    ASSERT_TRUE(slow.start({}, {"--delay-ms", "50"})) << slow.output().toStdString();
    std::ofstream(dir / "rooms.txt") << "101 " << room101.link().toStdString() << "\n"
                                     << "slow " << slow.link().toStdString() << "\n"
                                     << "103 " << room103.link().toStdString() << "\n";
    QProcess p;
    p.start(QStringLiteral(RZ760CTL_PATH), {"fleet", "download", arg(dir / "show.K_F"), "--kind", "1", "--parallel", "1",
                                            "--rooms", arg(dir / "rooms.txt")});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray out;
    while (!out.contains("101 ") && p.waitForReadyRead(20000))
        out += p.readAllStandardOutput();
    ASSERT_TRUE(out.contains("101 ")) << out.toStdString();
    QThread::msleep(500); // the slow room is sending blocks now
    // A pid of 0 would signal the whole process group (the test runner included).
    ASSERT_EQ(p.state(), QProcess::Running) << out.toStdString();
    ASSERT_GT(p.processId(), 0);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    out += p.readAllStandardOutput();
    const std::string text = out.toStdString();
    EXPECT_EQ(p.exitCode(), 130) << text << p.readAllStandardError().toStdString();
    EXPECT_TRUE(contains(text, "Stopped by Ctrl+C: 1 of 3 rooms finished (1 ok, 0 failed), 1 cancelled, 1 not started."))
        << text;
    EXPECT_TRUE(contains(text, "Finished: 101\n")) << text;
    EXPECT_TRUE(contains(lineStarting(text.substr(text.find("ROOM")), "slow "), "cancelled")) << text;
    EXPECT_TRUE(contains(lineStarting(text.substr(text.find("ROOM")), "103 "), "not started")) << text;

    // The cut-short download was never verified: the slow room holds no show.
    std::ofstream(dir / "rooms.txt") << "slow " << slow.link().toStdString() << "\n";
    const CtlRun up = fleet({"upload", "--kind", "1", "-o", arg(dir / "back")});
    EXPECT_EQ(up.exitCode, 1) << up.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "back" / "slow.K_F"));
}

} // namespace
} // namespace rz::test
