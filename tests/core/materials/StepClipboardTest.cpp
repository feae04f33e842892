#include "core/materials/StepClipboard.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::materials;

namespace {

// Levels (f, c) of step i are i * 10 + f + c; times 100 + i.
Material filled(int steps, int fixtures = 2, int channels = 3)
{
    Material m;
    m.fixtureCount = static_cast<uint8_t>(fixtures);
    m.channelCount = static_cast<uint8_t>(channels);
    m.stepCount = static_cast<int16_t>(steps);
    for (int i = 1; i <= steps; ++i) {
        MaterialStep& s = m.editStep(i);
        s.stepTime = static_cast<int16_t>(100 + i);
        for (int f = 1; f <= fixtures; ++f)
            for (int c = 1; c <= channels; ++c)
                s.setLevel(f, c, static_cast<uint8_t>(i * 10 + f + c));
    }
    return m;
}

int tag(const Material& m, int i) { return m.step(i).level(1, 1); }

class StepClipboardTest : public ::testing::Test {
protected:
    test::TempDir root;
    StepClipboard clipboard{root.path()};
    test::RecordingPrompt prompt;
};

} // namespace

TEST_F(StepClipboardTest, FileLayout)
{
    Material m = filled(2, 1, 2);
    m.editStep(2).fadeToNext = 1;
    m.editStep(2).stepMark = 1;
    m.editStep(2).stepTime = -2;
    ASSERT_TRUE(clipboard.copySteps(m, 2, 1, prompt));
    const std::vector<uint8_t> bytes = test::readAll(root / "AppSet" / "SC_COPY");
    std::vector<uint8_t> expected = {0xF1, 0x05, 0x01, 0xA1, // identifier
                                     0xA1,                   // fixed byte
                                     1, 2,                   // fixture and channel counts
                                     1};                     // steps copied
    expected.resize(208, 0);                                 // 200 reserved zeros
    for (uint8_t b : {0xFF, 0xFE, 1, 1}) // time -2, fade, mark
        expected.push_back(b);
    expected.resize(208 + 24, 0); // 20 zeros
    expected.push_back(22);       // fixture 1 channel 1
    expected.push_back(23);       // fixture 1 channel 2
    EXPECT_EQ(bytes, expected);
}

