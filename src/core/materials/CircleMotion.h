#pragma once
// The circle motion of the XY motion generator: channel 1 (X) and channel 2 (Y) of each
// virtual fixture move on a circle, parameterised per fixture.
#include "core/materials/Material.h"

#include <cstdint>

namespace rz::materials {

// Per-fixture parameters k of `motionPerFixture`[f][k].
enum CircleParameter : int {
    kCentreX = 1,
    kScaleX = 2,
    kLockX = 3,
    kCentreY = 4,
    kScaleY = 5,
    kLockY = 6,
    kRadius = 7,
    kAngleOffset = 8,
    kDirection = 9,
};
inline constexpr int kSpeedParameter = 1; // motionGlobal[1]: degrees per tick

struct ParameterRange {
    int32_t minimum, maximum, fallback;
};
// The range and default of per-fixture parameter k (1..9), and of the speed.
ParameterRange circleParameterRange(int k);
inline constexpr ParameterRange kSpeedRange{1, 255, 10};

struct CirclePoint {
    uint8_t channel1 = 0; // X, or the centre X when X is locked
    uint8_t channel2 = 0; // Y, or the centre Y when Y is locked
};

// Where virtual fixture f stands at `phase` degrees. The angle uses 3.14 for pi, as the
// controller does, so generated steps match what it plays.
CirclePoint circlePoint(const Material& m, int f, double phase);

// Replaces steps 1..n by one turn of the circle at the material's speed: phases v, 2v, ...
// up to the first multiple above 360 (speed 10 gives 37 steps). Channels 3 and above become 0;
// step times and fades stay. A speed of 0 or less would never end the turn: refused, false.
bool generateMotionSteps(Material& m);

// The editor's "生成动作": the steps above, then every step fades into the next and lasts
// one tick. Only for a material with a motion; `currentStep` becomes 1.
bool generateMotion(Material& m, int16_t& currentStep);

// What showing the motion panel does to stored values: the speed and fixture f's parameters
// 1..9 outside their ranges are replaced by their defaults.
void normaliseMotionParameters(Material& m, int f);

} // namespace rz::materials
