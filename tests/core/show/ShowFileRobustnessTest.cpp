// Every prefix of a saved show and many randomly damaged copies load without crashing or
// hanging, and a file that is refused leaves the show exactly as it was.
#include "ShowTestSupport.h"

#include <random>

namespace rz::test::showfile {
namespace {

class ShowFileRobustness : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A small show keeps the prefix loop short while every section has content.
        fx::fillLibrary(rig.show->library);
        rig.show->scenes.scene(1).effect = 2;
        rig.show->scenes.scene(1).relays[3] = 1;
        effects::Effect& e = rig.show->effects.effect(2);
        e.note = u"效果";
        e.barCount = {2, 1};
        e.beatCount = {2, 1};
        e.beatGrid.setCell(0, 2, 1, 1, 1, true);
        e.beatGrid.setCell(1, 1, 1, 1, 1, true);
        rig.show->lightControl.powerOnScene = 1;
        rig.putMaterials(2, 1, 5);
        rig.materialFiles.switchEffect(0);
        ASSERT_TRUE(rig.file.saveShow());
        saved = readAll(rig.file.showPath());
        damaged = rig.dir / "damaged.K_F";

    }

    // Loads `bytes`; a refused file must have changed nothing.
    show::LoadResult loadAndCheck(const std::vector<uint8_t>& bytes)
    {
        if (!before)
            before = std::make_unique<TablesSnapshot>(*rig.show);
        writeAll(damaged, bytes);
        const show::LoadResult r = rig.file.loadShow(damaged);
        if (r == show::LoadResult::loaded)
            before.reset();
        else
            EXPECT_TRUE(TablesSnapshot(*rig.show) == *before);
        return r;
    }

    ShowRig rig;
    std::vector<uint8_t> saved;
    std::filesystem::path damaged;
    std::unique_ptr<TablesSnapshot> before; // the show as the last accepted file left it
};

TEST_F(ShowFileRobustness, EveryPrefixLoadsOrIsRefused)
{
    const uint32_t effects = show::sectionPosition(saved, 12);
    for (std::size_t n = 1; n < saved.size(); ++n) {
        const std::vector<uint8_t> prefix(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n));
        const show::LoadResult r = loadAndCheck(prefix);
        // Up to the effects section's identifier some section always points past the end.
        if (n < effects + 4) {
            ASSERT_EQ(r, show::LoadResult::formatError) << "prefix of " << n << " bytes";
        }
    }
    // Only the information section and the motion lists lie behind it, both optional.
    EXPECT_EQ(loadAndCheck(saved), show::LoadResult::loaded);
}

TEST_F(ShowFileRobustness, RandomlyDamagedCopiesNeverCrashOrHang)
{
    std::mt19937 random(760);
    std::uniform_int_distribution<std::size_t> position(0, saved.size() - 1);
    std::uniform_int_distribution<int> byteValue(0, 255);
    std::uniform_int_distribution<int> damageCount(1, 8);
    int refused = 0;
    for (int round = 0; round < 1000; ++round) {
        auto copy = saved;
        for (int k = damageCount(random); k > 0; --k)
            copy[position(random)] = static_cast<uint8_t>(byteValue(random));
        if (round % 4 == 0) // some damage in the section table, where positions live
            copy[4 + position(random) % 200] = static_cast<uint8_t>(byteValue(random));
        if (loadAndCheck(copy) == show::LoadResult::formatError)
            ++refused;
        rig.prompt.messages.clear();
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(loadAndCheck(saved), show::LoadResult::loaded);
}

} // namespace
} // namespace rz::test::showfile
