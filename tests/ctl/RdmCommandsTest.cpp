// The RDM commands against a simulated DMX line with several fixtures.
#include "CtlRun.h"
#include "InProcessController.h"
#include "SimProgram.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace rz::test {
namespace {

bool contains(const std::string& haystack, const std::string& needle) { return haystack.find(needle) != std::string::npos; }

class RdmCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(line.listening());
        for (const rdm::Uid uid : kUids) {
            sim::RdmResponder r;
            r.uid = uid;
            r.footprints = {8, 12};
            line.controller().rdm().add(r);
        }
    }

    CtlRun ctl(const QStringList& arguments) { return runCtl(QStringList{"--link", line.link()} + arguments); }
    sim::RdmResponder& fixture(int i) { return *line.controller().rdm().find(kUids[i]); }

    // Close neighbours and far-apart UIDs: the search has to split down to single ones.
    static constexpr rdm::Uid kUids[] = {rdm::Uid(0x0311, 0xF3944E87), rdm::Uid(0x0311, 0xF3944E86),
                                         rdm::Uid(0x7FF0, 0x00000001), rdm::Uid(0x0001, 0xFFFFFFF0)};
    InProcessController line;
};

TEST_F(RdmCommands, DiscoveryFindsEveryFixtureWithAndWithoutMute)
{
    for (const QStringList& args : {QStringList{"rdm", "discover"}, QStringList{"rdm", "discover", "--mute"}}) {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "ok: 4 devices found")) << args.join(' ').toStdString() << "\n" << r.out;
        for (const rdm::Uid uid : kUids)
            EXPECT_TRUE(contains(r.out, "UID " + std::string(reinterpret_cast<const char*>(
                                                      QString::fromStdU16String(uid.listedText()).toUtf8().constData()))))
                << uid.toString();
    }
}

TEST_F(RdmCommands, InfoAddressPersonalityIdentify)
{
    const CtlRun info = ctl({"rdm", "info", "03-11-F3-94-4E-87"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "Dmx地址：1")) << info.out;

    EXPECT_EQ(ctl({"rdm", "address", "0311F3944E87", "101"}).exitCode, 0);
    EXPECT_EQ(fixture(0).startAddress, 101);
    EXPECT_EQ(fixture(1).startAddress, 1);

    EXPECT_EQ(ctl({"rdm", "personality", "0311F3944E87", "2"}).exitCode, 0);
    EXPECT_EQ(fixture(0).personality, 2);

    EXPECT_EQ(ctl({"rdm", "identify", "0311F3944E86", "on"}).exitCode, 0);
    EXPECT_EQ(fixture(1).identify, 1);
}

