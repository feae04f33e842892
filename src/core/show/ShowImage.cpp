#include "core/show/ShowImage.h"

#include "core/effects/EffectSection.h"
#include "core/files/InfoSection.h"
#include "core/fixtures/FixtureRecords.h"
#include "core/fixtures/MotionSection.h"
#include "core/lightcontrol/LightControlSection.h"
#include "core/scenes/SceneSection.h"

namespace rz::show {

namespace {

// Keeps a section reader's messages until the loader knows whether the file is usable.
class HeldMessages : public Prompt {
public:
    void message(const std::u16string& text) override { texts.push_back(text); }
    bool ask(const std::u16string&) override { return false; }
    void forwardTo(Prompt& prompt) const
    {
        for (const auto& t : texts)
            prompt.message(t);
    }

private:
    std::vector<std::u16string> texts;
};

bool startsWithShowId(std::span<const uint8_t> image)
{
    files::ByteReader r(image);
    return r.getId() == kShowFileId;
}

} // namespace

std::optional<std::vector<uint8_t>> encodeShow(Show& show, materials::MaterialFiles& materialFiles,
                                               const SaveStamp& stamp)
{
    files::ByteWriter out(kShowImageCapacity);
    out.beginSectionedFile(kShowFileId, kShowSectionSlots);
    lightcontrol::writeLightControlSection(show.lightControl, out);
    if (!scenes::writeSceneSection(show.scenes, out))
        return std::nullopt;
    fixtures::writeFixtureSection(show.library, out);
    if (!materialFiles.writeMaterialsSection(materials::kShowMaterialsSection, out))
        return std::nullopt;
    if (!effects::writeEffectSection(show.effects, kEffectsSectionSlot, out))
        return std::nullopt;
    fixtures::writeMotionSection(out, show.motionThreshold, show.library, show.channelDefinitions);
    files::writeInfoSection(out, stamp.dateTime, stamp.programFolder);
    if (out.overflowed())
        return std::nullopt;
    return out.take();
}

ShowReadResult decodeShow(std::span<const uint8_t> image, ShowContent& content,
                          materials::MaterialFiles& materialFiles, materials::EditingContext& editing,
                          Prompt& prompt)
{
    if (!startsWithShowId(image))
        return ShowReadResult::wrongIdentifier;
    const files::ByteReader in(image);

    if (lightcontrol::readLightControlSection(content.lightControl, in) ==
        lightcontrol::ReadResult::malformed)
        return ShowReadResult::malformed;
    if (scenes::readSceneSection(content.scenes, in) == scenes::ReadResult::malformed)
        return ShowReadResult::malformed;

    HeldMessages fixtureMessages;
    switch (fixtures::readFixtureSection(content.library, in, fixtureMessages)) {
    case fixtures::ReadResult::ok:
    case fixtures::ReadResult::absent:
        break;
    case fixtures::ReadResult::wrongVersion:
        content.library.clearAllFixtures();
        break;
    case fixtures::ReadResult::malformed:
        return ShowReadResult::malformed;
    }

    if (effects::readEffectSection(content.effects, kEffectsSectionSlot, in) ==
        effects::ReadResult::malformed)
        return ShowReadResult::malformed;
    content.motionThreshold = fixtures::readMotionSection(in);

    // The materials live in files, so they are read last, once everything else is known to be
    // readable; their reader checks the whole section before it writes any file.
    files::ByteReader probe(image);
    const bool materialsPresent =
        probe.openSection(materials::kShowMaterialsSection, materials::kMaterialsSectionId);
    if (probe.failed())
        return ShowReadResult::malformed;
    if (materialsPresent) {
        const uint8_t current = editing.currentEffect;
        files::ByteReader materialsIn(image);
        if (!materialFiles.readMaterialsSection(materials::kShowMaterialsSection, materialsIn)) {
            editing.currentEffect = current;
            return ShowReadResult::malformed;
        }
    } else {
        materialFiles.deleteAllTemps();
    }
    editing.currentEffect = 0;

    fixtureMessages.forwardTo(prompt);
    return ShowReadResult::ok;
}

uint32_t sectionPosition(std::span<const uint8_t> image, int n)
{
    if (n < 1 || n > kShowSectionSlots)
        return 0;
    files::ByteReader r(image);
    const uint32_t p = r.getLongAt(4 * static_cast<std::size_t>(n));
    return r.ok() ? p : 0;
}

} // namespace rz::show
