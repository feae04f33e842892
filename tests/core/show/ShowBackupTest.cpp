// Backups, the "不自动备份" switch, the empty template and the size bound of a save.
#include "ShowTestSupport.h"

#include "core/app/SettingsCatalogue.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/show/ShowPaths.h"
#include "core/show/ShowTexts.h"

namespace rz::test::showfile {
namespace {

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> out;
    if (std::filesystem::exists(folder))
        for (const auto& e : std::filesystem::directory_iterator(folder))
            out.push_back(e.path());
    return out;
}

TEST(ShowBackup, BackupNameCarriesTimeStampAndTag)
{
    const LocalDateTime t{2026, 1, 2, 3, 4, 5};
    EXPECT_EQ(show::backupFilePath("root", t, u"点击保存"),
              std::filesystem::path("root") / u"灯光备份" / u"SHOW--[260102-030405] 点击保存.K_F");
}

TEST(ShowBackup, SwitchDecidesOnTheCopyButGroupsAreAlwaysStored)
{
    const struct {
        const char* setting; // system file content; nullptr = no file
        bool copied;
    } cases[] = {
        {nullptr, true},
        {"不自动备份=0\r\n", true},
        {"WIFI_IP=1.2.3.4\r\n不自动备份=1\r\n", false},
        {"不自动备份=2\r\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "no system file");
        ShowRig rig;
        if (c.setting)
            writeText(settingsPaths(rig.dir.path()).system, c.setting);
        rig.show->fixtureGroups.setMember(3, 12, true);
        rig.show->fixtureGroups.groupsTouched = true;
        ASSERT_TRUE(rig.file.saveShow());

        rig.file.backupShow(show::kBackupTagSaveButton);

        const auto groupFile = fixtures::groupFilePath(rig.dir.path());
        ASSERT_TRUE(std::filesystem::exists(groupFile));
        fixtures::FixtureGroups stored;
        ASSERT_TRUE(fixtures::decodeGroupFile(readAll(groupFile), stored));
        EXPECT_TRUE(stored.isMember(3, 12));

        const auto backups = filesIn(show::backupFolderPath(rig.dir.path()));
        if (c.copied) {
            ASSERT_EQ(backups.size(), 1u);
            EXPECT_EQ(backups[0].filename(), std::filesystem::path(u"SHOW--[261210-111905] 点击保存.K_F"));
            EXPECT_EQ(readAll(backups[0]), readAll(rig.file.showPath()));
        } else {
            EXPECT_TRUE(backups.empty());
        }
    }
}

TEST(ShowBackup, TemplateIsWrittenOnlyWhenMissingOrEmpty)
{
    const struct {
        const char* what;
        std::optional<std::vector<uint8_t>> existing;
        bool rewritten;
    } cases[] = {
        {"missing", std::nullopt, true},
        {"empty", std::vector<uint8_t>{}, true},
        {"present", std::vector<uint8_t>{1, 2, 3}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShowRig rig;
        if (c.existing)
            writeAll(rig.file.templatePath(), *c.existing);
        rig.file.ensureTemplate();
        const auto bytes = readAll(rig.file.templatePath());
        if (c.rewritten) {
            ASSERT_GE(bytes.size(), 4u);
            EXPECT_EQ(files::ByteReader(bytes).getId(), "F10410A1");
        } else {
            EXPECT_EQ(bytes, *c.existing);
        }
        EXPECT_FALSE(std::filesystem::exists(rig.file.showPath()));
    }
}

// Six materials of 600 steps, 20 fixtures and 32 channels hold about 2.3 MB of levels.
TEST(ShowBackup, ShowBeyondTheFileBoundIsRefusedAndTheOldFileKept)
{
    ShowRig rig;
    fillShow(rig);
    ASSERT_TRUE(rig.file.saveShow());
    const auto before = readAll(rig.file.showPath());

    for (int s = 1; s <= 6; ++s) {
        materials::Material& m = rig.show->materials.at(2, s);
        m.stepCount = materials::kMaxSteps;
        m.uniformTime = 1;
        m.fixtureCount = materials::kMaxVirtualFixtures;
        m.channelCount = materials::kMaxChannels;
        for (int i = 1; i <= materials::kMaxSteps; ++i)
            for (int f = 1; f <= materials::kMaxVirtualFixtures; ++f)
                for (int ch = 1; ch <= materials::kMaxChannels; ++ch)
                    m.setLevel(i, f, ch, static_cast<uint8_t>(1 + (i + f + ch) % 250));
    }
    EXPECT_FALSE(rig.file.saveShow());
    EXPECT_EQ(rig.prompt.messages, std::vector<std::u16string>{std::u16string(show::kMsgShowTooLarge)});
    EXPECT_EQ(readAll(rig.file.showPath()), before);
}

TEST(ShowBackup, FailedWriteSaysSo)
{
    ShowRig rig;
    std::filesystem::create_directories(rig.dir / "blocked.K_F" / "inside");
    EXPECT_FALSE(rig.file.saveShow(rig.dir / "blocked.K_F"));
    EXPECT_EQ(rig.prompt.messages, std::vector<std::u16string>{std::u16string(show::kMsgShowSaveFailed)});
}

} // namespace
} // namespace rz::test::showfile