TEST_F(StepClipboardTest, PasteOverwritesFromTheGivenStepAndGrowsTheMaterial)
{
    Material source = filled(5);
    ASSERT_TRUE(clipboard.copySteps(source, 2, 3, prompt));
    Material target = filled(5);
    for (int i = 1; i <= 5; ++i)
        target.editStep(i).setLevel(1, 1, static_cast<uint8_t>(200 + i));
    ASSERT_TRUE(clipboard.pasteSteps(target, 5, prompt));
    EXPECT_EQ(target.stepCount, 7);
    EXPECT_EQ(tag(target, 4), 204);
    EXPECT_EQ(tag(target, 5), 22);
    EXPECT_EQ(tag(target, 7), 42);
    EXPECT_EQ(target.step(6).stepTime, 103);
    EXPECT_EQ(target.step(7).level(2, 3), 45);

    Material once = target;
    ASSERT_TRUE(clipboard.pasteSteps(target, 5, prompt));
    EXPECT_EQ(target.stepCount, once.stepCount);
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(target.step(i).levels, once.step(i).levels);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(StepClipboardTest, PasteAtTheEndFollowsTheLastStep)
{
    ASSERT_TRUE(clipboard.copySteps(filled(2), 1, 2, prompt));
    Material m = filled(4);
    for (int i = 1; i <= 4; ++i)
        m.editStep(i).setLevel(1, 1, static_cast<uint8_t>(200 + i));
    int16_t current = 2;
    ASSERT_TRUE(clipboard.pasteAtEnd(m, current, 10, prompt));
    EXPECT_EQ(m.stepCount, 6);
    EXPECT_EQ(current, 5);
    EXPECT_EQ(std::vector<int>({tag(m, 1), tag(m, 4), tag(m, 5), tag(m, 6)}),
              std::vector<int>({201, 204, 12, 22}));
}

TEST_F(StepClipboardTest, RefusedPastesLeaveTheMaterialUnchanged)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> file; // empty = no clipboard file
        int fixtures, channels, steps, first;
        std::u16string message;
    };
    std::vector<uint8_t> good;
    {
        StepClipboard other(root.path());
        ASSERT_TRUE(other.copySteps(filled(3), 1, 2, prompt));
        good = test::readAll(other.path());
    }
    std::vector<uint8_t> wrongId = good;
    wrongId[3] = 0x01;
    std::vector<uint8_t> noSteps = good;
    noSteps[7] = 0;
    std::vector<uint8_t> cutShort(good.begin(), good.end() - 1);
    const Case cases[] = {
        {"no clipboard", {}, 2, 3, 4, 1, u"粘贴错误！"},
        {"another file kind", wrongId, 2, 3, 4, 1, u"粘贴错误！！！"},
        {"cut short", cutShort, 2, 3, 4, 1, u"粘贴错误！！！"},
        {"other fixture count", good, 3, 3, 4, 1, u"灯具数不一致！！！"},
        {"other channel count", good, 2, 4, 4, 1, u"通道数不一致！！！"},
        {"no steps copied", noSteps, 2, 3, 4, 1, u"所复制的步为0"},
        {"past step 600", good, 2, 3, 600, 600, u"已经是最大步数!!!"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(clipboard.path());
        if (!c.file.empty())
            test::writeAll(clipboard.path(), c.file);
        Material m = filled(c.steps, c.fixtures, c.channels);
        const Material before = m;
        prompt.messages.clear();
        EXPECT_FALSE(clipboard.pasteSteps(m, c.first, prompt)) << c.what;
        ASSERT_EQ(prompt.messages.size(), 1u) << c.what;
        EXPECT_EQ(prompt.messages[0], c.message) << c.what;
        EXPECT_EQ(m.stepCount, before.stepCount) << c.what;
        EXPECT_EQ(m.step(c.first).levels, before.step(c.first).levels) << c.what;

        int16_t current = 1;
        prompt.messages.clear();
        EXPECT_FALSE(clipboard.pasteAtEnd(m, current, 10, prompt)) << c.what;
        EXPECT_EQ(m.stepCount, before.stepCount) << c.what << ": no empty step left behind";
    }
}

TEST_F(StepClipboardTest, ChecksAndRefusedCopiesKeepTheOldClipboard)
{
    ASSERT_TRUE(clipboard.copySteps(filled(3), 1, 1, prompt));
    const std::vector<uint8_t> before = test::readAll(clipboard.path());

    struct Check {
        int fixtures, channels, count;
        std::u16string message;
    } checks[] = {{0, 3, 1, u"灯具数量不能为0"}, {2, 0, 1, u"通道数量不能为0"}, {2, 3, 0, u"复制步数不能为0"}};
    for (const Check& c : checks) {
        prompt.messages.clear();
        EXPECT_FALSE(StepClipboard::checkStepCopy(filled(1, c.fixtures, c.channels), c.count, prompt));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0], c.message);
    }
    EXPECT_TRUE(StepClipboard::checkStepCopy(filled(1), 60, prompt));

    struct Copy {
        int first, count;
    } refused[] = {{599, 3}, {1, 256}};
    for (const Copy& c : refused) {
        prompt.messages.clear();
        EXPECT_FALSE(clipboard.copySteps(filled(3), c.first, c.count, prompt));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0], u"复制步数超出范围!!!");
    }
    EXPECT_EQ(test::readAll(clipboard.path()), before);

    // Steps past stepCount are copied as they lie in the table.
    EXPECT_TRUE(clipboard.copySteps(filled(3), 598, 3, prompt));
    clipboard.deleteStepClipboard();
    EXPECT_FALSE(std::filesystem::exists(clipboard.path()));
    clipboard.deleteStepClipboard(); // a missing file is no error
}

TEST(CopyCount, TextThatIsNotAWholeNumberCountsAsZero)
{
    struct Case {
        std::u16string text;
        int count;
    } cases[] = {{u"3", 3}, {u" 60 ", 60}, {u"", 0}, {u"abc", 0}, {u"2x", 0}, {u"-4", 0}, {u"300", 300}};
    for (const Case& c : cases)
        EXPECT_EQ(parseCopyCount(c.text), c.count);
}