TEST_F(RdmCommands, RefusedAndUnansweredRequestsFail)
{
    fixture(0).startAddressLocked = true;
    const CtlRun locked = ctl({"rdm", "address", "0311F3944E87", "7"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(contains(locked.err, "NACK")) << locked.err;

    const CtlRun nobody = ctl({"rdm", "info", "0A0A0A0A0A0A"});
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_TRUE(contains(nobody.err, "no device answered")) << nobody.err;

    // Nobody acknowledges the identify request.
    const CtlRun identifyNobody = ctl({"rdm", "identify", "0A0A0A0A0A0A", "on"});
    EXPECT_EQ(identifyNobody.exitCode, 1) << identifyNobody.out;
    EXPECT_TRUE(contains(identifyNobody.err, "no device answered")) << identifyNobody.err;
}

// A malformed UID is a command-line error: nothing reaches the controller.
TEST_F(RdmCommands, MalformedUidsAreRefusedBeforeAnythingIsSent)
{
    const QStringList cases[] = {
        {"rdm", "info", "7A-70-00-00-00-1"},
        {"rdm", "identify", "12345", "on"},
        {"rdm", "address", "0311F3944E8G", "10"},
        {"rdm", "personality", "0311F3944E8700", "2"},
    };
    for (const QStringList& args : cases) {
        const CtlRun r = ctl(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString() << "\n" << r.out << r.err;
        EXPECT_TRUE(contains(r.err, "twelve hexadecimal digits")) << r.err;
    }
    EXPECT_EQ(line.controller().counters().goodFrames, 0u);
}

// A search with mute leaves no device muted, so the next search finds them all again; a search
// cut short elsewhere is mended with unmute-all.
TEST_F(RdmCommands, NoSearchLeavesDevicesMuted)
{
    for (int run = 0; run < 2; ++run) {
        const CtlRun r = ctl({"rdm", "discover", "--mute"});
        EXPECT_TRUE(contains(r.out, "ok: 4 devices found")) << "run " << run << "\n" << r.out;
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(fixture(i).muted) << i;
    }
    for (int i = 0; i < 4; ++i)
        fixture(i).muted = true;
    const CtlRun unmute = ctl({"rdm", "unmute-all"});
    EXPECT_EQ(unmute.exitCode, 0) << unmute.err;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(fixture(i).muted) << i;
}

// Every log line ends, so each found device is a line starting with "UID ".
TEST_F(RdmCommands, EachFoundDeviceIsALineOfItsOwn)
{
    const CtlRun r = ctl({"rdm", "discover"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QStringList lines = QString::fromStdString(r.out).split(QLatin1Char('\n'));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^UID "))).size(), 4) << r.out;
    EXPECT_EQ(lines.filter(QStringLiteral("UID ")).size(), 4) << r.out;
    EXPECT_TRUE(lines.contains(QStringLiteral("灯控设备支持RDM"))) << r.out;
    EXPECT_FALSE(contains(r.out, "\r")) << r.out;
}

// The simulator program with fixtures on its line; 7A70:00000001 and 7A70:00000002 answer
// together as the valid UID 7A70:00000003, which no fixture has.
TEST(RdmCommandsAgainstSimulator, DiscoveryFindsExactlyTheFixturesOnTheLine)
{
    SimProgram sim;
    ASSERT_TRUE(sim.start({}, {"--rdm-fixture", "7A70:00000001@1", "--rdm-fixture", "7A70:00000002@20",
                               "--rdm-fixture", "0311:F3944E87@40"}))
        << sim.output().toStdString();
    for (const QStringList& args : {QStringList{"rdm", "discover"}, QStringList{"rdm", "discover", "--mute"}}) {
        const CtlRun r = runCtl(QStringList{"--link", sim.link()} + args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "ok: 3 devices found")) << args.join(' ').toStdString() << "\n" << r.out;
    }
    const CtlRun info = runCtl({"--link", sim.link(), "rdm", "info", "7A7000000002"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "Dmx地址：20")) << info.out;
}

// Misbehaving fixtures named on the simulator's command line: the fixture whose discovery
// answer lacks its checksum cannot be found, every other one is found once.
TEST(RdmCommandsAgainstSimulator, MisbehavingFixturesFromTheCommandLine)
{
    SimProgram sim;
    ASSERT_TRUE(sim.start({}, {"--rdm-fixture", "7A70:00000001@1", "--rdm-fixture", "7A70:00000002@20:late-mute",
                               "--rdm-fixture", "7A70:00000004:extra-bytes", "--rdm-fixture",
                               "7A70:00000005:ignores-mute", "--rdm-fixture", "0311:F3944E87@40:short-reply"}))
        << sim.output().toStdString();
    for (const QStringList& args : {QStringList{"rdm", "discover"}, QStringList{"rdm", "discover", "--mute"}}) {
        const CtlRun r = runCtl(QStringList{"--link", sim.link()} + args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "ok: 4 devices found")) << args.join(' ').toStdString() << "\n" << r.out;
        EXPECT_FALSE(contains(r.out, "03-11-F3-94-4E-87")) << r.out;
    }
}

TEST(RdmCommandsAgainstSimulator, UnknownMisbehaviourIsRefused)
{
    SimProgram sim;
    EXPECT_FALSE(sim.start({}, {"--rdm-fixture", "7A70:00000001@1:sleepy"}));
    EXPECT_TRUE(sim.output().contains("--rdm-fixture needs UID[@ADDRESS][:QUIRK]")) << sim.output().toStdString();
}

} // namespace
} // namespace rz::test
