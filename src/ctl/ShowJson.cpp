#include "ctl/ShowJson.h"

#include "ctl/ModelJson.h"
#include "core/files/ByteImage.h"
#include "core/fixtures/FixtureFiles.h"
#include "core/materials/MaterialRecord.h"
#include "core/app/Utf.h"

#include <array>
#include <utility>

namespace rz::ctl {

using nlohmann::json;

namespace {

struct KindId {
    const char* kind;
    std::string_view id;
};

const std::array<KindId, 7> kKinds{{
    {"K_F", show::kShowFileId},
    {"K_1DK", fixtures::kSingleFixtureFileId},
    {"K_ADK", fixtures::kAllFixturesFileId},
    {"K_1SC", materials::kMaterialFileId},
    {"K_AXG", effects::kAllEffectsFileId},
    {"K_1XG", effects::kOneEffectFileId},
    {"K_1MK", effects::kModuleFileId},
}};

// Effects that differ from an empty one or hold materials; the store is left cleared.
json effectsToJson(Workspace& ws)
{
    const effects::Effect empty{};
    json list = json::array();
    for (int e = 1; e <= effects::kEffectCount; ++e) {
        if (!loadEffectMaterials(ws, e))
            throw FileRefusal("the materials of effect " + std::to_string(e) + " are damaged");
        json materialList = storeToJson(ws.show.materials);
        const effects::Effect& effect = ws.show.effects.effect(e);
        if (effect == empty && materialList.empty())
            continue;
        json j = json{{"number", e}};
        j.update(effectToJson(effect));
        j["materials"] = std::move(materialList);
        list.push_back(std::move(j));
    }
    ws.show.materials.clearAll();
    return list;
}

void effectsFromJson(const JsonInput& in, Workspace& ws)
{
    std::vector<bool> seen(effects::kEffectCount + 1);
    for (std::size_t k = 0, n = in.arraySize(effects::kEffectCount); k < n; ++k) {
        const JsonInput j = in.element(k);
        const auto e = static_cast<int>(j.number("number", 1, effects::kEffectCount));
        if (seen[static_cast<std::size_t>(e)])
            j.member("number").refuse("effect " + std::to_string(e) + " is listed twice");
        seen[static_cast<std::size_t>(e)] = true;
        effectFromJson(j, ws.show.effects.effect(e));
        ws.show.materials.clearAll();
        storeFromJson(j.member("materials"), ws.show.materials);
        if (!ws.materialFiles.saveEffectToTemp(e))
            j.refuse("the materials of this effect do not fit in a file");
    }
    ws.show.materials.clearAll();
}

} // namespace

std::optional<std::string> fileKindOf(std::span<const uint8_t> image)
{
    files::ByteReader r(image);
    const std::string id = r.getId();
    for (const auto& k : kKinds)
        if (id == k.id)
            return k.kind;
    return std::nullopt;
}

bool loadEffectMaterials(Workspace& ws, int effect)
{
    ws.show.materials.clearAll();
    const auto image = files::loadImage(ws.materialFiles.tempFile(effect));
    if (!image)
        return true;
    files::ByteReader r(*image);
    if (r.getId() != materials::kEffectTempFileId)
        return false;
    return materials::readMaterialSet(ws.show.materials, r);
}

json showToJson(Workspace& ws)
{
    const show::Show& s = ws.show;
    json out = json::object();
    out["kind"] = "K_F";
    out["lightControl"] = lightControlToJson(s.lightControl);
    out["scenes"] = scenesToJson(s.scenes);
    out["fixtures"] = libraryToJson(s.library);
    out["motionThreshold"] = s.motionThreshold;
    out["effects"] = effectsToJson(ws);
    return out;
}

void showFromJson(const json& doc, Workspace& ws)
{
    const JsonInput in(doc, "$");
    if (!doc.is_object())
        in.refuse("an object is expected");
    if (in.has("kind") && doc["kind"] != "K_F")
        in.member("kind").refuse("a show (kind \"K_F\") is expected");
    show::Show& s = ws.show;
    lightControlFromJson(in.member("lightControl"), s.lightControl);
    scenesFromJson(in.member("scenes"), s.scenes);
    libraryFromJson(in.member("fixtures"), s.library);
    s.motionThreshold = static_cast<uint8_t>(in.number("motionThreshold", 0, 255));
    if (!in.has("motionThreshold"))
        s.motionThreshold = fixtures::kDefaultMotionThreshold;
    effectsFromJson(in.member("effects"), ws);
}

std::optional<std::vector<uint8_t>> encodeWorkspace(Workspace& ws, const show::SaveStamp& stamp)
{
    ws.show.editing.currentEffect = 0;
    return show::encodeShow(ws.show, ws.materialFiles, stamp);
}

json fileToJson(std::span<const uint8_t> image, Workspace& ws)
{
    const auto kind = fileKindOf(image);
    if (!kind)
        throw FileRefusal("not a file of this system (unknown identifier)");
    const std::string k = *kind;
    show::Show& s = ws.show;
    auto damaged = [&] { return FileRefusal("the " + k + " file is damaged"); };

    if (k == "K_F") {
        show::ShowContent content;
        switch (show::decodeShow(image, content, ws.materialFiles, ws.show.editing, ws.prompt)) {
        case show::ShowReadResult::ok:
            break;
        case show::ShowReadResult::wrongIdentifier:
            throw FileRefusal("not a show file");
        case show::ShowReadResult::malformed:
            throw damaged();
        }
        if (!ws.prompt.messages.empty())
            throw FileRefusal("the fixture section of the show file is damaged or of another version");
        s.lightControl = content.lightControl;
        s.scenes = content.scenes;
        s.library = content.library;
        s.effects = content.effects;
        s.motionThreshold = content.motionThreshold;
        return showToJson(ws);
    }
    if (k == "K_1DK") {
        if (fixtures::decodeSingleFixtureFile(image, s.library, 1) != fixtures::ReadResult::ok)
            throw damaged();
        return json{{"kind", k}, {"fixture", fixtureToJson(s.library.fixture(1))}};
    }
    if (k == "K_ADK") {
        if (fixtures::decodeAllFixturesFile(image, s.library) != fixtures::ReadResult::ok)
            throw damaged();
        return json{{"kind", k}, {"fixtures", libraryToJson(s.library)}};
    }
    if (k == "K_1SC") {
        files::ByteReader r(image);
        r.setCursor(4);
        materials::Material m;
        if (!materials::readMaterial(m, r))
            throw damaged();
        return json{{"kind", k}, {"material", materialToJson(m)}};
    }
    if (k == "K_AXG") {
        if (!ws.effectFiles.importAllEffects(image))
            throw damaged();
        return json{{"kind", k}, {"effects", effectsToJson(ws)}};
    }
    // The effect and module files are read for their effect fields only; their materials are
    // read straight from the file, since an import would rewrite them through the output map of
    // this workspace's empty library and so drop their patches.
    if (k == "K_1XG") {
        if (!ws.effectFiles.importEffect(1, image))
            throw damaged();
        files::ByteReader r(image);
        const uint32_t setAt = r.getInt24At(effects::kOneEffectMaterialsEntry);
        s.materials.clearAll();
        if (setAt != 0) {
            r.setCursor(setAt);
            if (!materials::readMaterialSet(s.materials, r))
                throw damaged();
        }
        json effect = effectToJson(s.effects.effect(1));
        effect["materials"] = storeToJson(s.materials);
        return json{{"kind", k}, {"effect", effect}};
    }
    // K_1MK: the note, the link settings and the materials of slots 1..12 (the slot flags of an
    // effect module are not in the file).
    if (!ws.effectFiles.importModule(1, 1, image))
        throw damaged();
    files::ByteReader r(image);
    s.materials.clearAll();
    for (int slot = 1; slot <= materials::kSlots; ++slot) {
        const uint32_t at = r.getInt24At(4 + 3 * static_cast<std::size_t>(slot));
        if (at == 0)
            continue;
        r.setCursor(at);
        materials::Material m;
        if (r.failed() || !materials::readMaterial(m, r))
            throw damaged();
        s.materials.at(1, slot) = std::move(m);
    }
    const effects::EffectModule& module = s.effects.effect(1).modules[1];
    return json{{"kind", k},
                {"module", json{{"note", toUtf8(module.note)},
                                {"fourMaterialLink", module.fourMaterialLink},
                                {"linkRepeatCount", module.linkRepeatCount}}},
                {"materials", storeToJson(s.materials, 1)}};
}

} // namespace rz::ctl
