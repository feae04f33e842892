#include "core/materials/MaterialEditorSession.h"

#include "core/app/SettingsFile.h"
#include "core/materials/CircleMotion.h"
#include "core/materials/StepEditing.h"

#include <algorithm>

namespace rz::materials {

namespace {

constexpr int kMaxTimeTyped = 59999; // the boxes refuse 60000 and above

} // namespace

std::optional<int> typedNumber(std::u16string_view text, int low, int high)
{
    const std::optional<int64_t> n = parseSettingNumber(text);
    if (!n || *n < low || *n > high)
        return std::nullopt;
    return static_cast<int>(*n);
}

MaterialEditorSession::MaterialEditorSession(MaterialStore& store, EditingContext& context, Prompt& prompt)
    : store(store), context(context), prompt(prompt)
{
}

void MaterialEditorSession::open()
{
    openForEditing(material(), context.currentStep);
    focusFixture = 1;
    linked.reset();
}

void MaterialEditorSession::focusOn(int fixture)
{
    if (fixture < 1 || fixture > kMaxVirtualFixtures)
        return;
    linked.reset();
    focusFixture = fixture;
}

void MaterialEditorSession::toggleLink(int fixture)
{
    if (fixture < 1 || fixture > kMaxVirtualFixtures || fixture == focusFixture)
        return;
    linked.flip(static_cast<std::size_t>(fixture));
}

void MaterialEditorSession::linkAll()
{
    const int count = material().fixtureCount;
    if (count < 1)
        return;
    focusOn(1);
    for (int i = 2; i <= count; ++i)
        linked.set(static_cast<std::size_t>(i));
}

void MaterialEditorSession::linkOdd()
{
    const int count = material().fixtureCount;
    if (count < 1)
        return;
    focusOn(1);
    for (int i = 3; i <= count; i += 2)
        linked.set(static_cast<std::size_t>(i));
}

void MaterialEditorSession::linkEven()
{
    const int count = material().fixtureCount;
    if (count <= 2)
        return;
    focusOn(2);
    for (int i = 4; i <= count; i += 2)
        linked.set(static_cast<std::size_t>(i));
}

void MaterialEditorSession::setLevel(int channel, uint8_t v)
{
    if (channel < 1 || channel > kMaxChannels)
        return;
    setLinkedLevel(material(), context.currentStep, focusFixture, linked, allChannelsLinked, channel, v);
    firstStepAfterEdit();
}

bool MaterialEditorSession::typeLevel(int channel, std::u16string_view text)
{
    const auto v = typedNumber(text, 0, 255);
    if (!v)
        return false;
    setLevel(channel, static_cast<uint8_t>(*v));
    return true;
}

void MaterialEditorSession::setAllChannels(uint8_t v)
{
    for (int c = 1; c <= material().channelCount; ++c)
        setLevel(c, v);
}

void MaterialEditorSession::copyChannels()
{
    const Material& m = material();
    channelClipboard.fill(0);
    for (int c = 1; c <= m.channelCount && c <= kMaxChannels; ++c)
        channelClipboard[static_cast<std::size_t>(c)] = m.step(context.currentStep).level(focusFixture, c);
}

void MaterialEditorSession::pasteChannels()
{
    for (int c = 1; c <= material().channelCount && c <= kMaxChannels; ++c)
        setLevel(c, channelClipboard[static_cast<std::size_t>(c)]);
}

void MaterialEditorSession::firstStepAfterEdit()
{
    // Step 0 is the scratch step of an empty material: the first edit becomes step 1.
    if (material().stepCount == 0)
        materials::addStep(material(), context.currentStep, true, 0, prompt);
}

void MaterialEditorSession::previousStep()
{
    if (context.currentStep > 1)
        --context.currentStep;
}

void MaterialEditorSession::nextStep()
{
    if (context.currentStep > 0 && context.currentStep < material().stepCount)
        ++context.currentStep;
}

void MaterialEditorSession::chooseStep(int step)
{
    if (step >= 1 && step <= material().stepCount)
        context.currentStep = static_cast<int16_t>(step);
}

bool MaterialEditorSession::addStep(bool copy, int16_t newTime)
{
    return materials::addStep(material(), context.currentStep, copy, newTime, prompt);
}

void MaterialEditorSession::deleteStep()
{
    materials::deleteStep(material(), context.currentStep);
}

bool MaterialEditorSession::typeFixtureCount(std::u16string_view text)
{
    const auto n = typedNumber(text, 0, kMaxVirtualFixtures);
    if (!n)
        return false;
    material().fixtureCount = static_cast<uint8_t>(*n);
    return true;
}

bool MaterialEditorSession::typeChannelCount(std::u16string_view text)
{
    const auto n = typedNumber(text, 0, kMaxChannels);
    if (!n)
        return false;
    material().channelCount = static_cast<uint8_t>(*n);
    return true;
}

bool MaterialEditorSession::togglePatch(int libraryFixture, const fixtures::FixtureLibrary& library)
{
    if (libraryFixture < 1 || libraryFixture > kLibraryFixtures)
        return false;
    return materials::togglePatch(material(), patchPanelFixture, libraryFixture, library, prompt);
}

void MaterialEditorSession::clearPatch()
{
    auto& row = material().patch[static_cast<std::size_t>(patchPanelFixture)];
    std::fill(row.begin() + 1, row.end(), uint8_t{0});
}

bool MaterialEditorSession::patchGroup(int group, const fixtures::FixtureGroups& groups,
                                       const fixtures::FixtureLibrary& library)
{
    if (group < 1 || group > kPatchGroupButtons)
        return false;
    return materials::patchGroup(material(), patchPanelFixture, groups, group, library, prompt);
}

bool MaterialEditorSession::typeUniformTime(std::u16string_view text)
{
    // Negative times would advance a step on every tick: refused like the too-large ones.
    const auto n = typedNumber(text, 0, std::min<int>(kMaxTimeTyped, kMaxTimeBoxValue));
    if (!n)
        return false;
    material().uniformTime = static_cast<int16_t>(*n);
    return true;
}

bool MaterialEditorSession::typeStepTime(std::u16string_view text)
{
    const auto n = typedNumber(text, 0, std::min<int>(kMaxTimeTyped, kMaxTimeBoxValue));
    if (!n)
        return false;
    material().editStep(context.currentStep).stepTime = static_cast<int16_t>(*n);
    return true;
}

bool MaterialEditorSession::typeJumpInterval(std::u16string_view text)
{
    const auto n = typedNumber(text, 0, 255);
    if (!n)
        return false;
    material().jumpInterval = static_cast<uint8_t>(*n);
    return true;
}

void MaterialEditorSession::chooseBrightness(int percent)
{
    material().brightnessReduction = static_cast<uint8_t>(100 - std::clamp(percent, 0, 100));
}

bool MaterialEditorSession::toggleTempChannel(uint8_t code)
{
    return materials::toggleTempChannel(material(), code, prompt);
}

bool MaterialEditorSession::typeMotionParameter(int k, std::u16string_view text)
{
    if (k < 1 || k > kDirection)
        return false;
    const ParameterRange range = circleParameterRange(k);
    const auto v = typedNumber(text, range.minimum, range.maximum);
    if (!v)
        return false;
    Material& m = material();
    auto& own = m.motionPerFixture[static_cast<std::size_t>(focusFixture)];
    own[static_cast<std::size_t>(k)] = *v;
    for (int f = 1; f <= kMaxVirtualFixtures; ++f) {
        if (!linked.test(static_cast<std::size_t>(f)) || f == focusFixture)
            continue;
        auto& other = m.motionPerFixture[static_cast<std::size_t>(f)];
        if (allChannelsLinked)
            other = own;
        else
            other[static_cast<std::size_t>(k)] = *v;
    }
    return true;
}

bool MaterialEditorSession::typeMotionSpeed(std::u16string_view text)
{
    const auto v = typedNumber(text, kSpeedRange.minimum, kSpeedRange.maximum);
    if (!v)
        return false;
    material().motionGlobal[kSpeedParameter] = *v;
    return true;
}

void MaterialEditorSession::prepareMotionPanel()
{
    normaliseMotionParameters(material(), focusFixture);
}

bool MaterialEditorSession::generateMotion()
{
    return materials::generateMotion(material(), context.currentStep);
}

} // namespace rz::materials
