// Show files through JSON and back: dump -> build -> dump gives the same JSON, and building a
// dump gives the original bytes apart from the information section.
#include "CtlRun.h"
#include "ShowSamples.h"
#include "ctl/ShowJson.h"
#include "core/show/ShowTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace rz::test {
namespace {

using nlohmann::json;
using ctl::built;
using ctl::dumped;

struct Sample {
    const char* name;
    std::function<std::vector<uint8_t>()> make;
};
void PrintTo(const Sample& s, std::ostream* os) { *os << s.name; }

// "" when equal, else where they part and in which section of the original.
std::string firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i == a.size() && i == b.size())
        return "";
    int section = 0;
    for (int n = 1; n <= 50; ++n) {
        const uint32_t p = show::sectionPosition(b, n);
        if (p != 0 && p <= i + 4 && (section == 0 || p > show::sectionPosition(b, section)))
            section = n;
    }
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at " +
           std::to_string(i) + " in section " + std::to_string(section);
}

class ShowRoundTrip : public ::testing::TestWithParam<Sample> {};

TEST_P(ShowRoundTrip, BuildOfDumpIsTheSameFileAndDumpsTheSameJson)
{
    const std::vector<uint8_t> original = GetParam().make();
    ASSERT_FALSE(original.empty());
    const json first = dumped(original);
    const std::vector<uint8_t> rebuilt = built(first);
    EXPECT_EQ(firstDifference(showfile::withoutInfoSection(rebuilt), showfile::withoutInfoSection(original)), "");
    EXPECT_EQ(dumped(rebuilt), first);
}

const Sample kSamples[] = {
    {"CoreTestShow", ctl::coreTestShow},
    {"EdgeShow", ctl::edgeShow},
    {"LargeShow", ctl::largeShow},
    {"EmptyShow", [] {
         showfile::ShowRig rig;
         lightcontrol::validateLightControl(rig.show->lightControl);
         rig.show->scenes.applyFixedSceneNames();
         EXPECT_TRUE(rig.file.saveShow(rig.dir / "empty.K_F"));
         return readAll(rig.dir / "empty.K_F");
     }},
};

INSTANTIATE_TEST_SUITE_P(Shows, ShowRoundTrip, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.name); });

// Loading corrects some light-control values (a mic shake time of 0, a dense drum count
// outside 5..15) and gives scenes 31..35 their fixed names; the dump shows what the show holds after loading, so its build stores the
// corrected values, and from then on the round trip is exact.
TEST(ShowDump, LightControlValuesTheLoaderCorrectsAreDumpedCorrected)
{
    showfile::ShowRig rig;
    rig.show->lightControl.micShakeTime = 0;
    rig.show->lightControl.denseDrumCount = 30;
    rig.show->scenes.scene(31).name = u"别的名字";
    ASSERT_TRUE(rig.file.saveShow(rig.dir / "raw.K_F"));
    const json first = dumped(readAll(rig.dir / "raw.K_F"));
    EXPECT_EQ(first["lightControl"]["micShakeTime"], lightcontrol::kDefaultMicShakeTime);
    EXPECT_EQ(first["lightControl"]["denseDrumCount"], lightcontrol::kDefaultDenseDrumCount);
    EXPECT_EQ(first["scenes"]["scenes"][30]["name"], "全开");
    const std::vector<uint8_t> once = built(first);
    EXPECT_EQ(firstDifference(showfile::withoutInfoSection(built(dumped(once))), showfile::withoutInfoSection(once)), "");
}

