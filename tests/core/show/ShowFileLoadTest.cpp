// Loading a show file: the round trip, files that are no show, damaged and partial files.
#include "ShowTestSupport.h"

#include "core/fixtures/FixtureFiles.h"
#include "core/show/ShowTexts.h"

namespace rz::test::showfile {
namespace {

class ShowFileLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillShow(rig);
        ASSERT_TRUE(rig.file.saveShow());
        saved = readAll(rig.file.showPath());
    }

    // Writes `bytes` beside the working file and loads it.
    show::LoadResult loadBytes(const std::vector<uint8_t>& bytes)
    {
        const auto p = rig.dir / "other.K_F";
        writeAll(p, bytes);
        return rig.file.loadShow(p);
    }

    std::vector<uint8_t> patched(std::size_t at, std::initializer_list<uint8_t> bytes) const
    {
        auto image = saved;
        std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        return image;
    }

    std::vector<std::vector<uint8_t>> allTempFiles() const
    {
        std::vector<std::vector<uint8_t>> out;
        for (int e = 1; e <= effects::kEffectCount; ++e)
            out.push_back(rig.tempFileBytes(e));
        return out;
    }

    ShowRig rig;
    std::vector<uint8_t> saved;
};

TEST_F(ShowFileLoad, SaveLoadSaveGivesTheSameFileAndTables)
{
    const TablesSnapshot before(*rig.show);
    const auto temps = allTempFiles();
    // Scramble what the file holds, so only the load can bring it back.
    rig.show->library.clearAllFixtures();
    rig.show->scenes.clearAllScenes();
    rig.show->effects.clearAllEffects();
    rig.show->lightControl = {};
    rig.show->motionThreshold = 1;
    rig.materialFiles.deleteAllTemps();

    EXPECT_EQ(rig.file.loadShow(), show::LoadResult::loaded);
    EXPECT_TRUE(rig.prompt.messages.empty());
    EXPECT_EQ(rig.show->editing.currentEffect, 0);
    EXPECT_EQ(rig.show->materials.validCount(), 0) << "no effect is current after a load";
    TablesSnapshot after(*rig.show);
    after.currentEffect = before.currentEffect;
    EXPECT_TRUE(after == before);
    EXPECT_EQ(allTempFiles(), temps) << "every effect's materials are back in its temporary file";

    rig.materialFiles.switchEffect(2);
    EXPECT_EQ(rig.show->materials.validCount(), 3);
    rig.materialFiles.switchEffect(0);
    ASSERT_TRUE(rig.file.saveShow());
    EXPECT_EQ(withoutInfoSection(readAll(rig.file.showPath())), withoutInfoSection(saved));
}

TEST_F(ShowFileLoad, MissingFileSaysSoAndSetsDefaultAssociationsOnly)
{
    rig.show->scenes.scene(4).wallPanelScene = 0;
    rig.show->scenes.scene(4).vodScene = 0;
    const TablesSnapshot before(*rig.show);
    ASSERT_FALSE(rig.tempFileBytes(2).empty());

    EXPECT_EQ(rig.file.loadShow(rig.dir / "nowhere.K_F"), show::LoadResult::missing);
    EXPECT_EQ(rig.prompt.messages,
              std::vector<std::u16string>{std::u16string(show::kMsgShowFileMissing)});
    EXPECT_EQ(rig.show->scenes.scene(4).wallPanelScene, 4);
    EXPECT_EQ(rig.show->scenes.scene(4).vodScene, 4);
    EXPECT_EQ(rig.show->library, before.library);
    EXPECT_EQ(rig.show->effects, before.effects);
    EXPECT_TRUE(rig.tempFileBytes(2).empty()) << "the temporary effect files are deleted";
    // The caption names the file the show will be saved as, from the very first start on.
    EXPECT_EQ(rig.view.calls, std::vector<std::string>{"loaded:nowhere.K_F"});
}

TEST_F(ShowFileLoad, FileThatIsNoShowSaysFormatErrorAndChangesNothing)
{
    fixtures::FixtureLibrary library;
    fx::fillLibrary(library);
    std::vector<uint8_t> oversized = saved;
    oversized.resize(show::kShowImageCapacity + 1);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"single-fixture file", fixtures::encodeSingleFixtureFile(library, 1)},
        {"three bytes", {0xF1, 0x04, 0x10}},
        {"identifier only", {0xF1, 0x04, 0x10, 0xA1}},
        {"beyond the size bound", oversized},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        rig.prompt.messages.clear();
        const TablesSnapshot before(*rig.show);
        const auto temps = allTempFiles();
        EXPECT_EQ(loadBytes(c.bytes), show::LoadResult::formatError);
        EXPECT_EQ(rig.prompt.messages,
                  std::vector<std::u16string>{std::u16string(show::kMsgShowFormatError)});
        EXPECT_TRUE(TablesSnapshot(*rig.show) == before);
        EXPECT_EQ(rig.show->materials.validCount(), 1) << "the current effect keeps its materials";
        EXPECT_EQ(allTempFiles(), temps);
    }
    EXPECT_TRUE(rig.view.calls.empty());
}

