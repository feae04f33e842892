#pragma once
// The material editor's working state around the edited material: the focus fixture and the
// fixtures linked to it, the channel clipboard and the patch-panel fixture, and the edits the
// editor's controls make. Typed numbers outside their range are refused and store nothing.
#include "core/app/Seams.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/MaterialEditing.h"
#include "core/materials/MaterialStore.h"

#include <array>
#include <optional>
#include <string_view>

namespace rz::materials {

inline constexpr int kPatchGroupButtons = 12;
inline constexpr int16_t kMaxTimeBoxValue = 32767; // the step and uniform times are 16-bit

// A typed whole number within low..high; empty for anything else.
std::optional<int> typedNumber(std::u16string_view text, int low, int high);

class MaterialEditorSession {
public:
    MaterialEditorSession(MaterialStore& store, EditingContext& context, Prompt& prompt);

    Material& material() { return store.at(context.currentModule, context.currentSlot); }
    const Material& material() const { return store.at(context.currentModule, context.currentSlot); }
    int currentStep() const { return context.currentStep; }

    // Opening the editor on the context's material: time defaults, step 1 (or 0 when there
    // are none), focus fixture 1, no links.
    void open();

    // Virtual fixtures.
    int focus() const { return focusFixture; }
    const LinkedFixtures& links() const { return linked; }
    bool allChannelsLinked = false;
    void focusOn(int fixture);   // clears the links
    void toggleLink(int fixture); // never the focus fixture
    void linkAll();               // focus 1, links 2..fixtureCount
    void linkOdd();               // focus 1, links 3, 5, ...
    void linkEven();              // focus 2, links 4, 6, ... (needs 3 fixtures or more)

    // Levels on the current step; an empty material gets its first step from the edit.
    void setLevel(int channel, uint8_t v);
    bool typeLevel(int channel, std::u16string_view text);
    void setAllChannels(uint8_t v);
    void copyChannels();
    void pasteChannels();

    // Steps.
    void previousStep();
    void nextStep();
    void chooseStep(int step);
    // The new step's time is the single-step box's number; false when refused.
    bool addStep(bool copy, int16_t newTime);
    void deleteStep();

    // Fixture settings.
    bool typeFixtureCount(std::u16string_view text);
    bool typeChannelCount(std::u16string_view text);
    int patchFixture() const { return patchPanelFixture; }
    void choosePatchFixture(int fixture) { patchPanelFixture = fixture; }
    bool togglePatch(int libraryFixture, const fixtures::FixtureLibrary& library);
    void clearPatch();
    bool patchGroup(int group, const fixtures::FixtureGroups& groups, const fixtures::FixtureLibrary& library);

    // Time, jump and properties; false (nothing stored) for a refused number.
    bool typeUniformTime(std::u16string_view text);
    bool typeStepTime(std::u16string_view text);
    bool typeJumpInterval(std::u16string_view text);
    void chooseBrightness(int percent); // stores the reduction 100 - percent
    int brightnessPercent() const { return 100 - material().brightnessReduction; }

    bool toggleTempChannel(uint8_t code);

    // The circle motion: parameter k (1..9) of the focus fixture, copied to the linked
    // fixtures (all their parameters when all channels are linked); the global speed.
    bool typeMotionParameter(int k, std::u16string_view text);
    bool typeMotionSpeed(std::u16string_view text);
    // Out-of-range stored values of the focus fixture and the speed back to their defaults.
    void prepareMotionPanel();
    // "生成动作": one turn of the circle as steps; false without a motion.
    bool generateMotion();

private:
    void firstStepAfterEdit();

    MaterialStore& store;
    EditingContext& context;
    Prompt& prompt;
    int focusFixture = 1;
    int patchPanelFixture = 1;
    LinkedFixtures linked;
    std::array<uint8_t, kMaxChannels + 1> channelClipboard{};
};

} // namespace rz::materials
