// show diff: what differs between two shows, by JSON path, from show files and JSON dumps.
#include "CtlRun.h"
#include "ShowSamples.h"
#include "ctl/ShowDiff.h"
#include "ctl/ShowJson.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <fstream>

namespace rz::test {
namespace {

using nlohmann::json;
using ctl::built;
using ctl::dumped;

json& numbered(json& list, int number)
{
    for (json& e : list)
        if (e["number"] == number)
            return e;
    ADD_FAILURE() << "no entry " << number;
    return list[0];
}

std::vector<std::string> sortedLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (const QString& l : QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(l.toStdString());
    std::sort(lines.begin(), lines.end());
    return lines;
}

QString arg(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A known change in each part of the show: light control, scenes, fixtures (changed and
// added), motion threshold, an effect's own field, a material's field and one of its steps.
TEST(ShowDiff, ListsKnownChangesInEachPartFromFilesAndDumps)
{
    TempDir dir;
    const std::vector<uint8_t> original = ctl::coreTestShow();
    json a = dumped(original);
    json b = a;
    b["lightControl"]["micShakeTime"] = 6;
    const int sceneEffect = b["scenes"]["scenes"][2]["effect"];
    b["scenes"]["scenes"][2]["effect"] = sceneEffect == 5 ? 4 : 5;
    const int address = numbered(b["fixtures"], 7)["startAddress"];
    numbered(b["fixtures"], 7)["startAddress"] = 40;
    b["fixtures"].push_back(json{{"number", 12}, {"name", "新灯"}, {"startAddress", 100}, {"channelCount", 2}});
    b["motionThreshold"] = 78;
    numbered(b["effects"], 5)["note"] = "新的";
    json& material = numbered(b["effects"], 2)["materials"][1];
    const std::string materialPath = "$.effects[number=2].materials[module=1,slot=2]";
    ASSERT_EQ(material["slot"], 2);
    material["name"] = "changed";
    json& step = material["steps"][2];
    const int stepTime = step["stepTime"];
    step["stepTime"] = stepTime + 1;
    step["levels"][0][1] = step["levels"][0][1].get<int>() ^ 0xFF;
    const std::size_t levels = step["levels"].size() * step["levels"][0].size();

    writeAll(dir / "a.K_F", original);
    writeAll(dir / "b.K_F", built(b));
    std::ofstream(dir / "a.json") << a.dump(1, '\t');
    std::ofstream(dir / "b.json") << b.dump(1, '\t');

    const std::vector<std::string> expected = sortedLines(
        "$.lightControl.micShakeTime: 4 → 6\n"
        "$.scenes.scenes[2].effect: " + std::to_string(sceneEffect) + " → " + (sceneEffect == 5 ? "4" : "5") + "\n"
        "$.fixtures[number=12]: added: \"新灯\"\n"
        "$.fixtures[number=7].startAddress: " + std::to_string(address) + " → 40\n"
        "$.motionThreshold: 77 → 78\n"
        "$.effects[number=5].note: " + numbered(a["effects"], 5)["note"].dump() + " → \"新的\"\n" +
        materialPath + ".name: " + numbered(a["effects"], 2)["materials"][1]["name"].dump() + " → \"changed\"\n" +
        materialPath + ".steps[2]: step 3: stepTime " + std::to_string(stepTime) + " → " + std::to_string(stepTime + 1) +
        ", 1 of " + std::to_string(levels) + " levels differ\n");
    for (const auto& [x, y] : {std::pair{"a.K_F", "b.K_F"}, std::pair{"a.json", "b.json"}, std::pair{"a.K_F", "b.json"}}) {
        const CtlRun r = runCtl({"show", "diff", arg(dir / x), arg(dir / y)});
        EXPECT_EQ(r.exitCode, 1) << x << " " << y << r.err;
        EXPECT_EQ(sortedLines(r.out), expected) << x << " " << y << "\n" << r.out;
    }
    for (const auto& [x, y] : {std::pair{"a.K_F", "a.K_F"}, std::pair{"a.K_F", "a.json"}, std::pair{"b.json", "b.K_F"}}) {
        const CtlRun same = runCtl({"show", "diff", arg(dir / x), arg(dir / y)});
        EXPECT_EQ(same.exitCode, 0) << x << " " << y << same.err;
        EXPECT_EQ(same.out, "") << x << " " << y;
    }
}

// A hand-written JSON says only what differs from an empty show; members it leaves out
// compare as the values show build gives them.
TEST(ShowDiff, HandWrittenJsonComparesAsItsBuild)
{
    TempDir dir;
    std::ofstream(dir / "short.json") << R"({"fixtures":[{"number":3,"startAddress":9,"channelCount":2}]})";
    json full = dumped(built(json::parse(R"({"fixtures":[{"number":3,"startAddress":9,"channelCount":2}]})")));
    std::ofstream(dir / "full.json") << full.dump();
    const CtlRun r = runCtl({"show", "diff", arg(dir / "short.json"), arg(dir / "full.json")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
}

TEST(ShowDiff, InputsThatCannotBeComparedAreRefused)
{
    TempDir dir;
    writeAll(dir / "show.K_F", ctl::coreTestShow());
    std::ofstream(dir / "fixture.json") << R"({"kind":"K_1DK","fixture":{"name":"x"}})";
    std::ofstream(dir / "text.txt") << "not json {";
    std::ofstream(dir / "bad.json") << R"({"motionThreshold":300})";
    const struct {
        const char* other;
        const char* message;
    } cases[] = {
        {"fixture.json", "only files of one kind compare"},
        {"text.txt", "neither a file of this system nor JSON"},
        {"bad.json", "$.motionThreshold"},
        {"missing.K_F", "cannot read"},
    };
    for (const auto& c : cases) {
        const CtlRun r = runCtl({"show", "diff", arg(dir / "show.K_F"), arg(dir / c.other)});
        EXPECT_EQ(r.exitCode, 3) << c.other;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.other << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.other;
    }
}

// The summaries, in process.
TEST(ShowDiff, NumberedEntriesMatchByNumberAndLongRunsAreSummarised)
{
    using rz::ctl::diffDocuments;
    const auto lines = [](const json& a, const json& b) {
        std::vector<std::string> out;
        for (const auto& d : diffDocuments(a, b))
            out.push_back(d.path + ": " + d.what);
        return out;
    };
    // An entry added in the middle is one difference, not a shift of all behind it.
    EXPECT_EQ(lines(json::parse(R"({"fixtures":[{"number":1,"name":"a"},{"number":9,"name":"c"}]})"),
                    json::parse(R"({"fixtures":[{"number":1,"name":"a"},{"number":5,"name":"b"},{"number":9,"name":"c"}]})")),
              std::vector<std::string>{"$.fixtures[number=5]: added: \"b\""});
    EXPECT_EQ(lines(json::parse(R"({"fixtures":[{"number":1,"name":"a"},{"number":9,"name":"c"}]})"),
                    json::parse(R"({"fixtures":[{"number":9,"name":"c"}]})")),
              std::vector<std::string>{"$.fixtures[number=1]: removed: \"a\""});
    EXPECT_EQ(lines(json::parse(R"({"d":[0,0,0,0,0,0,0,0]})"), json::parse(R"({"d":[1,0,1,0,0,0,0,0]})")),
              (std::vector<std::string>{"$.d[0]: 0 → 1", "$.d[2]: 0 → 1"}));
    EXPECT_EQ(lines(json::parse(R"({"d":[0,0,0,0,0,0,0,0]})"), json::parse(R"({"d":[1,1,1,1,0,0,0,0]})")),
              std::vector<std::string>{"$.d: 4 of 8 values differ (at [0], [1], [2], [3])"});

    // Steps of a material: one entry per step, at most 20, then a count; added steps as one.
    json a = json::parse(R"({"module":1,"slot":1,"stepCount":30,"steps":[]})");
    for (int i = 0; i < 30; ++i)
        a["steps"].push_back(json{{"stepTime", i}, {"levels", json::array({json::array({0, 0})})}});
    json b = a;
    for (int i = 0; i < 25; ++i)
        b["steps"][static_cast<std::size_t>(i)]["levels"][0] = json::array({7, 7});
    b["steps"].push_back(json{{"stepTime", 1}});
    b["steps"].push_back(json{{"stepTime", 1}});
    b["stepCount"] = 32;
    const auto found = lines(json{{"materials", json::array({a})}}, json{{"materials", json::array({b})}});
    ASSERT_EQ(found.size(), 1u + 20 + 1 + 1);
    EXPECT_EQ(found[0], "$.materials[module=1,slot=1].stepCount: 30 → 32");
    EXPECT_EQ(found[1], "$.materials[module=1,slot=1].steps[0]: step 1: 2 of 2 levels differ");
    EXPECT_EQ(found[21], "$.materials[module=1,slot=1].steps: 5 more steps differ");
    EXPECT_EQ(found[22], "$.materials[module=1,slot=1].steps: steps 31..32 added");
}

} // namespace
} // namespace rz::test