// The values a reader sees are the stored ones, under the model's field names.
TEST(ShowDump, NamesTheFieldsAndKeepsStoredValuesAndTexts)
{
    const json doc = dumped(ctl::edgeShow());
    EXPECT_EQ(doc["kind"], "K_F");
    const json& fixture = doc["fixtures"][3];
    EXPECT_EQ(fixture["number"], 4);
    EXPECT_EQ(fixture["startAddress"], 512);
    EXPECT_EQ(fixture["channelCount"], 32);
    EXPECT_EQ(fixture["reservedByte"], 0xA4);
    EXPECT_EQ(fixture["name"], "灯4 🎛");
    EXPECT_EQ(doc["fixtures"].back()["number"], 100);
    EXPECT_EQ(doc["motionThreshold"], 0);
    EXPECT_EQ(doc["lightControl"]["fixedDmxChannel"], 512);

    const json& effect = doc["effects"][0];
    EXPECT_EQ(effect["number"], 1);
    ASSERT_TRUE(effect.contains("beatGrid"));
    const json& material = effect["materials"][0];
    EXPECT_EQ(material["module"], 1);
    EXPECT_EQ(material["slot"], 1);
    EXPECT_EQ(material["stepCount"], 600);
    EXPECT_EQ(material["steps"].size(), 600u);
    EXPECT_EQ(material["uniformTime"], -299);
    EXPECT_EQ(material["steps"][4]["stepTime"], -5);
    EXPECT_FALSE(material["steps"][1].contains("levels")); // an all-zero step
    EXPECT_EQ(material["steps"][0]["levels"].size(), 20u);
    EXPECT_EQ(material["steps"][0]["levels"][19].size(), 32u);
    EXPECT_EQ(material["motionGlobal"][0], -32767);
    EXPECT_EQ(material["tempChannels"], json({9, 255}));
}

// The program itself: dump to a file, build it, dump again.
TEST(ShowProgram, DumpBuildDumpThroughTheProgram)
{
    TempDir dir;
    writeAll(dir / "show.K_F", ctl::coreTestShow());
    const CtlRun dump = runCtl({"show", "dump", QString::fromStdString((dir / "show.K_F").string())});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    writeText(dir / "show.json", dump.out);
    const CtlRun build = runCtl({"show", "build", QString::fromStdString((dir / "show.json").string()), "-o",
                                 QString::fromStdString((dir / "again.K_F").string())});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_EQ(showfile::withoutInfoSection(readAll(dir / "again.K_F")),
              showfile::withoutInfoSection(readAll(dir / "show.K_F")));
    const CtlRun again = runCtl({"show", "dump", QString::fromStdString((dir / "again.K_F").string())});
    EXPECT_EQ(again.out, dump.out);
    const CtlRun check = runCtl({"show", "check", QString::fromStdString((dir / "again.K_F").string())});
    EXPECT_EQ(check.exitCode, 0) << check.out;
}

} // namespace
} // namespace rz::test

namespace rz::test {
namespace {

// Renamed channel codes decide which channels the show file lists for the controller as
// colour and motion channels; a build with the tool's data folder lists the same ones.
TEST(ShowProgram, BuildUsesTheCustomChannelNamesOfTheDataFolder)
{
    showfile::ShowRig rig;
    lightcontrol::validateLightControl(rig.show->lightControl);
    rig.show->scenes.applyFixedSceneNames();
    fixtures::Fixture& f = rig.show->library.fixture(1);
    f.startAddress = 10;
    f.channelCount = 1;
    f.channelCode[1] = fixtures::kFirstUserCode;
    ASSERT_TRUE(rig.show->channelDefinitions.renameChannel(fixtures::kFirstUserCode, u"Red"));
    ASSERT_TRUE(rig.show->channelDefinitions.saveChannelName(fixtures::kFirstUserCode,
                                                             fixtures::customChannelNameFilePath(rig.dir.path())));
    ASSERT_TRUE(rig.file.saveShow(rig.dir / "show.K_F"));
    const auto original = readAll(rig.dir / "show.K_F");

    const auto arg = [&](const char* name) { return QString::fromStdString((rig.dir / name).string()); };
    const CtlRun dump = runCtl({"show", "dump", arg("show.K_F")});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    writeText(rig.dir / "show.json", dump.out);
    ASSERT_EQ(runCtl({"show", "build", arg("show.json"), "-o", arg("with.K_F"), "--data-dir",
                      QString::fromStdString(rig.dir.path().string())})
                  .exitCode,
              0);
    EXPECT_EQ(showfile::withoutInfoSection(readAll(rig.dir / "with.K_F")), showfile::withoutInfoSection(original));
    ASSERT_EQ(runCtl({"show", "build", arg("show.json"), "-o", arg("without.K_F"), "--data-dir", arg("empty")}).exitCode, 0);
    EXPECT_NE(showfile::withoutInfoSection(readAll(rig.dir / "without.K_F")), showfile::withoutInfoSection(original));
}

} // namespace
} // namespace rz::test
