// The exchange files dump as the same JSON as the parts of a show they carry.
#include "ShowSamples.h"
#include "ctl/ShowJson.h"
#include "core/effects/EffectFiles.h"
#include "core/fixtures/FixtureFiles.h"
#include "core/show/ShowTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::test {
namespace {

using nlohmann::json;
using ctl::dumped;

json without(json j, std::initializer_list<const char*> keys)
{
    for (const char* k : keys)
        j.erase(k);
    return j;
}

class ExchangeDump : public ::testing::Test {
protected:
    void SetUp() override
    {
        showfile::fillShow(rig);
        ASSERT_TRUE(rig.file.saveShow(rig.dir / "show.K_F"));
        show = dumped(readAll(rig.dir / "show.K_F"));
    }

    const json& effect(int number) const
    {
        for (const json& e : show["effects"])
            if (e["number"] == number)
                return e;
        throw std::runtime_error("no such effect");
    }

    showfile::ShowRig rig;
    effects::EffectFiles effectFiles{rig.show->effects, rig.show->materials, rig.materialFiles, rig.show->library,
                                     rig.show->editing, rig.chooser, rig.prompt};
    json show;
};

TEST_F(ExchangeDump, FixtureFiles)
{
    const json one = dumped(fixtures::encodeSingleFixtureFile(rig.show->library, 1));
    EXPECT_EQ(one["kind"], "K_1DK");
    EXPECT_EQ(one["fixture"], without(show["fixtures"][0], {"number"}));
    const json all = dumped(fixtures::encodeAllFixturesFile(rig.show->library));
    EXPECT_EQ(all["kind"], "K_ADK");
    EXPECT_EQ(all["fixtures"], show["fixtures"]);
}

TEST_F(ExchangeDump, MaterialFile)
{
    // Effect 5 is current; its one material is in module 1, slot 1.
    const json m = dumped(rig.materialFiles.materialFileImage(1, 1));
    EXPECT_EQ(m["kind"], "K_1SC");
    EXPECT_EQ(m["material"], without(effect(5)["materials"][0], {"module", "slot"}));
}

TEST_F(ExchangeDump, EffectFiles)
{
    const auto all = effectFiles.allEffectsImage();
    ASSERT_TRUE(all);
    const json a = dumped(*all);
    EXPECT_EQ(a["kind"], "K_AXG");
    EXPECT_EQ(a["effects"], show["effects"]);

    const auto one = effectFiles.effectImage(2);
    ASSERT_TRUE(one);
    const json e = dumped(*one);
    EXPECT_EQ(e["kind"], "K_1XG");
    EXPECT_EQ(e["effect"], without(effect(2), {"number"}));

    const auto module = effectFiles.moduleImage(2, 1);
    ASSERT_TRUE(module);
    const json m = dumped(*module);
    EXPECT_EQ(m["kind"], "K_1MK");
    EXPECT_EQ(m["module"], without(effect(2)["modules"][0], {"allNoBassBeats", "allBassBeats", "allBeats"}));
    EXPECT_EQ(m["materials"], effect(2)["materials"]); // all of effect 2's are in module 1
}

TEST(ExchangeDumpRefusal, UnknownAndDamagedFilesAreRefused)
{
    showfile::ShowRig rig;
    fx::fillLibrary(rig.show->library);
    std::vector<uint8_t> damaged = fixtures::encodeAllFixturesFile(rig.show->library);
    damaged.resize(damaged.size() - 5);
    for (const std::vector<uint8_t>& image : {std::vector<uint8_t>{1, 2, 3, 4, 5}, std::vector<uint8_t>{}, damaged})
        EXPECT_THROW(dumped(image), rz::ctl::FileRefusal);
}

} // namespace
} // namespace rz::test
