#include "ctl/ModelJson.h"

#include "ctl/TableJson.h"
#include "core/app/Universe.h"
#include "core/app/Utf.h"

#include <string>

namespace rz::ctl {

using nlohmann::json;
using namespace detail;

namespace {

std::string utf8(const std::u16string& t) { return toUtf8(t); }

using LC = lightcontrol::LightControlSettings;
const std::array<ByteField<LC>, 26> kLightControlBytes{{
    {"powerOnScene", &LC::powerOnScene, 255},
    {"exhaust1AtPowerOn", &LC::exhaust1AtPowerOn, 255},
    {"channel9Exhaust1Off", &LC::channel9Exhaust1Off, 255},
    {"exhaust2AtPowerOn", &LC::exhaust2AtPowerOn, 255},
    {"channel3AsExhaust2", &LC::channel3AsExhaust2, 255},
    {"powerOnAirCon", &LC::powerOnAirCon, 255},
    {"channels678AsAirConFan", &LC::channels678AsAirConFan, 255},
    {"channel5AsValveOpen", &LC::channel5AsValveOpen, 255},
    {"channel4AsValveClose", &LC::channel4AsValveClose, 255},
    {"micShakeTime", &LC::micShakeTime, 255},
    {"sceneRelayControl", &LC::sceneRelayControl, 255},
    {"smokeMachineTime", &LC::smokeMachineTime, 255},
    {"cheerBooTime", &LC::cheerBooTime, 255},
    {"denseDrumCount", &LC::denseDrumCount, 255},
    {"fixedDmxOnValue", &LC::fixedDmxOnValue, 255},
    {"fixedDmxOffValue", &LC::fixedDmxOffValue, 255},
    {"fixedDmxPowerOnState", &LC::fixedDmxPowerOnState, 255},
    {"vodPauseNoSceneSwitch", &LC::vodPauseNoSceneSwitch, 255},
    {"sceneSwitchXyLimit", &LC::sceneSwitchXyLimit, 255},
    {"thyristorDimming", &LC::thyristorDimming, 255},
    {"dimmingSteps", &LC::dimmingSteps, 255},
    {"dimmingFade", &LC::dimmingFade, 255},
    {"pauseDmxOnVodPause", &LC::pauseDmxOnVodPause, 255},
    {"adjustOnlyWhenSceneOpen", &LC::adjustOnlyWhenSceneOpen, 255},
    {"dimmingMinimum", &LC::dimmingMinimum, 255},
    {"doorPlateLightOff", &LC::doorPlateLightOff, 255},
}};

using SC = scenes::Scene;
const std::array<ByteField<SC>, 6> kSceneBytes{{
    {"effect", &SC::effect, scenes::kMaxSceneEffect},
    {"mainsByDmx", &SC::mainsByDmx, 1},
    {"wallPanelScene", &SC::wallPanelScene, scenes::kMaxAssociation},
    {"vodScene", &SC::vodScene, scenes::kMaxAssociation},
    {"effectsUnitSound", &SC::effectsUnitSound, scenes::kMaxEffectsUnitSound},
    {"audioSource", &SC::audioSource, scenes::kMaxAudioSource},
}};

} // namespace

// ---- light control ----

json lightControlToJson(const LC& s)
{
    json out = json::object();
    putBytes(out, s, kLightControlBytes);
    out["fixedDmxChannel"] = s.fixedDmxChannel;
    json ir = json::array();
    for (int k = 1; k <= lightcontrol::kIrKeyCount; ++k)
        ir.push_back(s.effectsUnitIr[static_cast<std::size_t>(k)]);
    out["effectsUnitIr"] = ir;
    return out;
}

void lightControlFromJson(const JsonInput& in, LC& s)
{
    takeBytes(in, s, kLightControlBytes);
    s.fixedDmxChannel = static_cast<uint16_t>(in.number("fixedDmxChannel", 0, kUniverseSize));
    const JsonInput ir = in.member("effectsUnitIr");
    const std::size_t keys = ir.arraySize(lightcontrol::kIrKeyCount);
    for (std::size_t k = 0; k < keys; ++k) {
        const JsonInput code = ir.element(k);
        const std::size_t n = code.arraySize(lightcontrol::kIrCodeSize);
        if (n != 0 && n != lightcontrol::kIrCodeSize)
            code.refuse("an infrared code has 4 bytes");
        for (std::size_t b = 0; b < n; ++b)
            s.effectsUnitIr[k + 1][b] = static_cast<uint8_t>(code.element(b).number(0, 255));
    }
}

// ---- scenes ----

json scenesToJson(const scenes::SceneTable& t)
{
    json list = json::array();
    for (int i = 1; i <= scenes::kSceneCount; ++i) {
        const SC& s = t.scene(i);
        json j = json::object();
        j["name"] = utf8(s.name);
        putBytes(j, s, kSceneBytes);
        j["relays"] = oneBased(s.relays, scenes::kRelayCount);
        j["dimmers"] = oneBased(s.dimmers, scenes::kDimmerCount);
        list.push_back(j);
    }
    json relayNotes = json::array();
    for (int r = 1; r <= scenes::kRelayCount; ++r)
        relayNotes.push_back(utf8(t.relayNotes[static_cast<std::size_t>(r)]));
    json dimmerNotes = json::array();
    for (int d = 1; d <= scenes::kDimmerCount; ++d)
        dimmerNotes.push_back(utf8(t.dimmerNotes[static_cast<std::size_t>(d)]));
    return json{{"scenes", list}, {"relayNotes", relayNotes}, {"dimmerNotes", dimmerNotes}};
}

void scenesFromJson(const JsonInput& in, scenes::SceneTable& t)
{
    const JsonInput list = in.member("scenes");
    const std::size_t n = list.arraySize(scenes::kSceneCount);
    for (std::size_t i = 0; i < n; ++i) {
        const JsonInput j = list.element(i);
        SC& s = t.scene(static_cast<int>(i) + 1);
        s.name = j.text("name", scenes::kMaxSceneName);
        takeBytes(j, s, kSceneBytes);
        oneBasedFrom(j.member("relays"), s.relays, scenes::kRelayCount, 0, 1);
        oneBasedFrom(j.member("dimmers"), s.dimmers, scenes::kDimmerCount, 0, scenes::kMaxDimmerLevel);
    }
    const JsonInput relayNotes = in.member("relayNotes");
    for (std::size_t r = 0, m = relayNotes.arraySize(scenes::kRelayCount); r < m; ++r)
        t.relayNotes[r + 1] = relayNotes.element(r).text(scenes::kMaxNote);
    const JsonInput dimmerNotes = in.member("dimmerNotes");
    for (std::size_t d = 0, m = dimmerNotes.arraySize(scenes::kDimmerCount); d < m; ++d)
        t.dimmerNotes[d + 1] = dimmerNotes.element(d).text(scenes::kMaxNote);
}

// ---- fixtures ----

json fixtureToJson(const fixtures::Fixture& f)
{
    return json{{"name", utf8(f.name)},
                {"startAddress", f.startAddress},
                {"channelCount", f.channelCount},
                {"reservedByte", f.reservedByte},
                {"channelCode", oneBased(f.channelCode, fixtures::kMaxChannels)},
                {"adjustValue", oneBased(f.adjustValue, fixtures::kMaxChannels)},
                {"testValue", oneBased(f.testValue, fixtures::kMaxChannels)}};
}

void fixtureFromJson(const JsonInput& in, fixtures::Fixture& f)
{
    f.name = in.text("name", fixtures::kMaxFixtureName);
    f.startAddress = static_cast<int16_t>(in.number("startAddress", 0, kUniverseSize));
    f.channelCount = static_cast<uint8_t>(in.number("channelCount", 0, fixtures::kMaxChannels));
    f.reservedByte = static_cast<uint8_t>(in.number("reservedByte", 0, 255));
    oneBasedFrom(in.member("channelCode"), f.channelCode, fixtures::kMaxChannels, 0, 255);
    oneBasedFrom(in.member("adjustValue"), f.adjustValue, fixtures::kMaxChannels, 0, 255);
    oneBasedFrom(in.member("testValue"), f.testValue, fixtures::kMaxChannels, 0, 255);
}

json libraryToJson(const fixtures::FixtureLibrary& library)
{
    json list = json::array();
    for (int i = 1; i <= fixtures::kFixtureCount; ++i) {
        const fixtures::Fixture& f = library.fixture(i);
        if (f == fixtures::Fixture{})
            continue;
        json j = json{{"number", i}};
        j.update(fixtureToJson(f));
        list.push_back(j);
    }
    return list;
}

void libraryFromJson(const JsonInput& in, fixtures::FixtureLibrary& library)
{
    std::vector<bool> seen(fixtures::kFixtureCount + 1);
    for (std::size_t k = 0, n = in.arraySize(fixtures::kFixtureCount); k < n; ++k) {
        const JsonInput j = in.element(k);
        const auto number = static_cast<int>(j.number("number", 1, fixtures::kFixtureCount));
        checkUnique(j.member("number"), seen, static_cast<std::size_t>(number), "fixture");
        fixtureFromJson(j, library.fixture(number));
    }
}

} // namespace rz::ctl
