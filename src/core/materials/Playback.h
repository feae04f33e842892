#pragma once
// Playing a material in time: the levels of a step with the material's brightness, and one
// 100-ms tick of the step engine with fades and step-jump intervals.
#include "core/materials/Material.h"

#include <array>
#include <cstdint>

namespace rz::materials {

// Levels of one tick, [fixture 1..20][channel 1..32]; entries outside the used area are 0.
struct StepLevels {
    std::array<std::array<uint8_t, kMaxChannels + 1>, kMaxVirtualFixtures + 1> v{};
    uint8_t at(int f, int c) const { return v[f][c]; }
    uint8_t& at(int f, int c) { return v[f][c]; }
    bool operator==(const StepLevels&) const = default;
};

// Where a material is in its playback; zero = not started.
struct PlaybackState {
    int32_t playStep = 0;
    int32_t playTick = 0; // tick within the step, from 1
};

// round-half-to-even(x), as the controller rounds its levels.
int32_t roundHalfEven(double x);

// Levels of `step` with the brightness applied; all 0 when the material has no steps.
StepLevels stepLevels(const Material& m, int step);

// Advances the playback by one tick and returns the levels to show for it (those of the tick
// before the advance). `jumpActive` is true during the one tick a jump request is active.
// `stepDuration` receives the duration of the step that was played.
//
// A fading step of duration 0 (or less) lasts one tick and shows the next step's levels, as
// a fade always ends there on its last tick.
StepLevels playMaterialTick(const Material& m, PlaybackState& state, bool jumpActive,
                            int32_t& stepDuration);

} // namespace rz::materials
