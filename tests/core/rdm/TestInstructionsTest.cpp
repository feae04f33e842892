#include "core/app/SettingsFile.h"
#include "core/rdm/ManualUids.h"
#include "core/rdm/TestInstructions.h"
#include "core/rdm/NumberText.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::rdm {
namespace {

TEST(TestInstructionsTest, LineSplitsIntoClassPidAndDataBeforeTheComment)
{
    const struct {
        const char16_t* line;
        const char16_t* commandClass;
        const char16_t* pid;
        const char16_t* data;
    } cases[] = {
        {u"0020 0060 //DEVICE_INFO", u"0020", u"0060", u""},
        {u"0030 00F0 0001//DMX_START_ADDRESS", u"0030", u"00F0", u"0001"},
        {u"0030 1000 01", u"0030", u"1000", u"01"},
        {u"0020 00", u"0020", u"00", u""},
        {u"", u"", u"", u""},
    };
    for (const auto& c : cases) {
        const TestInstruction t = splitTestInstruction(c.line);
        EXPECT_EQ(t.commandClass, c.commandClass);
        EXPECT_EQ(t.pid, c.pid);
        EXPECT_EQ(t.data, c.data);
    }
}

TEST(TestInstructionsTest, EveryPresetIsASendableRequest)
{
    ASSERT_FALSE(presetTestInstructions().empty());
    for (const std::u16string& line : presetTestInstructions()) {
        const TestInstruction t = splitTestInstruction(line);
        EXPECT_TRUE(bytesFromHex(t.commandClass).has_value());
        EXPECT_EQ(t.commandClass.size(), 4u);
        EXPECT_EQ(t.pid.size(), 4u);
        EXPECT_TRUE(bytesFromHex(t.pid).has_value());
        EXPECT_TRUE(bytesFromHex(t.data).has_value());
        EXPECT_NE(line.find(u"//"), std::u16string::npos);
    }
}

TEST(ManualUidsTest, NonEmptyKeysInOrderAndTheLastText)
{
    test::TempDir dir;
    const SettingsPaths paths = settingsPaths(dir.path());
    ASSERT_TRUE(writeKey(paths.system, keys::manualUid(3), u"00-01-00-00-00-03"));
    ASSERT_TRUE(writeKey(paths.system, keys::manualUid(1), u"00-01-00-00-00-01"));
    ASSERT_TRUE(writeKey(paths.system, keys::manualUid(2), u""));
    ASSERT_TRUE(writeKey(paths.system, keys::manualUid(20), u"00-01-00-00-00-20"));
    ASSERT_TRUE(writeKey(paths.system, keys::kManualUidLast, u"00-01-00-00-00-03"));
    const ManualUidChoices choices = readManualUidChoices(paths);
    EXPECT_EQ(choices.offered, (std::vector<std::u16string>{u"00-01-00-00-00-01", u"00-01-00-00-00-03",
                                                            u"00-01-00-00-00-20"}));
    EXPECT_EQ(choices.initialText, u"00-01-00-00-00-03");
    EXPECT_TRUE(readManualUidChoices(settingsPaths(dir.path() / "none")).offered.empty());
}

} // namespace
} // namespace rz::rdm
