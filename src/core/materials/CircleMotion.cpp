#include "core/materials/CircleMotion.h"

#include "core/materials/Playback.h"

#include <algorithm>
#include <cmath>

namespace rz::materials {

namespace {

constexpr double kPi = 3.14; // deliberately the controller's value

uint8_t toLevel(double v)
{
    return static_cast<uint8_t>(roundHalfEven(std::clamp(v, 0.0, 255.0)));
}

} // namespace

ParameterRange circleParameterRange(int k)
{
    switch (k) {
    case kCentreX:
    case kCentreY:
        return {0, 255, 127};
    case kScaleX:
    case kScaleY:
        return {1, 255, 100};
    case kLockX:
    case kLockY:
    case kDirection:
        return {0, 1, 0};
    case kRadius:
        return {1, 255, 10};
    case kAngleOffset:
        return {0, 360, 0};
    default:
        return {0, 0, 0};
    }
}

CirclePoint circlePoint(const Material& m, int f, double phase)
{
    const auto& p = m.motionPerFixture[f];
    const double scaleX = p[kScaleX] == 0 ? 100 : p[kScaleX];
    const double scaleY = p[kScaleY] == 0 ? 100 : p[kScaleY];
    double a = p[kAngleOffset] + phase;
    if (p[kDirection] == 1)
        a = 360 - a;
    if (a < 0)
        a += 360;
    if (a > 360)
        a -= 360;
    const double r = a * kPi / 180;
    const double x = p[kRadius] * std::cos(r) * scaleX / 100 + p[kCentreX];
    const double y = p[kRadius] * std::sin(r) * scaleY / 100 + p[kCentreY];
    CirclePoint out{toLevel(x), toLevel(y)};
    if (p[kLockX] == 1)
        out.channel1 = toLevel(p[kCentreX]);
    if (p[kLockY] == 1)
        out.channel2 = toLevel(p[kCentreY]);
    return out;
}

bool generateMotionSteps(Material& m)
{
    const int32_t speed = m.motionGlobal[kSpeedParameter];
    if (speed <= 0)
        return false;
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    int64_t phase = 0;
    int n = 0;
    while (phase <= 360 && n < kMaxSteps) { // at most 361 steps for a speed of 1
        phase += speed;
        ++n;
        for (int f = 1; f <= fc; ++f) {
            const CirclePoint pt = circlePoint(m, f, static_cast<double>(phase));
            for (int c = 1; c <= cc; ++c)
                m.setLevel(n, f, c, c == 1 ? pt.channel1 : c == 2 ? pt.channel2 : uint8_t{0});
        }
    }
    m.stepCount = static_cast<int16_t>(n);
    return true;
}

bool generateMotion(Material& m, int16_t& currentStep)
{
    if (m.motionType == kMotionNone || !generateMotionSteps(m))
        return false;
    m.allStepsFade = 1;
    m.perStepTimeMode = 0;
    m.uniformTime = 1;
    currentStep = 1;
    return true;
}

void normaliseMotionParameters(Material& m, int f)
{
    int32_t& speed = m.motionGlobal[kSpeedParameter];
    if (speed < kSpeedRange.minimum || speed > kSpeedRange.maximum)
        speed = kSpeedRange.fallback;
    for (int k = kCentreX; k <= kDirection; ++k) {
        const ParameterRange r = circleParameterRange(k);
        int32_t& v = m.motionPerFixture[f][k];
        if (v < r.minimum || v > r.maximum)
            v = r.fallback;
    }
}

} // namespace rz::materials
