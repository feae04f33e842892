#include "core/files/FileDialogs.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz;
using namespace rz::files;

TEST(FileDialogs, FilterText)
{
    EXPECT_EQ(dialogFilterText(u"保存素材", u"K_1SC"), u"保存素材 (*.K_1SC)");
    EXPECT_EQ(dialogFilterText(kOpenFileTitle, u"K_F"), u"打开文件 (*.K_F)");
    EXPECT_EQ(dialogFilterPattern(u"K_F"), u"*.K_F");
}

TEST(FileDialogs, SaveNameGetsTheExtensionOnce)
{
    struct Case {
        std::string typed;
        std::string result;
    } const cases[] = {
        {"dir/a", "dir/a.K_1SC"},
        {"dir/a.K_1SC", "dir/a.K_1SC"},          // not extended again
        {"dir/a.K_1SC  ", "dir/a.K_1SC"},        // trailing blanks are not part of the name
        {std::string("dir/a\0", 6), "dir/a.K_1SC"}, // nor a trailing NUL from the name buffer
        {std::string("dir/a \0\0 ", 9), "dir/a.K_1SC"},
        {"dir/a.K_1S", "dir/a.K_1S.K_1SC"},
        {"dir/a.k_1sc", "dir/a.k_1sc.K_1SC"},    // the extension is compared exactly
        {"dir/K_1SC", "dir/K_1SC.K_1SC"},        // the dot belongs to the extension
        {"dir/ a", "dir/ a.K_1SC"},              // leading blanks stay
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        test::ScriptedFileChooser chooser;
        test::RecordingPrompt prompt;
        chooser.paths.push_back(std::filesystem::path(c.typed));
        const auto chosen = chooseSaveFile(chooser, prompt, u"保存素材", u"K_1SC");
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen->string(), c.result);
        EXPECT_TRUE(prompt.messages.empty());
        ASSERT_EQ(chooser.calls.size(), 1u);
        EXPECT_TRUE(chooser.calls[0].save);
        EXPECT_EQ(chooser.calls[0].title, u"保存素材");
        EXPECT_EQ(chooser.calls[0].extension, u"K_1SC");
    }
}

TEST(FileDialogs, NothingChosenForSavingSaysWrongFileName)
{
    for (const auto& typed : std::vector<std::optional<std::filesystem::path>>{
             std::nullopt, std::filesystem::path{}, std::filesystem::path("   "),
             std::filesystem::path(std::string(" \0", 2))}) {
        test::ScriptedFileChooser chooser;
        test::RecordingPrompt prompt;
        chooser.paths.push_back(typed);
        EXPECT_FALSE(chooseSaveFile(chooser, prompt, u"K_F"));
        EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"文件名错误！"});
        EXPECT_EQ(chooser.calls.at(0).title, u"保存文件");
    }
}

TEST(FileDialogs, OpenNeedsAReadableNonEmptyFile)
{
    test::TempDir tmp;
    test::writeAll(tmp / "good.K_F", {1, 2, 3});
    test::writeAll(tmp / "empty.K_F", {});
    std::filesystem::create_directories(tmp / "folder.K_F");

    struct Case {
        const char* name;
        std::optional<std::filesystem::path> typed;
        bool accepted;
    } const cases[] = {
        {"good", tmp / "good.K_F", true},
        {"good with blanks and NUL", std::filesystem::path((tmp / "good.K_F").string() + std::string(" \0", 2)), true},
        {"cancelled", std::nullopt, false},
        {"empty name", std::filesystem::path{}, false},
        {"missing", tmp / "missing.K_F", false},
        {"empty file", tmp / "empty.K_F", false},
        {"folder", tmp / "folder.K_F", false},
        {"no extension added", tmp / "good", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedFileChooser chooser;
        test::RecordingPrompt prompt;
        chooser.paths.push_back(c.typed);
        const auto chosen = chooseOpenFile(chooser, prompt, u"K_F");
        EXPECT_EQ(chooser.calls.at(0).title, u"打开文件");
        EXPECT_FALSE(chooser.calls.at(0).save);
        if (c.accepted) {
            ASSERT_TRUE(chosen);
            EXPECT_EQ(*chosen, tmp / "good.K_F");
            EXPECT_TRUE(prompt.messages.empty());
        } else {
            EXPECT_FALSE(chosen);
            EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"读取失败"});
        }
    }
}
