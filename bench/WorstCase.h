#pragma once
// The worst case the benchmarks share: every library fixture with 32 channels, and a material
// of 20 virtual fixtures x 32 channels patched to all 100 library fixtures, two fading steps.
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/Material.h"

#include <cstdint>

namespace rz::bench {

inline void fillWorstLibrary(fixtures::FixtureLibrary& library)
{
    for (int r = 1; r <= fixtures::kFixtureCount; ++r) {
        fixtures::Fixture& fx = library.fixture(r);
        fx.startAddress = static_cast<int16_t>(1 + (r - 1) * 5);
        fx.channelCount = 32;
        for (int c = 1; c <= 32; ++c)
            fx.channelCode[c] = static_cast<uint8_t>(c);
    }
}

// `number` varies the first step's levels from material to material.
inline void fillWorstMaterial(materials::Material& m, int number = 0)
{
    m.fixtureCount = 20;
    m.channelCount = 32;
    m.stepCount = 2;
    m.uniformTime = 10;
    m.allStepsFade = 1;
    m.brightnessReduction = 25;
    for (int c = 1; c <= 32; ++c)
        m.channelCodes[c] = static_cast<uint8_t>(c);
    for (int f = 1; f <= 20; ++f)
        for (int r = 1; r <= 100; ++r)
            m.patch[f][r] = 1;
    for (int i = 1; i <= 2; ++i)
        for (int f = 1; f <= 20; ++f)
            for (int c = 1; c <= 32; ++c)
                m.setLevel(i, f, c, static_cast<uint8_t>(i == 1 ? f * 7 + c + number : 255 - c * 3));
}

} // namespace rz::bench
