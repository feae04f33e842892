#include "core/effects/EffectTable.h"
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::effects;

TEST(EffectTable, HasContentWhenAnyCountOfEitherModeIsSet)
{
    struct Case {
        std::array<uint8_t, 2> bars, beats;
        bool content;
    } cases[] = {
        {{0, 0}, {0, 0}, false}, {{1, 0}, {0, 0}, true}, {{0, 0}, {1, 0}, true},
        {{0, 1}, {0, 0}, true},  {{0, 0}, {0, 8}, true},
    };
    for (const Case& c : cases) {
        Effect e;
        e.barCount = c.bars;
        e.beatCount = c.beats;
        EXPECT_EQ(hasContent(e), c.content) << int(c.bars[0]) << int(c.beats[0]) << int(c.bars[1]) << int(c.beats[1]);
    }
}

TEST(EffectTable, CorrespondenceIsInvalidOnlyWhenAskedForAndTheModesDiffer)
{
    struct Case {
        uint8_t asked, independent;
        std::array<uint8_t, 2> bars, beats;
        uint8_t invalid;
    } cases[] = {
        {0, 0, {4, 2}, {4, 3}, 0}, // not asked for: never invalid
        {1, 1, {4, 4}, {4, 4}, 0},
        {1, 0, {4, 4}, {4, 4}, 1}, // bass bars not in use
        {1, 1, {4, 3}, {4, 4}, 1},
        {1, 1, {4, 4}, {4, 2}, 1},
        {1, 2, {0, 0}, {0, 0}, 0}, // independentBass is only tested for non-zero
    };
    for (const Case& c : cases) {
        EffectTable t;
        Effect& e = t.effect(5);
        e.bassBeatCorrespondence = c.asked;
        e.independentBass = c.independent;
        e.barCount = c.bars;
        e.beatCount = c.beats;
        e.correspondenceInvalid = 1 - c.invalid;
        t.updateCorrespondenceInvalid(5);
        EXPECT_EQ(e.correspondenceInvalid, c.invalid) << int(c.asked) << int(c.independent);
    }
}

TEST(EffectTable, DefaultsFillOnlyZeroHoldTimeAndDwellsOfEveryBarOfBothModes)
{
    Effect e;
    e.bars[1][16].beatDwell = 7;
    applyDefaults(e);
    EXPECT_EQ(e.bassHoldTime, 40);
    for (int k = 0; k < kModes; ++k)
        for (int b = 0; b <= kMaxBars; ++b)
            EXPECT_EQ(e.bars[k][b].beatDwell, k == 1 && b == 16 ? 7 : 40) << k << " " << b;

    e.bassHoldTime = 5;
    applyDefaults(e);
    EXPECT_EQ(e.bassHoldTime, 5);
}

TEST(EffectTable, BarCopyTakesCellsAndBarFieldsAcrossModesAndBarClearOnlyCells)
{
    Effect e;
    e.beatGrid.setCell(kNoBassMode, 3, 1, 1, 1, true);
    e.beatGrid.setCell(kNoBassMode, 3, 8, 20, 12, true);
    e.bars[kNoBassMode][3] = {1, 9, 160};
    e.beatGrid.setCell(kBassMode, 16, 4, 5, 5, true); // overwritten by the copy

    copyBar(e, kNoBassMode, 3, kBassMode, 16);
    EXPECT_TRUE(e.beatGrid.cell(kBassMode, 16, 1, 1, 1));
    EXPECT_TRUE(e.beatGrid.cell(kBassMode, 16, 8, 20, 12));
    EXPECT_FALSE(e.beatGrid.cell(kBassMode, 16, 4, 5, 5));
    EXPECT_EQ(e.bars[kBassMode][16], (EffectBar{1, 9, 160}));
    EXPECT_TRUE(e.beatGrid.cell(kNoBassMode, 3, 1, 1, 1)); // the source stays

    clearBar(e, kBassMode, 16);
    for (int t = 1; t <= kMaxBeats; ++t)
        EXPECT_TRUE(e.beatGrid.beatCells(kBassMode, 16, t).none()) << t;
    EXPECT_EQ(e.bars[kBassMode][16], (EffectBar{1, 9, 160}));
    EXPECT_TRUE(e.beatGrid.cell(kNoBassMode, 3, 8, 20, 12));
}

TEST(EffectTable, BarIndexSixteenIsTheLastNoBassBarAndSeventeenTheFirstBassBar)
{
    struct Case {
        uint8_t index;
        int mode, bar;
    } cases[] = {{1, 0, 1}, {16, 0, 16}, {17, 1, 1}, {32, 1, 16}};
    for (const Case& c : cases) {
        const BarPosition p{c.index, 0};
        EXPECT_EQ(p.mode(), c.mode) << int(c.index);
        EXPECT_EQ(p.barNumber(), c.bar) << int(c.index);
        EXPECT_EQ(barIndexOf(c.mode, c.bar), c.index);
    }
}

TEST(EffectTable, ClearingResetsEveryFieldOfOneEffectOrOfAll)
{
    EffectTable t = test::fx::richEffectTable();
    const EffectTable rich = t;
    t.clearEffect(3);
    EXPECT_EQ(t.effect(3), Effect{});
    EXPECT_EQ(t.effect(2), rich.effect(2));
    EXPECT_EQ(t.effect(4), rich.effect(4));

    t.clearAllEffects();
    EXPECT_EQ(t, EffectTable{});
}

TEST(EffectTable, ModuleClearLeavesSlotFlagsAndCells)
{
    Effect e;
    EffectModule& m = e.modules[4];
    m.note = u"x";
    m.fourMaterialLink = 1;
    m.linkRepeatCount = 3;
    m.allBeats[2] = 1;
    e.beatGrid.setCell(0, 1, 1, 4, 2, true);
    clearModuleFields(e, 4);
    EXPECT_EQ(m.note, u"");
    EXPECT_EQ(m.fourMaterialLink, 0);
    EXPECT_EQ(m.linkRepeatCount, 0);
    EXPECT_EQ(m.allBeats[2], 1);
    EXPECT_TRUE(e.beatGrid.cell(0, 1, 1, 4, 2));
}

TEST(BeatGrid, ACellNamedByItsFieldsIsTheCellOfTheFiveNumbers)
{
    BeatGrid grid;
    const GridCell at{.mode = 1, .bar = 16, .beat = 8, .module = 20, .slot = 12};
    grid.setCell(at, true);
    EXPECT_TRUE(grid.cell(1, 16, 8, 20, 12));
    EXPECT_TRUE(grid.cell(at));
    for (GridCell other : {GridCell{0, 16, 8, 20, 12}, GridCell{1, 15, 8, 20, 12}, GridCell{1, 16, 7, 20, 12},
                           GridCell{1, 16, 8, 19, 12}, GridCell{1, 16, 8, 20, 11}})
        EXPECT_FALSE(grid.cell(other));
    grid.setCell(1, 16, 8, 20, 12, false);
    EXPECT_FALSE(grid.cell(at));
}
