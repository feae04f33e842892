#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;

namespace {

TEST(SettingsPaths, FilesUnderTheDataRoot)
{
    const std::filesystem::path root = "/data/rz";
    const auto p = settingsPaths(root);
    EXPECT_EQ(p.system, root / "AppSet" / "SYSTEM.INI");
    EXPECT_EQ(p.work, root / "AppSet" / "Sys_config" / "WORK_SET");
    EXPECT_EQ(p.development, root / std::filesystem::path(u8"开发模式.INI"));
    EXPECT_EQ(p.colour, root / "AppSet" / "Sys_config" / "Pic" / "color.ini");
    EXPECT_EQ(p.customChannelNames, root / "AppSet" / std::filesystem::path(u8"通道描述自定义.txt"));
}

TEST(SettingsStartup, NotesWhetherTheColourFileExists)
{
    test::TempDir dir;
    EXPECT_FALSE(startSettings(dir.path()).colourFilePresent);
    test::writeText(settingsPaths(dir.path()).colour, "x=1\r\n");
    const auto s = startSettings(dir.path());
    EXPECT_TRUE(s.colourFilePresent);
    EXPECT_EQ(s.paths.work, settingsPaths(dir.path()).work);
}

TEST(SettingsKeys, ManualUidKeysHaveTwoDigits)
{
    EXPECT_EQ(keys::manualUid(1), u"手动添加01");
    EXPECT_EQ(keys::manualUid(9), u"手动添加09");
    EXPECT_EQ(keys::manualUid(10), u"手动添加10");
    EXPECT_EQ(keys::manualUid(20), u"手动添加20");
    EXPECT_EQ(keys::manualUid(0), u"");
    EXPECT_EQ(keys::manualUid(21), u"");
}

class TitleBarSettingsTest : public testing::Test {
protected:
    test::TempDir dir;
    SettingsPaths paths = settingsPaths(dir.path());
};

TEST_F(TitleBarSettingsTest, EachSwitchIsReadOnItsOwn)
{
    TitleBarSettings s;
    readTitleBarSettings(paths, s); // no files at all
    EXPECT_EQ(s.logoShown, 0);
    EXPECT_EQ(s.noAutoBackup, 0);

    test::writeText(paths.system, "不自动备份=1\r\n");
    s.logoShown = 1;
    readTitleBarSettings(paths, s); // the work file is missing: the logo keeps its value
    EXPECT_EQ(s.logoShown, 1);
    EXPECT_EQ(s.noAutoBackup, 1);

    test::writeText(paths.work, "LoSet=0\r\n");
    test::writeText(paths.system, "不自动备份=yes\r\n");
    readTitleBarSettings(paths, s); // a bad backup value does not stop the logo's read
    EXPECT_EQ(s.logoShown, 0);
    EXPECT_EQ(s.noAutoBackup, 1);
}

TEST_F(TitleBarSettingsTest, LogoToggleFlipsAndStoresTheNewState)
{
    test::writeText(paths.work, "连接接口=3\r\nLoSet=0\r\n");
    TitleBarSettings s;
    readTitleBarSettings(paths, s);

    EXPECT_EQ(toggleLogo(paths, s), 1);
    EXPECT_EQ(readKey(paths.work, keys::kLogoShown), u"1");
    EXPECT_EQ(toggleLogo(paths, s), 0);
    EXPECT_EQ(readKey(paths.work, keys::kLogoShown), u"0");
    EXPECT_EQ(readByteKey(paths.work, keys::kConnectionInterface, 0), 3); // others untouched

    s.logoShown = 5; // anything but 1 shows the logo
    EXPECT_EQ(toggleLogo(paths, s), 1);
}

} // namespace
