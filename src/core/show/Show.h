#pragma once
// One show: every table the pages edit, owned in one place. Pages receive references to the
// members; nothing else holds show data. A show is large (the material store alone holds 240
// materials), so it is neither copied nor moved as a whole.
#include "core/app/Notifier.h"
#include "core/effects/EffectTable.h"
#include "core/fixtures/ChannelDefinitions.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/fixtures/MotionSection.h"
#include "core/lightcontrol/LightControlSettings.h"
#include "core/materials/MaterialStore.h"
#include "core/scenes/SceneTable.h"

#include <cstdint>

namespace rz::show {

struct Show {
    Show() = default;
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    fixtures::FixtureLibrary library;
    fixtures::ChannelDefinitions channelDefinitions;
    fixtures::FixtureGroups fixtureGroups;   // kept in their own file, not in the show file
    materials::MaterialStore materials;      // the current effect's materials only
    effects::EffectTable effects;
    scenes::SceneTable scenes;
    lightcontrol::LightControlSettings lightControl;
    uint8_t motionThreshold = fixtures::kDefaultMotionThreshold;

    // Where the scene, effect and material pages are working.
    materials::EditingContext editing;  // current effect, module, slot, step
    effects::BarPosition barPosition;   // bar index 1..32 and beat of the current effect
    int currentScene = 1;               // 1..50

    // A whole show was read in (start-up, open, new): every page shows it anew.
    Notifier<> replaced;
};

} // namespace rz::show