// A section cut short is damage, not absence: the whole file is refused, so it never leaves
// half a show behind.
TEST_F(ShowFileLoad, SectionCutShortRefusesTheWholeFile)
{
    for (int slot : {1, 2, 10, 11, 12}) {
        SCOPED_TRACE(slot);
        rig.prompt.messages.clear();
        const uint32_t p = show::sectionPosition(saved, slot);
        const std::vector<uint8_t> cut(saved.begin(), saved.begin() + p + 8);
        const TablesSnapshot before(*rig.show);
        const auto temps = allTempFiles();
        EXPECT_EQ(loadBytes(cut), show::LoadResult::formatError);
        EXPECT_EQ(rig.prompt.messages,
                  std::vector<std::u16string>{std::u16string(show::kMsgShowFormatError)});
        EXPECT_TRUE(TablesSnapshot(*rig.show) == before);
        EXPECT_EQ(allTempFiles(), temps);
    }
}

TEST_F(ShowFileLoad, AbsentOrForeignSectionLeavesOnlyItsPartEmpty)
{
    struct Case {
        const char* what;
        int slot;
        bool dropEntry; // else the section's identifier is changed
    };
    const Case cases[] = {
        {"no scenes", 2, true}, {"foreign scenes", 2, false},
        {"no fixtures", 10, true}, {"no materials", 11, false},
        {"no effects", 12, true}, {"foreign effects", 12, false},
        {"no motion threshold", 13, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShowRig fresh;
        const uint32_t p = show::sectionPosition(saved, c.slot);
        auto image = c.dropEntry ? patched(4 * static_cast<std::size_t>(c.slot), {0, 0, 0, 0})
                                 : patched(p, {0x12, 0x34, 0x56, 0x78});
        writeAll(fresh.dir / "show.K_F", image);
        ASSERT_EQ(fresh.file.loadShow(fresh.dir / "show.K_F"), show::LoadResult::loaded);
        EXPECT_TRUE(fresh.prompt.messages.empty());

        const show::Show& s = *fresh.show;
        const show::Show& full = *rig.show;
        scenes::SceneTable noScenes;
        noScenes.applyFixedSceneNames();
        EXPECT_EQ(s.scenes, c.slot == 2 ? noScenes : full.scenes);
        EXPECT_EQ(s.library, c.slot == 10 ? fixtures::FixtureLibrary{} : full.library);
        EXPECT_EQ(fresh.tempFileBytes(2).empty(), c.slot == 11);
        EXPECT_EQ(s.effects, c.slot == 12 ? effects::EffectTable{} : full.effects);
        EXPECT_EQ(s.motionThreshold, c.slot == 13 ? fixtures::kDefaultMotionThreshold : 77);
        EXPECT_EQ(s.lightControl, full.lightControl);
    }
}

TEST_F(ShowFileLoad, FixtureBlockOfAnotherVersionEmptiesTheLibraryWithItsMessage)
{
    const uint32_t p = show::sectionPosition(saved, 10);
    ShowRig fresh;
    fx::fillLibrary(fresh.show->library);
    writeAll(fresh.dir / "show.K_F", patched(p + 4 + 1, {2}));
    EXPECT_EQ(fresh.file.loadShow(fresh.dir / "show.K_F"), show::LoadResult::loaded);
    EXPECT_EQ(fresh.prompt.messages, std::vector<std::u16string>{u"版本不对"});
    EXPECT_EQ(fresh.show->library, fixtures::FixtureLibrary{});
    EXPECT_EQ(fresh.show->scenes, rig.show->scenes);
}

TEST_F(ShowFileLoad, LoadedPathGoesToTheCaption)
{
    EXPECT_EQ(loadBytes(saved), show::LoadResult::loaded);
    EXPECT_EQ(rig.view.calls, std::vector<std::string>{"loaded:other.K_F"});
    EXPECT_EQ(rig.file.showPath().filename(), "SHOW.K_F") << "the working copy stays";
}

} // namespace
} // namespace rz::test::showfile
