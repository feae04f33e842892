// The show check finds each kind of damage and says at which byte.
#include "CtlRun.h"
#include "ShowSamples.h"
#include "ctl/ShowCheck.h"
#include "core/effects/EffectSection.h"
#include "core/materials/MaterialFiles.h"
#include "core/scenes/SceneSection.h"
#include "core/show/ShowImage.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace rz::test {
namespace {

using Bytes = std::vector<uint8_t>;

void putLong(Bytes& b, std::size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<uint8_t>(v >> (24 - 8 * k));
}

uint32_t int24(const Bytes& b, std::size_t at) { return uint32_t{b[at]} << 16 | uint32_t{b[at + 1]} << 8 | b[at + 2]; }

struct Damage {
    const char* name;
    std::function<std::size_t(Bytes&)> apply; // returns the offset the check must report
    const char* words;                         // part of the problem text
};
void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

const Damage kDamages[] = {
    {"CutBeforeTheSectionTable", [](Bytes& b) { b.resize(100); return std::size_t{0}; }, "shorter"},
    {"OtherIdentifier", [](Bytes& b) { b[0] = 0xF2; return std::size_t{0}; }, "identifier"},
    {"SectionOutsideTheFile",
     [](Bytes& b) {
         putLong(b, 4 * scenes::kSceneSectionSlot, static_cast<uint32_t>(b.size() + 10));
         return std::size_t{4 * scenes::kSceneSectionSlot};
     },
     "outside the file"},
    {"SectionWithAnotherIdentifier",
     [](Bytes& b) {
         const uint32_t p = show::sectionPosition(b, effects::kEffectSectionSlot);
         b[p] ^= 0xFF;
         return std::size_t{p};
     },
     "identifier"},
    {"EffectsCutShort",
     [](Bytes& b) {
         const uint32_t p = show::sectionPosition(b, effects::kEffectSectionSlot);
         // Its first effect's body lies past the new end.
         b.resize(p + 30);
         return std::size_t{p};
     },
     "cut short"},
    {"MaterialWith65535Steps",
     [](Bytes& b) {
         const uint32_t section = show::sectionPosition(b, materials::kShowMaterialsSection);
         std::size_t block = 0;
         int effect = 0;
         for (int e = 1; e <= materials::kEffectCount && block == 0; ++e)
             if ((block = int24(b, section + 4 + 3 * (e - 1))) != 0)
                 effect = e;
         EXPECT_EQ(effect, 2); // the sample's first effect with materials
         const std::size_t temp = block + 3;    // after the block's length
         const std::size_t set = temp + 4;      // after the temporary file's identifier
         const std::size_t record = temp + int24(b, set + 2);
         b[record] = 0xFF;
         b[record + 1] = 0xFF;
         return block;
     },
     "materials of effect 2"},
};

class ShowCheck : public ::testing::TestWithParam<Damage> {};

TEST_P(ShowCheck, ReportsTheDamageAtItsOffset)
{
    Bytes image = ctl::coreTestShow();
    const std::size_t offset = GetParam().apply(image);
    TempDir scratch;
    const auto problems = rz::ctl::checkShowFile(image, scratch.path());
    ASSERT_FALSE(problems.empty());
    bool found = false;
    for (const auto& p : problems)
        found = found || (p.offset == offset && p.what.find(GetParam().words) != std::string::npos);
    EXPECT_TRUE(found) << "first problem: " << problems[0].offset << " " << problems[0].what;
}

INSTANTIATE_TEST_SUITE_P(Damages, ShowCheck, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShowCheckSound, SavedShowsHaveNoProblem)
{
    for (const Bytes& image : {ctl::coreTestShow(), ctl::edgeShow()}) {
        TempDir scratch;
        const auto problems = rz::ctl::checkShowFile(image, scratch.path());
        EXPECT_TRUE(problems.empty()) << problems[0].offset << " " << problems[0].what;
    }
}

// The program: problems on standard output with "offset N", status 1; a valid file, 0; the
// dump of a damaged file is refused rather than printed half.
TEST(ShowCheckProgram, ExitStatusTellsSoundFromDamaged)
{
    TempDir dir;
    Bytes image = ctl::coreTestShow();
    writeAll(dir / "good.K_F", image);
    const std::size_t goodSize = image.size();
    const std::size_t offset = kDamages[3].apply(image);
    writeAll(dir / "bad.K_F", image);
    const auto arg = [&](const char* f) { return QString::fromStdString((dir / f).string()); };

    const CtlRun good = runCtl({"show", "check", arg("good.K_F")});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, "ok: show file is valid (" + std::to_string(goodSize) + " bytes)\n");
    const CtlRun bad = runCtl({"show", "check", arg("bad.K_F")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.out.find("offset " + std::to_string(offset)), std::string::npos) << bad.out;
    EXPECT_EQ(runCtl({"show", "check", arg("missing.K_F")}).exitCode, 3);

    Bytes materials = ctl::coreTestShow();
    kDamages[5].apply(materials);
    writeAll(dir / "materials.K_F", materials);
    const CtlRun dump = runCtl({"show", "dump", arg("materials.K_F")});
    EXPECT_EQ(dump.exitCode, 3);
    EXPECT_TRUE(dump.out.empty());
    EXPECT_NE(dump.err.find("effect 2"), std::string::npos) << dump.err;
}

} // namespace
} // namespace rz::test
