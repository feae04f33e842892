#pragma once
// Each table of a show as JSON and back. Member names are the model's field names; numbers
// are the values as stored; texts are UTF-8. Arrays numbered 1..n in the model are JSON
// arrays of n elements, element 1 first. Readers refuse anything the table cannot hold, with
// the JSON path of the value, and fill their target only through the model's own fields.
#include "ctl/JsonInput.h"
#include "core/effects/EffectTable.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/lightcontrol/LightControlSettings.h"
#include "core/materials/Material.h"
#include "core/materials/MaterialStore.h"
#include "core/scenes/SceneTable.h"

#include <nlohmann/json.hpp>

namespace rz::ctl {

nlohmann::json lightControlToJson(const lightcontrol::LightControlSettings& s);
void lightControlFromJson(const JsonInput& in, lightcontrol::LightControlSettings& s);

nlohmann::json scenesToJson(const scenes::SceneTable& t);
void scenesFromJson(const JsonInput& in, scenes::SceneTable& t);

nlohmann::json fixtureToJson(const fixtures::Fixture& f);
void fixtureFromJson(const JsonInput& in, fixtures::Fixture& f);
// The fixtures that hold anything, each with its "number".
nlohmann::json libraryToJson(const fixtures::FixtureLibrary& library);
// Fixtures not listed stay as they are (callers start from an empty library).
void libraryFromJson(const JsonInput& in, fixtures::FixtureLibrary& library);

// Every field of the effect except its materials.
nlohmann::json effectToJson(const effects::Effect& e);
void effectFromJson(const JsonInput& in, effects::Effect& e);
nlohmann::json effectModuleToJson(const effects::EffectModule& m);
void effectModuleFromJson(const JsonInput& in, effects::EffectModule& m);

nlohmann::json materialToJson(const materials::Material& m);
// Into a material that has never been written (a fresh or cleared one).
void materialFromJson(const JsonInput& in, materials::Material& m);
// The valid materials of the store, each with its "module" and "slot"; `onlyModule` limits
// the list to one module.
nlohmann::json storeToJson(const materials::MaterialStore& store, int onlyModule = 0);
// Into a cleared store; `onlyModule`, when given, is where every listed material must be.
void storeFromJson(const JsonInput& in, materials::MaterialStore& store, int onlyModule = 0);

} // namespace rz::ctl
