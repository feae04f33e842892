#include "core/effects/EffectEditor.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace rz;
using namespace rz::effects;

namespace {

class EffectEditorTest : public ::testing::Test {
protected:
    EffectEditorTest()
    {
        context.currentEffect = 3;
        effect().barCount = {2, 2};
        effect().beatCount = {4, 4};
        effect().independentBass = 1;
        editor.open();
    }

    Effect& effect() { return table.effect(3); }
    bool jumpPending() { return sender.jumpRequest() != liveout::JumpRequest::none; }
    void clearJump()
    {
        sender.liveTick(); // 1 -> 2 -> 0 within one tick
    }

    test::TempDir dir;
    test::RecordingPrompt prompt;
    test::ScriptedFileChooser chooser;
    EffectTable table;
    materials::MaterialStore store;
    fixtures::FixtureLibrary library;
    materials::EditingContext context;
    BarPosition position;
    liveout::LiveSender sender{[](uint8_t, std::span<const uint8_t>) {}, [] { return false; }};
    materials::MaterialEngine engine{store, library, context, sender};
    EffectPreview preview{table, store, context, position, engine, sender};
    materials::MaterialFiles materialFiles{store, library, context, dir.path(), chooser, prompt};
    EffectFiles files{table, store, materialFiles, library, context, chooser, prompt};
    EffectEditor editor{table, context, position, preview, files, prompt};
};

TEST_F(EffectEditorTest, NextBeatWalksBeatsThenBarsAndWrapsToTheFirstBarOfItsMode)
{
    struct Case {
        int barIndex, beat, wantBar, wantBeat;
    };
    const Case cases[] = {
        {1, 1, 1, 2},   // within the bar
        {1, 4, 2, 1},   // last beat: next bar
        {2, 4, 1, 1},   // last no-bass bar: no-bass bar 1
        {17, 3, 17, 4}, // bass bar 1
        {18, 4, 17, 1}, // last bass bar: bass bar 1 (index 17)
    };
    for (const Case& c : cases) {
        editor.selectBar(c.barIndex);
        editor.selectBeat(c.beat);
        editor.nextBeat();
        EXPECT_EQ(position.barIndex, c.wantBar) << c.barIndex << "/" << c.beat;
        EXPECT_EQ(position.beat, c.wantBeat) << c.barIndex << "/" << c.beat;
    }
    effect().beatCount[0] = 0;
    editor.selectBar(1);
    editor.nextBeat();
    EXPECT_EQ(position.barIndex, 1);
    EXPECT_EQ(position.beat, 0) << "no beats: nothing moves";
}

TEST_F(EffectEditorTest, CellToggleMakesItsBeatCurrentAndStaysInItsModeAndBar)
{
    effect().beatCount = {8, 8};
    editor.selectBar(17 + 1); // bass bar 2
    context.currentModule = 5;
    editor.toggleCell(3, 8);
    EXPECT_EQ(position.beat, 8);
    EXPECT_TRUE(effect().beatGrid.cell(kBassMode, 2, 8, 5, 3));
    EXPECT_FALSE(effect().beatGrid.cell(kNoBassMode, 2, 8, 5, 3));
    editor.toggleCell(3, 8);
    EXPECT_FALSE(effect().beatGrid.cell(kBassMode, 2, 8, 5, 3));
}

TEST_F(EffectEditorTest, BeatIsNormalisedToTheCountOfTheCurrentMode)
{
    editor.selectBar(1);
    editor.selectBeat(4);
    editor.setBeatCount(0, 2);
    EXPECT_EQ(position.beat, 1);
    editor.setBeatCount(0, 0);
    EXPECT_EQ(position.beat, 0);
}

TEST_F(EffectEditorTest, BassBarsAreShownOnlyWithIndependentBassAndTheirDataStay)
{
    effect().beatGrid.setCell(kBassMode, 1, 1, 1, 1, true);
    EXPECT_TRUE(editor.barVisible(17));
    EXPECT_FALSE(editor.barVisible(19)) << "beyond the bass bar count";
    editor.setIndependentBass(false);
    EXPECT_FALSE(editor.barVisible(17));
    EXPECT_TRUE(editor.barVisible(2));
    EXPECT_FALSE(editor.barVisible(3));
    EXPECT_EQ(effect().barCount[kBassMode], 2);
    EXPECT_TRUE(effect().beatGrid.cell(kBassMode, 1, 1, 1, 1));
}

TEST_F(EffectEditorTest, FourMaterialLinkHidesRowsWithoutTouchingCells)
{
    effect().beatGrid.setCell(kNoBassMode, 1, 2, 1, 2, true);
    editor.setFourMaterialLink(true);
    for (int s = 1; s <= kSlots; ++s)
        EXPECT_EQ(editor.slotRowVisible(s), s == 1 || s == 5 || s == 9) << s;
    EXPECT_TRUE(effect().beatGrid.cell(kNoBassMode, 1, 2, 1, 2));
    editor.setFourMaterialLink(false);
    EXPECT_TRUE(editor.slotRowVisible(2));
}

TEST_F(EffectEditorTest, DwellTextStoresOnlyNumbersUpTo255)
{
    editor.selectBar(2);
    struct Case {
        const char16_t* text;
        bool stored;
        int value;
    };
    const Case cases[] = {{u"80", true, 80}, {u"300", false, 80}, {u"abc", false, 80}, {u"", false, 80},
                          {u"-1", false, 80}, {u"255", true, 255}, {u" 0 ", true, 0}, {u"4.5", false, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(editor.setBeatDwellText(c.text), c.stored);
        EXPECT_EQ(effect().bars[kNoBassMode][2].beatDwell, c.value);
    }
    editor.setBeatDwellText(u"40");
    EXPECT_EQ(editor.beatDwellSeconds(), u"4.0秒");
    editor.setBeatDwellText(u"255");
    EXPECT_EQ(editor.beatDwellSeconds(), u"25.5秒");
}

TEST_F(EffectEditorTest, PasteAsksAndCopiesAcrossModesNothingCopiedAfterReopening)
{
    editor.selectBar(1);
    effect().beatGrid.setCell(kNoBassMode, 1, 3, 2, 4, true);
    effect().bars[kNoBassMode][1].repeatCount = 7;
    editor.copyBar();
    editor.selectBar(18);
    prompt.answers = {false};
    editor.pasteBar();
    EXPECT_EQ(prompt.questions.back(), kAskOverwriteBar);
    EXPECT_FALSE(effect().beatGrid.cell(kBassMode, 2, 3, 2, 4)) << "No changes nothing";
    editor.pasteBar();
    EXPECT_TRUE(effect().beatGrid.cell(kBassMode, 2, 3, 2, 4));
    EXPECT_EQ(effect().bars[kBassMode][2].repeatCount, 7);

    editor.open();
    prompt.questions.clear();
    editor.pasteBar();
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back(), kMsgNothingCopied);
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(EffectEditorTest, QuestionsAnsweredNoChangeNothing)
{
    effect().beatGrid.setCell(kNoBassMode, 1, 1, 1, 1, true);
    const Effect before = effect();
    prompt.defaultAnswer = false;
    editor.clearBar();
    editor.clearEffect();
    editor.importEffect();
    editor.importModule();
    EXPECT_EQ(prompt.questions,
              (std::vector<std::u16string>{std::u16string(kAskClearBar), std::u16string(kAskClearEffect),
                                           std::u16string(kAskImportEffect), std::u16string(kAskImportModule)}));
    EXPECT_TRUE(effect() == before);
    EXPECT_TRUE(chooser.calls.empty());
}

TEST_F(EffectEditorTest, DamagedEffectOrModuleFileChangesNothing)
{
    const auto bad = dir / "bad.K_1XG";
    std::ofstream(bad, std::ios::binary) << "F1042901 truncated";
    effect().note = u"kept";
    const Effect before = effect();
    chooser.paths = {bad, bad};
    EXPECT_FALSE(editor.importEffect());
    EXPECT_FALSE(editor.importModule());
    EXPECT_TRUE(effect() == before);
    EXPECT_EQ(prompt.messages, (std::vector<std::u16string>(2, std::u16string(kMsgEffectFileError))));
}

TEST_F(EffectEditorTest, ClearBarAndExportImportRoundTrip)
{
    effect().beatGrid.setCell(kNoBassMode, 1, 2, 1, 1, true);
    effect().note = u"round";
    const auto path = dir / "one.K_1XG";
    chooser.paths = {path};
    ASSERT_TRUE(editor.exportEffect());
    editor.clearBar();
    EXPECT_FALSE(effect().beatGrid.cell(kNoBassMode, 1, 2, 1, 1));
    chooser.paths = {path};
    ASSERT_TRUE(editor.importEffect());
    EXPECT_TRUE(effect().beatGrid.cell(kNoBassMode, 1, 2, 1, 1));
    EXPECT_EQ(effect().note, u"round");
}

TEST_F(EffectEditorTest, PositionClicksSendDrumHitsUnlessBassIsDisabled)
{
    clearJump();
    editor.selectBar(2);
    EXPECT_TRUE(jumpPending());
    clearJump();
    editor.toggleCell(1, 2);
    EXPECT_TRUE(jumpPending());
    clearJump();
    while (preview.drumFlashTick()) {
    }
    effect().bassDisabled = 1;
    editor.selectBeat(3);
    editor.nextBeat();
    EXPECT_FALSE(jumpPending());
    EXPECT_EQ(preview.flashCounter(), 0) << "no flash either";
}

TEST_F(EffectEditorTest, CorrespondenceWarningBlinksOnlyWhileInvalid)
{
    effect().bassBeatCorrespondence = 1;
    EXPECT_EQ(editor.correspondenceWarningStep(), WarningLook::normal) << "counts agree";
    effect().beatCount[kBassMode] = 3;
    EXPECT_EQ(editor.correspondenceWarningStep(), WarningLook::magenta);
    EXPECT_EQ(editor.correspondenceWarningStep(), WarningLook::yellow);
    EXPECT_EQ(editor.correspondenceWarningStep(), WarningLook::magenta);
    effect().bassBeatCorrespondence = 0;
    EXPECT_EQ(editor.correspondenceWarningStep(), WarningLook::normal);
}

} // namespace
