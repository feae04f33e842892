#include "core/materials/ChaseGenerator.h"

#include <gtest/gtest.h>

using namespace rz::materials;

namespace {

Material fixtures(int count, int channels = 2)
{
    Material m;
    m.fixtureCount = static_cast<uint8_t>(count);
    m.channelCount = static_cast<uint8_t>(channels);
    return m;
}

// The fixtures of step i at `level` on channel 1, in fixture order.
std::vector<int> litIn(const Material& m, int i, int level = 255)
{
    std::vector<int> lit;
    for (int f = 1; f <= m.fixtureCount; ++f)
        if (m.step(i).level(f, 1) == level)
            lit.push_back(f);
    return lit;
}

ChaseInputs headToTail(std::u16string width, std::u16string start, bool reverse = false)
{
    return {std::u16string(kChaseTypeHeadToTail), width, start, u"", u"", reverse};
}

} // namespace

TEST(Chase, BlockEndsAtTheStartAndAdvancesOneFixturePerStep)
{
    struct Case {
        bool reverse;
        std::vector<std::vector<int>> lit; // per step, ascending
        std::u16string firstLine;
    } cases[] = {
        {false, {{1, 4}, {1, 2}, {2, 3}, {3, 4}}, u"步001：01 04 \r\n"},
        {true, {{1, 4}, {3, 4}, {2, 3}, {1, 2}}, u"步001：04 01 \r\n"},
    };
    for (const Case& c : cases) {
        Material m = fixtures(4);
        const ChaseOutcome out = generateChase(m, headToTail(u"2", u"1", c.reverse));
        ASSERT_TRUE(out.generated);
        ASSERT_EQ(m.stepCount, 4);
        for (int i = 1; i <= 4; ++i) {
            EXPECT_EQ(litIn(m, i), c.lit[i - 1]) << "step " << i << (c.reverse ? " reversed" : "");
            EXPECT_EQ(m.step(i).level(c.lit[i - 1][0], 2), 255); // every channel of a lit fixture
        }
        EXPECT_EQ(out.info.substr(0, c.firstLine.size()), c.firstLine);
    }
    Material m = fixtures(4);
    EXPECT_EQ(generateChase(m, headToTail(u"2", u"1")).info,
              u"步001：01 04 \r\n步002：02 01 \r\n步003：03 02 \r\n步004：04 03 \r\n");
}

TEST(Chase, LevelsFallBackToTheirDefaults)
{
    struct Case {
        std::u16string on, off;
        int onLevel, offLevel;
    } cases[] = {{u"300", u"", 255, 0}, {u"", u"abc", 255, 0}, {u"100", u"20", 100, 20}, {u"0", u"255", 0, 255}};
    for (const Case& c : cases) {
        Material m = fixtures(3);
        ChaseInputs in = headToTail(u"1", u"2");
        in.onLevel = c.on;
        in.offLevel = c.off;
        ASSERT_TRUE(generateChase(m, in).generated);
        EXPECT_EQ(m.step(1).level(2, 1), c.onLevel);
        EXPECT_EQ(m.step(1).level(1, 2), c.offLevel);
    }
}

TEST(Chase, ReplacesTheOldStepsAndKeepsTheSettings)
{
    Material m = fixtures(3);
    m.stepCount = 8;
    m.uniformTime = 7;
    m.editStep(8).setLevel(1, 1, 9);
    m.editStep(2).fadeToNext = 1;
    ASSERT_TRUE(generateChase(m, headToTail(u"", u"")).generated);
    EXPECT_EQ(m.stepCount, 3);
    EXPECT_EQ(m.uniformTime, 7);
    EXPECT_EQ(m.step(8).level(1, 1), 0);
    EXPECT_EQ(m.step(2).fadeToNext, 0);
    EXPECT_EQ(litIn(m, 1), std::vector<int>{1});
}

TEST(Chase, OutOfRangeStartOrWidthStillClosesTheChase)
{
    for (std::u16string start : {u"0", u"9"}) {
        Material m = fixtures(4);
        ASSERT_TRUE(generateChase(m, headToTail(u"9", start)).generated);
        EXPECT_EQ(m.stepCount, 4);
        EXPECT_EQ(litIn(m, 2).size(), 4u); // the block is at most all fixtures
    }
}

TEST(Chase, RefusesWithoutATypeOrFixtures)
{
    Material m = fixtures(4);
    m.stepCount = 2;
    m.editStep(1).setLevel(1, 1, 5);
    ChaseInputs none = headToTail(u"2", u"1");
    none.type = kChaseTypeNone;
    ChaseOutcome out = generateChase(m, none);
    EXPECT_FALSE(out.generated);
    EXPECT_EQ(out.info, u"未选择任何跑马类型");
    EXPECT_EQ(m.stepCount, 2);
    EXPECT_EQ(m.step(1).level(1, 1), 5);

    Material empty = fixtures(0);
    EXPECT_FALSE(generateChase(empty, headToTail(u"1", u"1")).generated);
    EXPECT_EQ(empty.stepCount, 0);
}
