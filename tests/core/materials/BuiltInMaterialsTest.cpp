#include "core/materials/BuiltInMaterials.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::materials;

namespace {

class BuiltInTest : public ::testing::Test {
protected:
    std::filesystem::path category(std::u16string_view kind, int c)
    {
        return root / "AppSet" / std::filesystem::path(std::u16string(kind)) /
               std::filesystem::path(std::u16string(kBuiltInCategoryNames[c]));
    }

    test::TempDir root;
    BuiltInMaterials chooser{root.path()};
};

} // namespace

TEST_F(BuiltInTest, ListsAtMostFortyMaterialFilesOfTheCategory)
{
    const auto folder = category(kStandardMaterials, 3);
    std::filesystem::create_directories(folder);
    for (int i = 1; i <= 45; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "m%02d.K_1SC", i);
        test::writeAll(folder / name, {1});
    }
    test::writeAll(folder / "m01.txt", {'x'});
    test::writeAll(folder / "other.K_1XG", {1});
    std::filesystem::create_directories(folder / "sub.K_1SC"); // a folder, not a file

    chooser.listBuiltIns(kStandardMaterials, 3);
    EXPECT_EQ(chooser.category(), 3);
    ASSERT_EQ(chooser.entries().size(), 40u);
    EXPECT_EQ(chooser.entries()[0].caption, u"m01");
    EXPECT_EQ(chooser.entries()[39].caption, u"m40");
    EXPECT_EQ(chooser.entries()[39].file, folder / "m40.K_1SC");

    chooser.listBuiltIns(kPersonalMaterials, 3); // no such folder
    EXPECT_TRUE(chooser.entries().empty());
}

TEST_F(BuiltInTest, DescriptionsComeFromTheTextFileBesideTheMaterial)
{
    const auto folder = category(kPersonalMaterials, 8);
    std::filesystem::create_directories(folder);
    for (const char* n : {"a.K_1SC", "b.K_1SC", "c.K_1SC"})
        test::writeAll(folder / n, {1});
    test::writeText(folder / "a.txt", "红色跑马\n第二行");
    test::writeText(folder / "b.txt", "");
    chooser.listBuiltIns(kPersonalMaterials, 8);
    EXPECT_EQ(chooser.builtInDescription(1), u"红色跑马\r\n第二行\r\n");
    EXPECT_EQ(chooser.builtInDescription(2), u"无说明");
    EXPECT_EQ(chooser.builtInDescription(3), u"无说明");
    EXPECT_EQ(chooser.builtInDescription(4), u"无说明");
}

TEST_F(BuiltInTest, ImportAsksFirst)
{
    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    test::ScriptedFileChooser dialogs;
    test::RecordingPrompt prompt;
    MaterialFiles files{store, library, context, root.path(), dialogs, prompt};
    const std::u16string red = u"红";
    store.at(1, 1).name = red;
    store.at(1, 1).stepCount = 1;
    const auto folder = category(kStandardMaterials, 1);
    std::filesystem::create_directories(folder);
    test::writeAll(folder / u"红.K_1SC", files.materialFileImage(1, 1));

    chooser.listBuiltIns(kStandardMaterials, 1);
    prompt.answers = {false, true};
    EXPECT_FALSE(chooser.importBuiltIn(1, 2, 2, files, prompt));
    EXPECT_EQ(store.at(2, 2).name, u"");
    EXPECT_TRUE(chooser.importBuiltIn(1, 2, 2, files, prompt));
    EXPECT_EQ(store.at(2, 2).name, u"红");
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.questions[0], u"是否导入  [红]");
}
