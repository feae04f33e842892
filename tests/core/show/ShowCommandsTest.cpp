// The light-control page's open, save-as and new commands.
#include "ShowTestSupport.h"

#include "core/show/ShowCommands.h"
#include "core/show/ShowPaths.h"
#include "core/show/ShowTexts.h"

namespace rz::test::showfile {
namespace {

std::filesystem::path onlyBackup(const ShowRig& rig)
{
    std::vector<std::filesystem::path> found;
    for (const auto& e : std::filesystem::directory_iterator(show::backupFolderPath(rig.dir.path())))
        found.push_back(e.path());
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? std::filesystem::path{} : found[0];
}

class ShowCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Another show, saved as a file the user can open.
        ShowRig other;
        fillShow(other);
        other.show->library.fixture(1).name = u"别的灯";
        ASSERT_TRUE(other.file.saveShow(otherFile));
        otherLibrary = other.show->library;

        rig.show->library.fixture(2).name = u"当前的灯";
    }

    ShowRig rig;
    std::filesystem::path otherFile = rig.dir / "other.K_F";
    fixtures::FixtureLibrary otherLibrary;
};

TEST_F(ShowCommands, OpenSavesAndBacksUpTheCurrentShowThenLoadsTheChosenFile)
{
    rig.chooser.paths.push_back(otherFile);
    EXPECT_TRUE(show::openShow(rig.file));

    EXPECT_EQ(rig.chooser.calls.size(), 1u);
    EXPECT_EQ(rig.chooser.calls[0].title, u"打开文件");
    EXPECT_EQ(rig.chooser.calls[0].extension, u"K_F");
    EXPECT_EQ(onlyBackup(rig).filename(), std::filesystem::path(u"SHOW--[261210-111905] 打开文件前.K_F"));
    EXPECT_EQ(rig.show->library, otherLibrary);
    EXPECT_EQ(rig.view.calls,
              (std::vector<std::string>{"titleBar:0", "loaded:other.K_F", "refresh", "titleBar:1"}));
    EXPECT_GE(rig.clock.now, 200u) << "the window system settles before the load";

    // The working file still holds the previous show until the next save.
    ShowRig check;
    ASSERT_EQ(check.file.loadShow(rig.file.showPath()), show::LoadResult::loaded);
    EXPECT_EQ(check.show->library.fixture(2).name, u"当前的灯");
    ASSERT_TRUE(rig.file.saveShow());
    ASSERT_EQ(check.file.loadShow(rig.file.showPath()), show::LoadResult::loaded);
    EXPECT_EQ(check.show->library, otherLibrary);
}

TEST_F(ShowCommands, OpeningAFileWithoutEffectsLeavesThemEmptyAndTheNextSaveKeepsThat)
{
    auto image = readAll(otherFile);
    std::fill_n(image.begin() + 4 * 12, 4, uint8_t{0});
    writeAll(otherFile, image);
    rig.show->effects = fx::richEffectTable();

    rig.chooser.paths.push_back(otherFile);
    ASSERT_TRUE(show::openShow(rig.file));
    EXPECT_EQ(rig.show->effects, effects::EffectTable{});
    ASSERT_TRUE(rig.file.saveShow());
    ShowRig check;
    check.show->effects = fx::richEffectTable();
    ASSERT_EQ(check.file.loadShow(rig.file.showPath()), show::LoadResult::loaded);
    EXPECT_EQ(check.show->effects, effects::EffectTable{});
}

TEST_F(ShowCommands, CancelledDialogsChangeNothing)
{
    EXPECT_FALSE(show::openShow(rig.file));
    EXPECT_FALSE(show::saveShowAs(rig.file));
    EXPECT_EQ(rig.prompt.messages, (std::vector<std::u16string>{u"读取失败", u"文件名错误！"}));
    EXPECT_FALSE(std::filesystem::exists(rig.file.showPath()));
    EXPECT_FALSE(std::filesystem::exists(show::backupFolderPath(rig.dir.path())));
    EXPECT_TRUE(rig.view.calls.empty());
}

TEST_F(ShowCommands, SaveAsCopiesTheFreshlySavedWorkingFile)
{
    rig.chooser.paths.push_back(rig.dir / "copy");
    EXPECT_TRUE(show::saveShowAs(rig.file));
    EXPECT_EQ(rig.chooser.calls[0].title, u"保存文件");
    const auto copy = rig.dir / "copy.K_F";
    ASSERT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(readAll(copy), readAll(rig.file.showPath()));
    EXPECT_EQ(onlyBackup(rig).filename(), std::filesystem::path(u"SHOW--[261210-111905] 另存文件.K_F"));
    EXPECT_TRUE(rig.prompt.messages.empty());
}

TEST_F(ShowCommands, NewShowAsksThenLoadsTheEmptyTemplate)
{
    rig.show->lightControl.powerOnScene = 9;
    {
        ShowRig blank;
        ASSERT_TRUE(blank.file.saveShow(rig.file.templatePath()));
    }

    rig.prompt.answers = {false};
    EXPECT_FALSE(show::newShow(rig.file));
    EXPECT_EQ(rig.show->library.fixture(2).name, u"当前的灯");
    EXPECT_FALSE(std::filesystem::exists(rig.file.showPath())) << "No saves nothing";

    rig.prompt.answers = {true};
    EXPECT_TRUE(show::newShow(rig.file));
    EXPECT_EQ(rig.prompt.questions,
              (std::vector<std::u16string>{std::u16string(show::kAskNewShow), std::u16string(show::kAskNewShow)}));
    EXPECT_EQ(rig.prompt.messages, std::vector<std::u16string>{std::u16string(show::kMsgOperationDone)});
    EXPECT_EQ(rig.show->library, fixtures::FixtureLibrary{});
    EXPECT_EQ(rig.show->lightControl.powerOnScene, 0);
    EXPECT_EQ(onlyBackup(rig).filename(), std::filesystem::path(u"SHOW--[261210-111905] 建立空白文件前.K_F"));
    EXPECT_EQ(rig.view.calls.front(), "titleBar:0");
    EXPECT_EQ(rig.view.calls.back(), "titleBar:1");
}

TEST_F(ShowCommands, NewShowWithoutTemplateReportsNoSuccess)
{
    rig.prompt.answers = {true};
    EXPECT_FALSE(show::newShow(rig.file));
    EXPECT_EQ(rig.prompt.messages, std::vector<std::u16string>{std::u16string(show::kMsgShowFileMissing)});
}

TEST_F(ShowCommands, FailedSaveStopsTheCommandBeforeAnythingIsLost)
{
    std::filesystem::create_directories(rig.file.showPath() / "blocked");
    rig.chooser.paths.push_back(otherFile);
    EXPECT_FALSE(show::openShow(rig.file));
    EXPECT_EQ(rig.prompt.messages, std::vector<std::u16string>{std::u16string(show::kMsgShowSaveFailed)});
    EXPECT_EQ(rig.show->library.fixture(2).name, u"当前的灯");
    EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"titleBar:0", "titleBar:1"}));
}

} // namespace
} // namespace rz::test::showfile
