// JSON that a show cannot hold is refused with the path of the value, and no file is written.
#include "CtlRun.h"
#include "ctl/ShowJson.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace rz::test {
namespace {

using nlohmann::json;

struct Refusal {
    const char* name;
    std::string json;
    const char* path; // what the message must name
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

const Refusal kRefusals[] = {
    {"FixtureAddress600", R"({"fixtures":[{"number":3,"startAddress":600}]})", "$.fixtures[0].startAddress"},
    {"FixtureNumber101", R"({"fixtures":[{"number":101}]})", "$.fixtures[0].number"},
    {"FixtureListedTwice", R"({"fixtures":[{"number":4},{"number":4}]})", "$.fixtures[1].number"},
    {"ThirtyThreeChannelCodes", R"({"fixtures":[{"number":1,"channelCode":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]}]})",
     "$.fixtures[0].channelCode"},
    {"FixtureNameOf21", R"({"fixtures":[{"number":1,"name":"一二三四五六七八九十一二三四五六七八九十一"}]})", "$.fixtures[0].name"},
    {"StepCount700",
     R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":700,"fixtureCount":1,"channelCount":1}]}]})",
     "$.effects[0].materials[0].stepCount"},
    {"TwentyOneVirtualFixtures",
     R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":1,"fixtureCount":21,"channelCount":1}]}]})",
     "$.effects[0].materials[0].fixtureCount"},
    {"InvalidMaterial", R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":1}]}]})",
     "$.effects[0].materials[0]"},
    {"LevelAbove255",
     R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":1,"fixtureCount":1,"channelCount":1,"steps":[{"levels":[[256]]}]}]}]})",
     "$.effects[0].materials[0].steps[0].levels[0][0]"},
    {"PatchToFixture0",
     R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":1,"fixtureCount":1,"channelCount":1,"patch":[[0]]}]}]})",
     "$.effects[0].materials[0].patch[0][0]"},
    {"StepTimeBeyondAWord",
     R"({"effects":[{"number":2,"materials":[{"module":1,"slot":1,"stepCount":1,"fixtureCount":1,"channelCount":1,"steps":[{"stepTime":40000}]}]}]})",
     "$.effects[0].materials[0].steps[0].stepTime"},
    {"Effect51", R"({"effects":[{"number":51}]})", "$.effects[0].number"},
    {"BeatGridBar17", R"({"effects":[{"number":1,"beatGrid":[{"mode":0,"bar":17,"beat":1,"materials":[1]}]}]})",
     "$.effects[0].beatGrid[0].bar"},
    {"SceneEffect51", R"({"scenes":{"scenes":[{"effect":51}]}})", "$.scenes.scenes[0].effect"},
    {"FiftyOneScenes", ("{\"scenes\":{\"scenes\":[" + [] {
                            std::string s;
                            for (int i = 0; i < 51; ++i)
                                s += i ? ",{}" : "{}";
                            return s;
                        }() + "]}}"),
     "$.scenes.scenes"},
    {"IrCodeOfThreeBytes", R"({"lightControl":{"effectsUnitIr":[[1,2,3]]}})", "$.lightControl.effectsUnitIr[0]"},
    {"TextWhereANumberBelongs", R"({"motionThreshold":"50"})", "$.motionThreshold"},
    {"NegativeNumber", R"({"lightControl":{"micShakeTime":-1}})", "$.lightControl.micShakeTime"},
    {"FractionalNumber", R"({"lightControl":{"micShakeTime":1.5}})", "$.lightControl.micShakeTime"},
    {"HugeNumber", R"({"lightControl":{"fixedDmxChannel":18446744073709551615}})", "$.lightControl.fixedDmxChannel"},
    {"AnotherKind", R"({"kind":"K_ADK"})", "$.kind"},
};

class ShowRefusal : public ::testing::TestWithParam<Refusal> {};

// In process, for the exact path.
TEST_P(ShowRefusal, NamesThePathOfTheValue)
{
    TempDir scratch;
    rz::ctl::Workspace ws(scratch.path());
    try {
        rz::ctl::showFromJson(json::parse(GetParam().json), ws);
        ADD_FAILURE() << "accepted";
    } catch (const rz::ctl::JsonRefusal& e) {
        EXPECT_EQ(e.jsonPath, GetParam().path) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ShowRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// Through the program: the message on standard error, status 3, the old output untouched.
TEST(ShowBuildProgram, RefusalWritesNothing)
{
    TempDir dir;
    writeText(dir / "bad.json", kRefusals[0].json);
    writeAll(dir / "out.K_F", {1, 2, 3});
    const CtlRun r = runCtl({"show", "build", QString::fromStdString((dir / "bad.json").string()), "-o",
                             QString::fromStdString((dir / "out.K_F").string())});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("$.fixtures[0].startAddress"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(readAll(dir / "out.K_F"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(ShowBuildProgram, InputThatIsNoJsonIsRefused)
{
    TempDir dir;
    writeText(dir / "bad.json", "{\"fixtures\": [");
    const CtlRun r = runCtl({"show", "build", QString::fromStdString((dir / "bad.json").string()), "-o",
                             QString::fromStdString((dir / "out.K_F").string())});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("not JSON"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.K_F"));
}

// Command lines the program cannot act on: status 2, a message, nothing done.
TEST(CommandLine, UsageErrorsExitWithTwo)
{
    const QStringList cases[] = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "build", "x.json"},            // no -o
        {"show", "dump"},                        // no file
        {"show", "dump", "a", "b"},              // one too many
        {"ping"},                                // no --link
        {"--link", "tcp:1.2.3.4:5", "ping"},     // neither serial nor udp
        {"--link", "udp:127.0.0.1:70000", "ping"},
        {"--link", "udp:127.0.0.1:9", "download", "f.K_F"},            // no --kind
        {"--link", "udp:127.0.0.1:9", "download", "f.K_F", "--kind", "256"},
        {"--link", "udp:127.0.0.1:9", "download", "f.K_F", "--kind", "1", "--scene", "51"},
        {"--link", "udp:127.0.0.1:9", "rdm", "address", "0311F3944E87", "513"},
        {"--link", "udp:127.0.0.1:9", "rdm", "identify", "0311F3944E87", "maybe"},
        {"show", "dump", "--no-such-option", "x"},
        {"fleet", "ping"},                                              // no --rooms
        {"fleet", "ping", "--rooms", "r.txt", "--parallel", "0"},
        {"fleet", "download", "f.K_F", "--rooms", "r.txt"},             // no --kind
        {"fleet", "upload", "--kind", "1", "--rooms", "r.txt"},         // no -o
        {"--link", "udp:127.0.0.1:9", "rdm", "info", "0311F3944E8"},     // eleven digits
    };
    for (const QStringList& args : cases) {
        const CtlRun r = runCtl(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString() << "\n" << r.out << r.err;
        EXPECT_FALSE(r.err.empty()) << args.join(' ').toStdString();
    }
}

TEST(CommandLine, HelpForEveryCommandAndTheVersion)
{
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"show", "dump", "--help"},
                                    QStringList{"show", "build", "--help"}, QStringList{"rdm", "identify", "--help"},
                                    QStringList{"download", "--help"}, QStringList{"--help", "upload"}}) {
        const CtlRun r = runCtl(args);
        EXPECT_EQ(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_NE(r.out.find("Exit status"), std::string::npos) << r.out;
    }
    const CtlRun version = runCtl({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("rz760ctl "), std::string::npos);
}

// Each help names its command in the usage line and lists only the options that mean
// something to it; the kinds are explained where --kind is taken.
TEST(CommandLine, HelpTextsSayWhatTheCommandTakes)
{
    struct Case {
        QStringList args;
        const char* usage;
        std::vector<const char*> listed;
        std::vector<const char*> notListed;
    };
    const char* const kinds = "1 show (.K_F), 2 wall panel (.KQB), 3 VOD (.KVD), 4 air conditioner (.AC)";
    const Case cases[] = {
        {{"--help"}, "Usage: rz760ctl [options] COMMAND", {kinds, "--link", "--progress", "--yes"}, {}},
        {{"download", "--help"}, "Usage: rz760ctl download [options] FILE\n", {kinds, "--kind", "--progress", "--link"}, {"--yes"}},
        {{"upload", "--help"}, "Usage: rz760ctl upload [options]\n", {kinds, "--progress"}, {"--yes"}},
        {{"firmware", "--help"}, "Usage: rz760ctl firmware [options] IMAGE\n", {"--yes", "--progress", "--restart"}, {kinds}},
        {{"ping", "--help"}, "Usage: rz760ctl ping [options]\n", {"--link"}, {"--yes", "--progress", kinds}},
        {{"show", "check", "--help"}, "Usage: rz760ctl show check [options] FILE\n", {}, {"--yes", "--progress", "--link"}},
        {{"rdm", "address", "--help"}, "Usage: rz760ctl rdm address [options] UID N\n", {"--link"}, {"--yes", "--progress"}},
    };
    for (const Case& c : cases) {
        const CtlRun r = runCtl(c.args);
        const std::string name = c.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, 0) << name;
        EXPECT_EQ(r.out.rfind(c.usage, 0), 0u) << name << "\n" << r.out;
        for (const char* text : c.listed)
            EXPECT_NE(r.out.find(text), std::string::npos) << name << " lacks " << text << "\n" << r.out;
        for (const char* text : c.notListed)
            EXPECT_EQ(r.out.find(text), std::string::npos) << name << " lists " << text << "\n" << r.out;
    }
    // Still taken where the help leaves them out, as scripts written before may pass them.
    const CtlRun progress = runCtl({"ping", "--progress", "--link", "udp:127.0.0.1:9"});
    EXPECT_EQ(progress.exitCode, 1) << progress.err;
}

} // namespace
} // namespace rz::test
