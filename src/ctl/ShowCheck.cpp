#include "ctl/ShowCheck.h"

#include "ctl/ShowJson.h"
#include "ctl/Workspace.h"
#include "core/app/HexText.h"
#include "core/effects/EffectSection.h"
#include "core/files/ByteImage.h"
#include "core/files/InfoSection.h"
#include "core/fixtures/FixtureRecords.h"
#include "core/fixtures/MotionSection.h"
#include "core/lightcontrol/LightControlSection.h"
#include "core/scenes/SceneSection.h"
#include "core/show/ShowImage.h"

#include <array>

namespace rz::ctl {

namespace {

struct SectionInfo {
    int slot;
    std::string_view id;
    const char* name;
};

const std::array<SectionInfo, 7> kSections{{
    {lightcontrol::kLightControlSectionSlot, lightcontrol::kLightControlSectionId, "light control"},
    {scenes::kSceneSectionSlot, scenes::kSceneSectionId, "scenes"},
    {fixtures::kFixtureSectionSlot, fixtures::kFixtureSectionId, "fixtures"},
    {materials::kShowMaterialsSection, materials::kMaterialsSectionId, "materials"},
    {effects::kEffectSectionSlot, effects::kEffectSectionId, "effects"},
    {fixtures::kMotionSectionSlot, fixtures::kMotionSectionId, "motion threshold"},
    {files::kInfoSectionSlot, files::kInfoSectionId, "information"},
}};

// Reads the section with the reader of its module; true when it is sound.
bool sectionReadable(int slot, const files::ByteReader& in, Workspace& ws)
{
    show::Show& s = ws.show;
    switch (slot) {
    case lightcontrol::kLightControlSectionSlot:
        return lightcontrol::readLightControlSection(s.lightControl, in) == lightcontrol::ReadResult::ok;
    case scenes::kSceneSectionSlot:
        return scenes::readSceneSection(s.scenes, in) == scenes::ReadResult::ok;
    case fixtures::kFixtureSectionSlot: {
        CollectingPrompt quiet;
        return fixtures::readFixtureSection(s.library, in, quiet) == fixtures::ReadResult::ok;
    }
    case materials::kShowMaterialsSection: {
        files::ByteReader r = in;
        return ws.materialFiles.readMaterialsSection(slot, r);
    }
    case effects::kEffectSectionSlot:
        return effects::readEffectSection(s.effects, slot, in) == effects::ReadResult::ok;
    default:
        return true; // motion threshold and information: nothing of theirs is read back
    }
}

} // namespace

std::vector<CheckProblem> checkShowFile(std::span<const uint8_t> image, const std::filesystem::path& scratchRoot)
{
    std::vector<CheckProblem> problems;
    files::ByteReader in(image);
    if (image.size() < show::kShowHeaderSize) {
        problems.push_back({0, "the file is shorter than its section table (" + std::to_string(image.size()) +
                                   " of " + std::to_string(show::kShowHeaderSize) + " bytes)"});
        return problems;
    }
    const std::string id = in.getId();
    if (id != show::kShowFileId) {
        problems.push_back({0, "identifier " + id + " is not the show file's " + std::string(show::kShowFileId)});
        return problems;
    }

    Workspace ws(scratchRoot);
    for (const SectionInfo& section : kSections) {
        const std::size_t entry = 4 * static_cast<std::size_t>(section.slot);
        const uint32_t position = show::sectionPosition(image, section.slot);
        const std::string name = std::string(section.name) + " section (" + std::to_string(section.slot) + ")";
        if (position == 0) {
            problems.push_back({entry, name + " is missing from the section table"});
            continue;
        }
        if (position < show::kShowHeaderSize || position + 4 > image.size()) {
            problems.push_back({entry, name + " starts at " + prefixedHex(position) + ", outside the file"});
            continue;
        }
        files::ByteReader probe(image);
        probe.setCursor(position);
        const std::string sectionId = probe.getId();
        if (sectionId != section.id) {
            problems.push_back({position, name + " has identifier " + sectionId + " instead of " +
                                              std::string(section.id)});
            continue;
        }
        if (!sectionReadable(section.slot, in, ws))
            problems.push_back({position, name + " is cut short or holds a value outside its range"});
    }

    // The materials section was unpacked above when it was sound: each effect's set must read.
    const uint32_t materialsAt = show::sectionPosition(image, materials::kShowMaterialsSection);
    if (materialsAt != 0 && problems.empty()) {
        files::ByteReader table(image);
        table.setCursor(materialsAt + 4);
        const std::vector<uint32_t> positions = table.getInt24Array(materials::kEffectCount);
        for (int e = 1; e <= materials::kEffectCount; ++e)
            if (!loadEffectMaterials(ws, e))
                problems.push_back({positions[static_cast<std::size_t>(e - 1)],
                                    "the materials of effect " + std::to_string(e) + " are damaged"});
    }
    return problems;
}

} // namespace rz::ctl
