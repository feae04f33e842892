// A data root whose path holds Chinese characters and spaces, as installers' folders do:
// on Windows every path must reach the system as UTF-16, never through the ANSI code page.
#include "ShowTestSupport.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/show/ShowPaths.h"
#include "core/show/ShowTexts.h"

namespace rz::test::showfile {
namespace {

const std::u16string kRootName = u"灯光 数据 根目录";

TEST(ShowDataRoot, ShowIsSavedBackedUpAndLoadedUnderAChineseRootWithSpaces)
{
    ShowRig rig{std::filesystem::path(kRootName)};
    fillShow(rig);
    rig.materialFiles.switchEffect(0);
    const TablesSnapshot before(*rig.show);
    ASSERT_TRUE(rig.file.saveShow());
    rig.file.backupShow(show::kBackupTagSaveButton);

    // The folders carry their real names, not the bytes of some code page.
    std::vector<std::u16string> names;
    for (const auto& e : std::filesystem::directory_iterator(rig.dir.path()))
        names.push_back(e.path().filename().u16string());
    EXPECT_EQ(names, std::vector<std::u16string>{kRootName});
    std::vector<std::u16string> backups;
    for (const auto& e : std::filesystem::directory_iterator(show::backupFolderPath(rig.root)))
        backups.push_back(e.path().filename().u16string());
    EXPECT_EQ(backups, std::vector<std::u16string>{u"SHOW--[261210-111905] 点击保存.K_F"});

    // Saving again replaces the existing file.
    ASSERT_TRUE(rig.file.saveShow());
    rig.show->library.clearAllFixtures();
    rig.show->scenes.clearAllScenes();
    rig.show->effects.clearAllEffects();
    ASSERT_EQ(rig.file.loadShow(), show::LoadResult::loaded);
    TablesSnapshot after(*rig.show);
    after.currentEffect = before.currentEffect;
    EXPECT_TRUE(after == before);
}

TEST(ShowDataRoot, GbkChannelNamesUnderAChineseRootKeepTheirEncoding)
{
    TempDir dir;
    const auto file = settingsPaths(dir / kRootName).customChannelNames;
    // "91T=灯光" in GBK, as the older Windows tool writes it.
    writeText(file, "91T=\xB5\xC6\xB9\xE2\r\n");
    EXPECT_EQ(readKey(file, u"91T"), u"灯光");
    ASSERT_TRUE(writeKey(file, u"92T", u"自定义"));
    EXPECT_EQ(readText(file), "91T=\xB5\xC6\xB9\xE2\r\n92T=\xD7\xD4\xB6\xA8\xD2\xE5\r\n");
}

} // namespace
} // namespace rz::test::showfile
